#include "telephony/CallStateMachine.h"

#include <exception>

namespace orvanta {

QString durationText(int seconds)
{
    return QString::asprintf("%.2d:%.2d:%.2d", seconds / 3600, seconds % 3600 / 60, seconds % 60);
}

QString callerNumber(const QString& callerUri)
{
    QString uri = callerUri.left(CallStateMachine::kMaxCallerUri);
    // A display name may come first: "Name" <sip:user@host>
    const qsizetype open = uri.indexOf(QLatin1Char('<'));
    if (open >= 0) {
        const qsizetype close = uri.indexOf(QLatin1Char('>'), open + 1);
        uri = uri.mid(open + 1, close < 0 ? -1 : close - open - 1);
    }
    const qsizetype colon = uri.indexOf(QLatin1Char(':'));
    const qsizetype start = colon < 0 ? 0 : colon + 1;
    const qsizetype at = uri.indexOf(QLatin1Char('@'), start);
    const QString number = uri.mid(start, at < 0 ? -1 : at - start);
    return number.left(CallStateMachine::kMaxCallerNumber);
}

CallStateMachine::CallStateMachine(CallContext& context, LineSelector& selector,
                                   CallFeatures& features)
        : c_(context), selector_(selector), features_(features)
{
    for (LineState& line : c_.state.lines) {
        line.lineStatus = texts::readyToCall;
    }
}

void CallStateMachine::ResetLines()
{
    for (int i = 0; i < PhoneState::kCallLines; ++i) {
        stopTimer(i);
        c_.state.line(i) = LineState{};
        c_.state.line(i).lineStatus = texts::readyToCall;
        selector_.ShowLine(i);
    }
    c_.state.currentLine = 0;
    selector_.markLine(0);
    c_.state.callsAllowed = false;
    c_.state.autoAnswer = false;
    c_.state.doNotDisturb = false;
    c_.state.conferenceActive = false;
    c_.state.transferMode = false;
    c_.view.setToggle(Toggle::AutoAnswer, false);
    c_.view.setToggle(Toggle::DoNotDisturb, false);
    c_.view.setToggle(Toggle::Conference, false);
    c_.view.setToggle(Toggle::Transfer, false);
    c_.view.setBannerVisible(false);
}

void CallStateMachine::SessionReady(const QString& userName)
{
    c_.state.userName = userName;
    c_.state.readyShown = true;
    c_.view.setBannerVisible(true);
    c_.view.setStatusLine(texts::readyPrefix + userName);
    c_.state.callsAllowed = true;
}

bool CallStateMachine::isSelectedCall(int callId) const
{
    return callId != -1 && callId == c_.state.selected().callId;
}

bool CallStateMachine::isTransferLeg(int callId) const
{
    return callId != -1 && callId == c_.state.selected().transferCallId;
}

int CallStateMachine::OnCallState(int callId, int state)
{
    try {
        switch (state) {
        case ORVANTA_CALL_CALLING:
            onCalling(callId);
            break;
        case ORVANTA_CALL_RINGING:
            onRinging(callId);
            break;
        case ORVANTA_CALL_ANSWERING:
            onAnswering(callId);
            break;
        case ORVANTA_CALL_CONNECTED:
            onConnected(callId);
            break;
        case ORVANTA_CALL_DISCONNECTED:
            onDisconnected(callId);
            break;
        default:  // ORVANTA_CALL_INCOMING comes through OnIncomingCall
            break;
        }
    } catch (const std::exception&) {
        c_.view.showMessage(texts::handlerError);
        return 0;
    }
    return 1;
}

void CallStateMachine::onCalling(int callId)
{
    LineState& l = c_.state.selected();
    if (l.busy() && callId != l.callId) {
        l.transferCallId = callId;
        l.transferText = texts::transferLeg;
        c_.view.setBanner(l.transferText);
    }
    if (!l.busy()) {
        l.callId = callId;
    }
    if (callId == l.callId) {
        l.phase = LinePhase::Calling;
        l.origin = CallOrigin::Placed;
        c_.state.hangUpPressed = false;
        c_.setSelectedStatus(texts::calling);
        c_.view.setHangUpEnabled(true);
    }
}

void CallStateMachine::onRinging(int callId)
{
    if (isTransferLeg(callId)) {
        return;
    }
    if (isSelectedCall(callId)) {
        c_.state.selected().phase = LinePhase::Ringing;
        c_.setSelectedStatus(texts::ringing);
    } else if (const int n = c_.state.lineOfCall(callId); n >= 0) {
        c_.state.line(n).phase = LinePhase::Ringing;
        c_.state.line(n).lineStatus = texts::ringing;
    }
}

void CallStateMachine::onAnswering(int callId)
{
    LineState& l = c_.state.selected();
    if (isTransferLeg(callId)) {
        // The transfer target took the call: our own leg is done.
        c_.engine.releaseCall(l.callId);
    } else if (isSelectedCall(callId)) {
        l.phase = LinePhase::Answering;
        c_.setSelectedStatus(texts::answer);
    } else if (const int n = c_.state.lineOfCall(callId); n >= 0) {
        c_.state.line(n).phase = LinePhase::Answering;
        c_.state.line(n).lineStatus = texts::answer;
    }
}

void CallStateMachine::onConnected(int callId)
{
    if (isTransferLeg(callId)) {
        LineState& l = c_.state.selected();
        l.callId = l.transferCallId;
        l.transferCallId = -1;
        c_.setSelectedStatus(texts::connected);
        c_.state.wasConnected = true;
        l.transferText = texts::transferSucceeded;
        c_.view.setBanner(l.transferText);
        l.transferring = false;
        features_.ToggleTransfer();
        return;
    }
    const int n = isSelectedCall(callId) ? c_.state.currentLine : c_.state.lineOfCall(callId);
    if (n < 0) {
        return;
    }
    LineState& l = c_.state.line(n);
    const bool placedHere = l.outgoing();
    l.phase = LinePhase::Connected;
    c_.state.wasConnected = true;
    if (n == c_.state.currentLine) {
        c_.setSelectedStatus(texts::connected);
    } else {
        l.lineStatus = texts::connected;
    }
    startTimer(n);
    c_.sounds.stop();
    selector_.ShowLine(n);
    // A call placed on a line the user has since left waits on hold.
    if (n != c_.state.currentLine && placedHere) {
        selector_.holdLine(n);
    }
    c_.view.setFlashing(false);
}

void CallStateMachine::onDisconnected(int callId)
{
    LineState& l = c_.state.selected();
    if (isTransferLeg(callId)) {
        l.transferText = texts::transferFailed;
        c_.view.setBanner(l.transferText);
        l.transferCallId = -1;
        l.transferring = false;
        features_.ToggleTransfer();
    } else if (isSelectedCall(callId) && l.transferCallId != -1) {
        c_.view.setBanner(texts::transferLeg);
        l.callId = l.transferCallId;
        l.transferCallId = -1;
    } else if (isSelectedCall(callId)) {
        disconnectSelected();
    } else if (const int n = c_.state.lineOfCall(callId); n >= 0) {
        disconnectOther(n);
    }
    finishDisconnect();
}

void CallStateMachine::disconnectSelected()
{
    const int n = c_.state.currentLine;
    LineState& l = c_.state.selected();
    if (c_.state.doNotDisturb && l.incoming()) {
        c_.view.setStatusLine(texts::missedCall);
    } else {
        if (!c_.state.internetLost) {
            c_.view.setStatusLine(texts::disconnected);
        }
        c_.view.setCallTooltip(texts::redial);
        stopTimer(n);
        c_.view.setCallTimerText({});
        c_.view.setHangUpEnabled(false);
        c_.timers.runLater(kBalanceDelayMs, [this, alive = std::weak_ptr<bool>(alive_)] {
            if (alive.expired()) {
                return;
            }
            refreshBalanceIfConnected();
            // A call placed in the meantime keeps its own status.
            if (!c_.state.internetLost && !c_.state.selected().inUse()) {
                c_.view.setStatusLine(texts::readyPrefix + c_.state.userName);
            }
        });
    }

    l.lineStatus = texts::readyToCall;
    c_.setNumber({});
    c_.view.setContactName({});
    l.transferText.clear();
    l.rateText.clear();
    c_.view.setRateText({});
    c_.sounds.stop();
    c_.view.setFlashing(false);

    logCall(l);
    clearLine(n);
    selector_.ShowLine(n);
    features_.ToggleTransfer();

    if (l.transferring) {
        c_.view.setBanner(texts::callTransferred);
        l.transferring = false;
    }
    c_.state.hangUpPressed = false;
    if (l.inConference) {
        features_.memberCallEnded(n);
    }
}

// A line the user is not looking at: it is freed and logged all the same,
// without touching what the selected line shows.
void CallStateMachine::disconnectOther(int n)
{
    LineState& l = c_.state.line(n);
    const bool member = l.inConference;
    l.lineStatus = texts::readyToCall;
    l.transferText.clear();
    l.rateText.clear();
    l.transferring = false;
    logCall(l);
    clearLine(n);
    if (member) {
        features_.leaveConference(n);
        if (c_.state.selected().inConference) {
            c_.view.setStatusLine(c_.state.conferenceText);
        }
    }
    selector_.ShowLine(n);
    c_.timers.runLater(kBalanceDelayMs, [this, alive = std::weak_ptr<bool>(alive_)] {
        if (!alive.expired()) {
            refreshBalanceIfConnected();
        }
    });
}

void CallStateMachine::finishDisconnect()
{
    bool offered = false;
    for (int i = 0; i < PhoneState::kCallLines; ++i) {
        offered = offered || c_.state.line(i).incoming();
    }
    if (!offered) {
        c_.view.setFlashing(false);
    }
    features_.stopRecordingIfIdle();
    features_.endConferenceIfAlone();
}

void CallStateMachine::refreshBalanceIfConnected()
{
    if (c_.state.wasConnected) {
        c_.balance.QueryBalance();
        c_.state.wasConnected = false;
    }
}

void CallStateMachine::logCall(const LineState& l)
{
    if (!l.busy()) {
        return;  // already freed, as after a lost connection
    }
    const bool received = l.origin == CallOrigin::Received;
    const QString& number = received ? l.remoteNumber : l.dialledNumber;
    if (l.connected()) {
        c_.callLog.AddCallLogEntry(number, l.durationText, received ? 'R' : 'D');
    } else {
        c_.callLog.AddCallLogEntry(number, {}, received ? 'M' : 'D');
    }
}

void CallStateMachine::clearLine(int n)
{
    stopTimer(n);
    c_.state.line(n).clearCall();
}

void CallStateMachine::startTimer(int n)
{
    stopTimer(n);
    c_.timers.startLineTimer(n);
    c_.state.line(n).timerId = 4000 + n;
}

void CallStateMachine::stopTimer(int n)
{
    LineState& l = c_.state.line(n);
    if (l.timerId != 0) {
        c_.timers.stopLineTimer(n);
        l.timerId = 0;
    }
}

void CallStateMachine::tickLine(int n)
{
    if (n < 0 || n >= PhoneState::kCallLines) {
        return;
    }
    LineState& l = c_.state.line(n);
    const QString text = durationText(l.elapsedSeconds);
    if (n == c_.state.currentLine && l.connected()) {
        c_.view.setCallTimerText(text);
    }
    l.durationText = text;
    ++l.elapsedSeconds;
    countDownRemainingTime();
}

void CallStateMachine::setRemainingTime(std::optional<int> seconds)
{
    c_.state.remainingSeconds = seconds;
    c_.view.setRemainingTime(seconds ? durationText(*seconds) : QString());
}

void CallStateMachine::countDownRemainingTime()
{
    std::optional<int>& left = c_.state.remainingSeconds;
    if (left && *left > 0) {
        setRemainingTime(*left - 1);
    }
}

int CallStateMachine::firstFreeLine() const
{
    for (int i = 0; i < PhoneState::kCallLines; ++i) {
        if (!c_.state.line(i).busy()) {
            return i;
        }
    }
    return -1;
}

int CallStateMachine::OnIncomingCall(int callId, const QString& callerUri)
{
    const LineState& l = c_.state.selected();
    const int n = firstFreeLine();
    if (l.incoming() || l.outgoing() || l.connected() || n < 0) {
        c_.engine.releaseCall(callId);
        return 1;
    }
    c_.state.lastCaller = callerUri.left(kMaxCallerUri);
    c_.state.line(n).remoteNumber = callerNumber(callerUri);
    placeIncoming(callId, n);

    if (c_.state.doNotDisturb) {
        c_.engine.releaseCall(callId);
    } else if (c_.state.autoAnswer) {
        // The call button answers the selected line; a call that landed on
        // another line is answered by selecting that line.
        if (n == c_.state.currentLine) {
            selector_.pressCallButton();
        } else {
            selector_.SelectLine(n);
        }
    } else {
        c_.view.setHangUpEnabled(true);
    }
    return 1;
}

void CallStateMachine::placeIncoming(int callId, int n)
{
    LineState& l = c_.state.line(n);
    l.callId = callId;
    l.phase = LinePhase::Offered;
    l.origin = CallOrigin::Received;
    if (n == c_.state.currentLine) {
        c_.state.hangUpPressed = false;
        c_.setNumber(l.remoteNumber);
        c_.setSelectedStatus(texts::incoming);
        c_.sounds.playRingLoop();
    } else {
        l.lineStatus = texts::incoming;
    }
    selector_.ShowLine(n);
    c_.view.setFlashing(true);
}

void CallStateMachine::EndCall()
{
    c_.state.hangUpPressed = true;
    c_.view.setHangUpEnabled(false);
    const LineState& l = c_.state.selected();
    if (l.inConference) {
        for (int i = 0; i < PhoneState::kCallLines; ++i) {
            const LineState& member = c_.state.line(i);
            if (member.inConference && member.callId != -1) {
                c_.engine.releaseCall(member.callId);
            }
        }
    } else {
        c_.setNumber({});
        c_.view.setContactName({});
        c_.view.setCallTooltip(texts::redial);
        c_.view.setRateText({});
    }
    // The line itself is cleared when the engine reports the end.
    if (l.busy() && l.callId != -1) {
        if (!l.inConference) {
            c_.engine.releaseCall(l.callId);
        }
        c_.sounds.stop();
        c_.view.setFlashing(false);
        if (l.transferCallId != -1) {
            c_.engine.releaseCall(l.transferCallId);
        }
    }
}

}
