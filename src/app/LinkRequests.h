#pragma once

#include "platform/InstanceChannel.h"

#include <QObject>
#include <QString>
#include <optional>

namespace orvanta {

// What the dialer's core does for requests that come from outside the
// window: a link clicked in a browser, a second start of the program.
class DialRequestTarget {
public:
    enum class Registration { Pending, Registered, Failed };

    virtual ~DialRequestTarget() = default;
    virtual Registration registration() const = 0;
    // Shows the main window (also from the tray) and brings it to the front.
    virtual void raiseWindow() = 0;
    // Dials the number as the call button dials the entered number.
    virtual void dial(const QString& number) = 0;
    // Answers the call that is offered, if any.
    virtual void answer() = 0;
    // Ends the selected line's call, if any.
    virtual void hangUp() = 0;
    // "You are not Registered"
    virtual void tellNotRegistered() = 0;
};

// Takes the requests of second starts and links. A dial raises the window
// and waits for registration when it is still pending; only the latest
// waiting dial is kept, so a burst of clicks places one call. Each request
// runs from the event loop after take() returned, so the second start has
// its answer before any message box of the call opens.
class LinkRequests : public QObject {
    Q_OBJECT

public:
    explicit LinkRequests(DialRequestTarget& target, QObject* parent = nullptr);

    // True when the request was taken.
    bool take(const platform::InstanceRequest& request);
    // The core calls this whenever its registration state changes.
    void registrationChanged();

private:
    void run(const platform::InstanceRequest& request);

    DialRequestTarget& target_;
    std::optional<QString> waitingDial_;
};

}
