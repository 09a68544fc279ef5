#pragma once

#include "telephony/CallContext.h"
#include "telephony/LineSelector.h"

#include <QDateTime>

#include <functional>

namespace orvanta {

// "SoftphoneRecording_" + ddMMyyyy + "_" + hhmmss on a twelve-hour clock +
// "_AM_" up to 12 o'clock, "_PM" after + ".wav".
QString recordingFileName(const QDateTime& localTime);

// The feature toggles acting on the selected line: hold, blind transfer,
// conference, recording, auto answer and do-not-disturb.
class CallFeatures {
public:
    using Clock = std::function<QDateTime()>;

    // clock gives the local time for recording names; empty means the system clock.
    CallFeatures(CallContext& context, LineSelector& selector, Clock clock = {});

    // Where recordings go; empty means the working directory.
    void setRecordingFolder(const QString& folder) { recordingFolder_ = folder; }
    const QString& recordingFolder() const { return recordingFolder_; }

    void Hold();
    // The XFER button: arms transfer mode on a connected line, or disarms it.
    void ToggleTransfer();
    // Sends the selected line's call to number (the call button in transfer mode).
    void BlindTransfer(const QString& number);
    void Conference();
    void Record();
    void setAutoAnswer(bool on) { c_.state.autoAnswer = on; }
    void setDoNotDisturb(bool on) { c_.state.doNotDisturb = on; }
    // The hidden auto-conference button has no behaviour.
    void AutoConference() {}

    // Takes line n out of the conference and its number out of the text.
    void leaveConference(int n);
    // Line n's call ended while it was a conference member: the next member
    // is selected.
    void memberCallEnded(int n);
    // Ends an active conference that has at most one member left.
    void endConferenceIfAlone();
    // Stops a running recording once no line has a call.
    void stopRecordingIfIdle();

private:
    int conferenceMembers() const;
    void releaseConferenceButton();
    void dissolveConference();
    void stopRecording();

    CallContext& c_;
    LineSelector& selector_;
    Clock clock_;
    QString recordingFolder_;
};

}
