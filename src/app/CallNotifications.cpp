#include "app/CallNotifications.h"

#include "app/DialerCore.h"

#include <orvanta/engine.h>

namespace orvanta {

CallNotifications::CallNotifications(DialerCore& core, platform::DesktopNotifier& notifier,
                                     QObject* parent)
        : QObject(parent), core_(core), notifier_(notifier)
{
    // Queued: the call handling has taken the offer (or turned it away) first.
    connect(&core_.events(), &EngineEvents::incomingCall, this, &CallNotifications::onIncoming,
            Qt::QueuedConnection);
    connect(&core_.events(), &EngineEvents::callState, this, &CallNotifications::onCallState,
            Qt::QueuedConnection);
    connect(&notifier_, &platform::DesktopNotifier::actionChosen, this,
            &CallNotifications::onAction);
    connect(&core_.callLog(), &CallLog::recordAdded, this,
            [this](CallKind kind, const CallLogEntry& entry) {
                if (kind == CallKind::Missed) {
                    const QString& who = entry.name.isEmpty() ? entry.number : entry.name;
                    notifier_.notify({platform::Notification::Kind::MissedCall,
                                      QStringLiteral("Missed Call"), who});
                }
            });
    connect(&core_.events(), &EngineEvents::messageReceived, this,
            [this](const QString& sender, const QString& text) {
                notifier_.notify({platform::Notification::Kind::Message,
                                  QStringLiteral("Message from ") + callerNumber(sender), text});
            });
}

void CallNotifications::onIncoming(int callId, const QString& callerUri)
{
    const PhoneState& phone = core_.calls().state();
    const int line = phone.lineOfCall(callId);
    // Answered at once (auto answer) or turned away: nothing to offer.
    if (line < 0 || !phone.line(line).incoming() || offers_.count(callId)) {
        return;
    }
    offers_[callId] = notifier_.notify({platform::Notification::Kind::IncomingCall,
                                        QStringLiteral("Incoming call"), callerNumber(callerUri)});
}

void CallNotifications::onCallState(int callId, int state)
{
    const auto offer = offers_.find(callId);
    if (offer == offers_.end() ||
        (state != ORVANTA_CALL_ANSWERING && state != ORVANTA_CALL_CONNECTED &&
         state != ORVANTA_CALL_DISCONNECTED)) {
        return;
    }
    notifier_.withdraw(offer->second);
    offers_.erase(offer);
}

void CallNotifications::onAction(int handle, platform::DesktopNotifier::Action action)
{
    if (action == platform::DesktopNotifier::Action::Open) {
        emit openWanted();
        return;
    }
    for (const auto& [callId, shown] : offers_) {
        if (shown != handle) {
            continue;
        }
        const int line = core_.calls().state().lineOfCall(callId);
        if (line >= 0 && core_.calls().state().line(line).incoming()) {
            if (action == platform::DesktopNotifier::Action::Answer) {
                core_.answerLine(line);
            } else {
                core_.engine().releaseCall(callId);
            }
        }
        return;
    }
}

}
