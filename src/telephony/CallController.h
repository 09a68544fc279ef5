#pragma once

#include "telephony/CallContext.h"
#include "telephony/CallFeatures.h"
#include "telephony/CallStateMachine.h"
#include "telephony/InternetWatch.h"
#include "telephony/LineSelector.h"
#include "telephony/NumberEntry.h"

#include <QObject>

namespace orvanta {

class EngineEvents;

struct CallPorts {
    CallView& view;
    CallSounds& sounds;
    CallTimers& timers;
    CallLogSink& callLog;
    BalanceQuery& balance;
    MicrophoneProbe* microphone = nullptr;
};

// The call handling behind the main window, assembled: the window renders
// what the ports are told and forwards its clicks and keys here.
class CallController {
public:
    enum class QuitCheck {
        Ignore,   // a message box is open
        Refused,  // the selected line is in use; the refusal was shown
        Confirm,  // ask the user
    };

    CallController(Engine& engine, const CallPorts& ports, CallFeatures::Clock clock = {});

    // Engine events reach the state machine through the bridge's queued signals.
    void attach(EngineEvents& events);
    // The account calls are placed on, and the user the status line names.
    void useAccount(int accountHandle, const QString& registrarHost, const QString& userName);

    PhoneState& state() { return state_; }
    const PhoneState& state() const { return state_; }
    LineSelector& lines() { return selector_; }
    CallStateMachine& calls() { return machine_; }
    CallFeatures& features() { return features_; }
    NumberEntry& entry() { return entry_; }
    InternetWatch& internet() { return internet_; }

    bool selectedLineInUse() const { return machine_.selectedLineInUse(); }
    QuitCheck checkQuit();

private:
    PhoneState state_;
    CallContext context_;
    LineSelector selector_;
    CallFeatures features_;
    CallStateMachine machine_;
    NumberEntry entry_;
    InternetWatch internet_;
    QObject receiver_;
};

}
