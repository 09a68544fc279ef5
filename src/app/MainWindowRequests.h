#pragma once

#include "app/LinkRequests.h"

#include <QObject>
#include <functional>

namespace orvanta {

class DialerCore;
class DialerWindows;

// Carries out the requests of second starts and links through the core:
// dials and answers the way the call button does, follows the session's
// registration, and starts out of sight for --minimized.
class MainWindowRequests : public QObject, public DialRequestTarget {
    Q_OBJECT

public:
    MainWindowRequests(DialerCore& core, DialerWindows& windows, bool startMinimized,
                       QObject* parent = nullptr);

    // Runs whenever the session's registration changes.
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
    DialerCore& core_;
    DialerWindows& windows_;
    std::function<void()> observer_;
};

}
