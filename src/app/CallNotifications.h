#pragma once

#include "platform/DesktopNotifications.h"

#include <QObject>
#include <map>

namespace orvanta {

class DialerCore;

// The desktop's notifications of the calls and messages: an offered call
// (with Answer and Decline, taken back once it is answered or over), a
// missed call and a received message. The user's choice acts on the call
// it was shown for.
class CallNotifications : public QObject {
    Q_OBJECT

public:
    CallNotifications(DialerCore& core, platform::DesktopNotifier& notifier,
                      QObject* parent = nullptr);

signals:
    // The notification itself was clicked.
    void openWanted();

private:
    void onIncoming(int callId, const QString& callerUri);
    void onCallState(int callId, int state);
    void onAction(int handle, platform::DesktopNotifier::Action action);

    DialerCore& core_;
    platform::DesktopNotifier& notifier_;
    std::map<int, int> offers_;  // call id → handle of its notification
};

}
