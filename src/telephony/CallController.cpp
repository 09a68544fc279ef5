#include "telephony/CallController.h"

#include "telephony/EngineEvents.h"

namespace orvanta {

namespace {

// Without a loaded engine every call request is refused instead of calling
// through a null pointer.
EngineApi refusingMissingCalls(EngineApi api)
{
    if (!api.makeCall)
        api.makeCall = [](int, const char*) { return -1; };
    if (!api.answerCall)
        api.answerCall = [](int, int) { return -1; };
    if (!api.releaseCall)
        api.releaseCall = [](int) { return -1; };
    if (!api.holdCall)
        api.holdCall = [](int) { return -1; };
    if (!api.retrieveCall)
        api.retrieveCall = [](int) { return -1; };
    if (!api.xferCall)
        api.xferCall = [](int, const char*) { return -1; };
    if (!api.callConference)
        api.callConference = [](int) { return -1; };
    if (!api.dialDtmf)
        api.dialDtmf = [](int, const char*, int) { return -1; };
    if (!api.callRecordingStart)
        api.callRecordingStart = [](int, const char*) { return -1; };
    if (!api.callRecordingStop)
        api.callRecordingStop = [] { return -1; };
    return api;
}

}

void CallController::setEngine(const EngineApi& engine)
{
    engine_ = refusingMissingCalls(engine);
}

CallController::CallController(const EngineApi& engine, const CallPorts& ports,
                               CallFeatures::Clock clock)
        : engine_(refusingMissingCalls(engine)), context_{state_,       engine_,      ports.view,
                                                          ports.sounds, ports.timers, ports.callLog,
                                                          ports.balance},
          selector_(context_), features_(context_, selector_, std::move(clock)),
          machine_(context_, selector_, features_),
          entry_(context_, selector_, machine_, features_, ports.microphone),
          internet_(context_, machine_)
{
    selector_.setCallButtonAction([this] { entry_.MakeCall(); });
}

void CallController::attach(EngineEvents& events)
{
    QObject::connect(&events, &EngineEvents::callState, &receiver_,
                     [this](int callId, int state) { machine_.OnCallState(callId, state); });
    QObject::connect(
        &events, &EngineEvents::incomingCall, &receiver_,
        [this](int callId, const QString& caller) { machine_.OnIncomingCall(callId, caller); });
}

CallController::QuitCheck CallController::checkQuit()
{
    if (state_.messageBoxOpen) {
        return QuitCheck::Ignore;
    }
    if (state_.callsAllowed && selectedLineInUse()) {
        context_.showGuardedMessage(texts::disconnectFirst);
        return QuitCheck::Refused;
    }
    return QuitCheck::Confirm;
}

}
