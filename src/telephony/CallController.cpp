#include "telephony/CallController.h"

#include "telephony/EngineEvents.h"

namespace orvanta {

CallController::CallController(Engine& engine, const CallPorts& ports, CallFeatures::Clock clock)
        : context_{state_,       engine,        ports.view,   ports.sounds,
                   ports.timers, ports.callLog, ports.balance},
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

void CallController::useAccount(int accountHandle, const QString& registrarHost,
                                const QString& userName)
{
    state_.accountHandle = accountHandle;
    state_.registrarHost = registrarHost;
    state_.userName = userName;
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
