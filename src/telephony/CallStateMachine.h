#pragma once

#include "telephony/CallContext.h"
#include "telephony/CallFeatures.h"
#include "telephony/LineSelector.h"

#include <memory>

namespace orvanta {

// Moves the lines through the call states the engine reports, runs the
// call timers, ends calls and hands every finished call to the call log.
class CallStateMachine {
public:
    static constexpr int kBalanceDelayMs = 300;
    static constexpr int kMaxCallerUri = 256;
    static constexpr int kMaxCallerNumber = 64;

    CallStateMachine(CallContext& context, LineSelector& selector, CallFeatures& features);

    // Every line free, line 1 selected, calls refused until SessionReady.
    void ResetLines();
    // The window is open and registered: calls are allowed.
    void SessionReady(const QString& userName);

    // An engine call state (1-6). Incoming calls arrive through
    // OnIncomingCall, so a reported state 2 is not acted on again.
    int OnCallState(int callId, int state);
    int OnIncomingCall(int callId, const QString& callerUri);
    // The hang-up button.
    void EndCall();
    // One second of line n's call timer; it also counts the remaining
    // talk time down.
    void tickLine(int n);
    // Talk time left (nothing: unknown, the label stays empty).
    void setRemainingTime(std::optional<int> seconds);

    bool selectedLineInUse() const { return c_.state.selected().inUse(); }

private:
    void onCalling(int callId);
    void onRinging(int callId);
    void onAnswering(int callId);
    void onConnected(int callId);
    void onDisconnected(int callId);
    void placeIncoming(int callId, int n);
    void disconnectSelected();
    void disconnectOther(int n);
    void finishDisconnect();
    void logCall(const LineState& line);
    void clearLine(int n);
    void startTimer(int n);
    void stopTimer(int n);
    void refreshBalanceIfConnected();
    void countDownRemainingTime();
    bool isSelectedCall(int callId) const;
    bool isTransferLeg(int callId) const;
    int firstFreeLine() const;

    CallContext& c_;
    LineSelector& selector_;
    CallFeatures& features_;
    // Delayed actions hold a weak reference: they do nothing once this is gone.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// "%.2d:%.2d:%.2d" of hours, minutes and seconds: 60 gives "00:01:00".
QString durationText(int seconds);

// The user part of a caller's SIP URI: "sip:1001@host" gives "1001".
QString callerNumber(const QString& callerUri);

}
