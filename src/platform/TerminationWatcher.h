#pragma once

#include <QObject>

class QSocketNotifier;

namespace orvanta::platform {

// Turns SIGTERM, SIGINT and SIGHUP (logout, kill, Ctrl-C) into a signal on
// the GUI thread, so the application can save its state and quit.
class TerminationWatcher : public QObject {
    Q_OBJECT

public:
    explicit TerminationWatcher(QObject* parent = nullptr);
    ~TerminationWatcher() override;

signals:
    void terminationRequested();

private:
    QSocketNotifier* notifier_ = nullptr;
};

}
