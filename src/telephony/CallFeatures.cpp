#include "telephony/CallFeatures.h"

#include "platform/UserFolders.h"
#include "telephony/EngineSetup.h"

#include <QDir>

namespace orvanta {

QString recordingFileName(const QDateTime& localTime)
{
    const QDate date = localTime.date();
    const QTime time = localTime.time();
    const QString suffix = time.hour() <= 12 ? QStringLiteral("AM_") : QStringLiteral("PM");
    return QStringLiteral("SoftphoneRecording_") +
           QString::asprintf("%.2d%.2d%.2d_", date.day(), date.month(), date.year()) +
           QString::asprintf("%.2d%.2d%.2d_", time.hour() % 12, time.minute(), time.second()) +
           suffix + QStringLiteral(".wav");
}

CallFeatures::CallFeatures(CallContext& context, LineSelector& selector, Clock clock)
        : c_(context), selector_(selector), clock_(std::move(clock))
{
    if (!clock_) {
        clock_ = [] { return QDateTime::currentDateTime(); };
    }
}

void CallFeatures::Hold()
{
    LineState& l = c_.state.selected();
    if (l.connected() && !l.held) {
        c_.view.setToggle(Toggle::Hold, true);
        c_.view.setStatusLine(texts::onHold);
        selector_.holdLine(c_.state.currentLine);
    } else if (l.connected()) {
        c_.view.setStatusLine(texts::connected);
        selector_.retrieveLine(c_.state.currentLine);
        c_.view.setToggle(Toggle::Hold, false);
    } else {
        c_.view.setToggle(Toggle::Hold, false);
    }
}

void CallFeatures::ToggleTransfer()
{
    const LineState& l = c_.state.selected();
    if (c_.state.transferMode || !l.connected() || l.transferring) {
        const bool cancelled = c_.state.transferMode;
        c_.state.transferMode = false;
        c_.view.setToggle(Toggle::Transfer, false);
        c_.view.setBanner(l.transferText);
        if (cancelled) {
            // Digits typed for a target go: the display shows the call again.
            selector_.showLineNumber(c_.state.currentLine);
        }
        return;
    }
    c_.setNumber({});
    c_.view.setToggle(Toggle::Transfer, true);
    c_.view.setBanner(texts::enterTransferTarget);
    c_.state.transferMode = true;
}

void CallFeatures::BlindTransfer(const QString& number)
{
    LineState& l = c_.state.selected();
    c_.engine.xferCall(l.callId, sipUri(number, c_.state.registrarHost).constData());
    l.transferring = true;
    l.transferText = texts::transferRequested;
    c_.view.setBanner(l.transferText);
    c_.state.transferMode = false;
    c_.view.setToggle(Toggle::Transfer, false);
}

int CallFeatures::conferenceMembers() const
{
    int members = 0;
    for (int i = 0; i < PhoneState::kCallLines; ++i) {
        members += c_.state.line(i).inConference ? 1 : 0;
    }
    return members;
}

void CallFeatures::Conference()
{
    LineState& l = c_.state.selected();
    QString text = QStringLiteral("Conference Line (");
    int connectedLines = 0;
    int lastConnected = -1;
    for (int i = 0; i < PhoneState::kCallLines; ++i) {
        if (c_.state.line(i).connected()) {
            text += QString::asprintf("%d:", i + 1);
            ++connectedLines;
            lastConnected = i;
        }
    }
    while (text.endsWith(QLatin1Char(':'))) {
        text.chop(1);
    }
    text += QLatin1Char(')');

    if (l.inConference || connectedLines < 2 || !l.connected()) {
        const bool wasMember = l.inConference;
        c_.state.conferenceText.clear();
        releaseConferenceButton();
        if (wasMember) {
            dissolveConference();
        }
        return;
    }

    c_.state.conferenceText = text;
    for (int i = 0; i < PhoneState::kCallLines; ++i) {
        LineState& member = c_.state.line(i);
        if (member.connected()) {
            member.inConference = true;
            selector_.retrieveLine(i);
        }
    }
    c_.view.setStatusLine(text);
    c_.engine.callConference(c_.state.line(lastConnected).callId);
    c_.view.setCallTimerVisible(false);
    c_.view.setToggle(Toggle::Conference, true);
    c_.state.conferenceActive = true;
}

void CallFeatures::releaseConferenceButton()
{
    if (c_.state.callsAllowed) {
        c_.view.setStatusLine(c_.state.selected().lineStatus);
    }
    c_.view.setCallTimerVisible(true);
    c_.view.setToggle(Toggle::Conference, false);
}

void CallFeatures::dissolveConference()
{
    c_.state.conferenceActive = false;
    c_.state.conferenceText.clear();
    // The members stay connected but wait on hold, as after a line switch.
    for (int i = 0; i < PhoneState::kCallLines; ++i) {
        const LineState& member = c_.state.line(i);
        if (i != c_.state.currentLine && member.inConference && !member.held) {
            c_.engine.holdCall(member.callId);
            c_.state.line(i).held = true;
        }
    }
    for (int i = 0; i < PhoneState::kCallLines; ++i) {
        c_.state.line(i).inConference = false;
        selector_.ShowLine(i);
    }
}

void CallFeatures::leaveConference(int n)
{
    c_.state.line(n).inConference = false;
    QString& text = c_.state.conferenceText;
    text.remove(QString::number(n + 1));
    text.replace(QStringLiteral("::"), QStringLiteral(":"));
    text.replace(QStringLiteral(":)"), QStringLiteral(")"));
    text.replace(QStringLiteral("(:"), QStringLiteral("("));
}

void CallFeatures::memberCallEnded(int n)
{
    leaveConference(n);
    int next = 0;
    for (int i = PhoneState::kCallLines - 1; i >= 0; --i) {
        if (c_.state.line(i).inConference) {
            next = i;
        }
    }
    selector_.SelectLine(next);
    selector_.ShowLine(n);
    endConferenceIfAlone();
}

void CallFeatures::endConferenceIfAlone()
{
    if (c_.state.conferenceActive && conferenceMembers() <= 1) {
        releaseConferenceButton();
        dissolveConference();
    }
}

void CallFeatures::Record()
{
    if (c_.state.recording) {
        stopRecording();
        return;
    }
    // Never the folder the dialer happened to start in.
    const QString folder =
        recordingFolder_.isEmpty() ? platform::defaultRecordingFolder() : recordingFolder_;
    if (folder.isEmpty()) {
        return;
    }
    const QString path = QDir(folder).filePath(recordingFileName(clock_()));
    const int result =
        c_.engine.callRecordingStart(c_.state.selected().callId, path.toLocal8Bit().constData());
    // A refused start (no call on the line) leaves nothing to stop later.
    c_.state.recording = result != -1;
    c_.view.setToggle(Toggle::Record, c_.state.recording);
}

void CallFeatures::stopRecording()
{
    c_.engine.callRecordingStop();
    c_.state.recording = false;
    c_.view.setToggle(Toggle::Record, false);
}

void CallFeatures::stopRecordingIfIdle()
{
    if (!c_.state.recording) {
        return;
    }
    for (int i = 0; i < PhoneState::kCallLines; ++i) {
        if (c_.state.line(i).busy()) {
            return;
        }
    }
    stopRecording();
}

}
