#pragma once

#include "app/DialRequests.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

namespace orvanta {

class CZebSoftPhoneDlg;

// Carries out the requests of second starts and links on today's main
// window, which offers no core to receive them yet. It finds the window
// among the application's windows, follows its registration by looking
// (the window reports no change), and starts minimised for --minimized.
class MainWindowRequests : public QObject, public DialRequestTarget {
    Q_OBJECT

public:
    explicit MainWindowRequests(bool startMinimized, QObject* parent = nullptr);

    // Runs when the registration state seen changed.
    void setRegistrationObserver(std::function<void()> observer)
    {
        observer_ = std::move(observer);
    }

    Registration registration() const override;
    void raiseWindow() override;
    void dial(const QString& number) override;
    void answer() override;
    void hangUp() override;
    void tellNotRegistered() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CZebSoftPhoneDlg* window() const;
    void look();

    bool startMinimized_;
    std::function<void()> observer_;
    Registration seen_ = Registration::Pending;
    QTimer watch_;
};

}
