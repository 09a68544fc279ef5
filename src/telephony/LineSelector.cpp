#include "telephony/LineSelector.h"

namespace orvanta {

void LineSelector::pressCallButton()
{
    if (callButton_) {
        callButton_();
    }
}

void LineSelector::markLine(int n)
{
    c_.state.markedLine = n;
    c_.view.setLineMarked(n);
}

void LineSelector::ShowLine(int n)
{
    const LineState& l = c_.state.line(n);
    if (l.inConference) {
        c_.view.setLineButton(n, l.held ? LineFace::ConferenceHeld : LineFace::Conference,
                              l.held ? QStringLiteral("Conferece on hold")
                                     : QStringLiteral("On Conference"));
    } else if (l.held) {
        c_.view.setLineButton(n, LineFace::Held, QStringLiteral("ON HOLD"));
    } else if (l.incoming()) {
        c_.view.setLineButton(n, LineFace::Incoming, QStringLiteral("INCOMING CALL"));
    } else {
        c_.view.setLineButton(n, LineFace::Normal, QStringLiteral("Line") + QString::number(n + 1));
    }
}

void LineSelector::holdLine(int n)
{
    LineState& l = c_.state.line(n);
    c_.engine.holdCall(l.callId);
    l.held = true;
    ShowLine(n);
}

void LineSelector::retrieveLine(int n)
{
    LineState& l = c_.state.line(n);
    c_.engine.retrieveCall(l.callId);
    l.held = false;
    ShowLine(n);
}

void LineSelector::showLineNumber(int n)
{
    const LineState& l = c_.state.line(n);
    if (l.origin == CallOrigin::Placed) {
        c_.setNumber(l.dialledNumber);
    } else if (l.origin == CallOrigin::Received) {
        c_.setNumber(l.remoteNumber);
    } else {
        c_.setNumber({});
    }
}

void LineSelector::redrawIncomingLines(int first)
{
    for (int i = first; i < PhoneState::kCallLines; ++i) {
        if (c_.state.line(i).incoming()) {
            ShowLine(i);
        }
    }
}

void LineSelector::SelectLine(int n)
{
    if (n < 0 || n >= PhoneState::kLineCount) {
        return;
    }
    if (n >= PhoneState::kCallLines) {
        selectHiddenLine(n);
        return;
    }
    markLine(n);
    c_.state.currentLine = n;
    LineState& l = c_.state.line(n);
    c_.view.setRateText(l.rateText);
    if (l.inConference) {
        selectConferenceMember(n);
        return;
    }

    c_.view.setCallTimerVisible(true);
    ShowLine(n);
    c_.view.setStatusLine(c_.state.callsAllowed ? l.lineStatus : texts::registering);
    // The hang-up button follows the line now selected.
    c_.view.setHangUpEnabled(l.inUse());
    c_.view.setBanner(l.transferText);
    c_.state.transferMode = false;
    c_.view.setToggle(Toggle::Transfer, false);
    c_.view.setCallTimerText(l.connected() ? l.durationText : QString());
    if (l.incoming()) {
        c_.sounds.playRingLoop();
    } else {
        c_.sounds.stop();
    }
    showLineNumber(n);

    // Only the selected line talks: it comes off hold, the others go on hold.
    if (l.connected() && l.held) {
        retrieveLine(n);
    }
    for (int i = 0; i < PhoneState::kCallLines; ++i) {
        const LineState& other = c_.state.line(i);
        if (i != n && other.connected() && !other.held) {
            holdLine(i);
        }
    }
    redrawIncomingLines(0);

    if (c_.state.autoAnswer && l.incoming()) {
        pressCallButton();
    }
}

void LineSelector::selectConferenceMember(int n)
{
    LineState& l = c_.state.line(n);
    c_.view.setCallTimerVisible(false);
    c_.view.setHangUpEnabled(true);
    bool othersInConference = false;
    for (int i = 0; i < PhoneState::kCallLines; ++i) {
        othersInConference = othersInConference || (i != n && c_.state.line(i).inConference);
    }
    if (!othersInConference) {
        c_.state.conferenceActive = false;
        c_.view.setToggle(Toggle::Conference, false);
        l.inConference = false;
        ShowLine(n);
        c_.view.setStatusLine(l.lineStatus);
    } else {
        c_.view.setToggle(Toggle::Conference, true);
        c_.view.setStatusLine(c_.state.conferenceText);
    }
    for (int i = 0; i < PhoneState::kCallLines; ++i) {
        const LineState& other = c_.state.line(i);
        if (!other.connected()) {
            continue;
        }
        if (i != n && !other.held && !other.inConference) {
            holdLine(i);
        } else if (other.inConference && other.held) {
            retrieveLine(i);
        }
    }
    redrawIncomingLines(1);
}

void LineSelector::selectHiddenLine(int n)
{
    markLine(n);
    c_.state.currentLine = n;
    const LineState& l = c_.state.line(n);
    c_.view.setStatusLine(l.lineStatus);
    c_.view.setHangUpEnabled(l.inUse());
    if (!l.connected()) {
        c_.view.setCallTimerText({});
    }
    if (c_.state.autoAnswer && l.incoming()) {
        pressCallButton();
    }
}

}
