#pragma once

#include "orvanta/engine.h"

#include <atomic>
#include <string>

namespace orvanta::engine {

// The application's callbacks. Setters may run on any thread; the engine
// thread reads them each time it reports an event. A missing callback drops
// the event.
class Callbacks {
public:
    std::atomic<OrvantaRegStateCallback> registration{nullptr};
    std::atomic<OrvantaCallStateCallback> callState{nullptr};
    std::atomic<OrvantaCallIncomingCallback> incoming{nullptr};
    std::atomic<OrvantaDtmfDigitCallback> dtmf{nullptr};
    std::atomic<OrvantaCallHoldConfirmCallback> holdConfirm{nullptr};
    std::atomic<OrvantaMessageReceivedCallback> message{nullptr};

    void reportRegistration(int accountId, int sipCode) const
    {
        if (auto callback = registration.load())
            callback(accountId, sipCode);
    }
    void reportCallState(int callId, int state) const
    {
        if (auto callback = callState.load())
            callback(callId, state);
    }
    void reportIncoming(int callId, const std::string& callerUri) const
    {
        if (auto callback = incoming.load())
            callback(callId, callerUri.c_str());
    }
    void reportDtmf(int callId, int digit) const
    {
        if (auto callback = dtmf.load())
            callback(callId, digit);
    }
    void reportHoldConfirmed(int callId) const
    {
        if (auto callback = holdConfirm.load())
            callback(callId);
    }
    void reportMessage(const std::string& senderUri, const std::string& text) const
    {
        if (auto callback = message.load())
            callback(senderUri.c_str(), text.c_str());
    }
};

Callbacks& callbacks();

}
