#include "app/LinkRequests.h"

namespace orvanta {

using Kind = platform::InstanceRequest::Kind;
using Registration = DialRequestTarget::Registration;

LinkRequests::LinkRequests(DialRequestTarget& target, QObject* parent)
        : QObject(parent), target_(target)
{
}

bool LinkRequests::take(const platform::InstanceRequest& request)
{
    QMetaObject::invokeMethod(
        this, [this, request] { run(request); }, Qt::QueuedConnection);
    return true;
}

void LinkRequests::run(const platform::InstanceRequest& request)
{
    const Registration registration = target_.registration();
    switch (request.kind) {
    case Kind::Show:
        target_.raiseWindow();
        return;
    case Kind::Dial:
        target_.raiseWindow();
        if (registration == Registration::Registered) {
            waitingDial_.reset();
            target_.dial(request.number);
        } else if (registration == Registration::Pending) {
            waitingDial_ = request.number;
        } else {
            target_.tellNotRegistered();
        }
        return;
    case Kind::Answer:
        // Without registration there is no call to answer or end.
        if (registration == Registration::Registered) {
            target_.answer();
        }
        return;
    case Kind::HangUp:
        if (registration == Registration::Registered) {
            target_.hangUp();
        }
        return;
    }
}

void LinkRequests::registrationChanged()
{
    if (!waitingDial_) {
        return;
    }
    switch (target_.registration()) {
    case Registration::Pending:
        return;
    case Registration::Registered: {
        const QString number = *waitingDial_;
        waitingDial_.reset();
        target_.dial(number);
        return;
    }
    case Registration::Failed:
        waitingDial_.reset();
        target_.tellNotRegistered();
        return;
    }
}

}
