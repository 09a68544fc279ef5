#pragma once

#include <QString>

#include <array>
#include <optional>

namespace orvanta {

// Where a line's call stands, as the engine reported it.
enum class LinePhase {
    Idle,
    Calling,    // placed here, not yet alerting
    Offered,    // an incoming call waits to be answered
    Ringing,    // the far end is alerting
    Answering,  // accepted, media not yet running
    Connected,
};

enum class CallOrigin { None, Placed, Received };

// One line's call record. Index 0 is "Line 1".
struct LineState {
    LinePhase phase = LinePhase::Idle;
    CallOrigin origin = CallOrigin::None;
    bool held = false;          // put on hold by this side
    bool transferring = false;  // a blind transfer was requested
    bool inConference = false;
    int callId = -1;
    int transferCallId = -1;
    QString dialledNumber;
    QString remoteNumber;
    QString lineStatus;
    QString transferText;
    QString durationText;
    QString rateText;
    int elapsedSeconds = 0;
    int timerId = 0;  // 0 while the line's call timer is stopped

    // The line is taken by a call.
    bool busy() const { return phase != LinePhase::Idle; }
    bool connected() const { return phase == LinePhase::Connected; }
    // A call placed here / offered here that is not connected yet.
    bool outgoing() const { return busy() && !connected() && origin == CallOrigin::Placed; }
    bool incoming() const { return busy() && !connected() && origin == CallOrigin::Received; }
    bool inUse() const { return busy() || held; }
    // Placing a call, talking, or about to: Enter then hangs up instead of dialling.
    bool engaged() const { return outgoing() || connected() || transferring; }

    // The call is over and the line takes the next one. The dialled number
    // stays for redial; transfer and conference marks are settled by the
    // caller.
    void clearCall()
    {
        phase = LinePhase::Idle;
        origin = CallOrigin::None;
        held = false;
        callId = -1;
        remoteNumber.clear();
        durationText.clear();
        elapsedSeconds = 0;
    }
};

// Everything the call handling shares: the lines and the window-wide flags.
struct PhoneState {
    static constexpr int kLineCount = 6;  // lines 5 and 6 exist but are hidden
    static constexpr int kCallLines = 4;  // lines that take calls, run timers, join conferences

    std::array<LineState, kLineCount> lines;
    int currentLine = 0;
    int markedLine = 0;  // the line button showing the selection mark; -1 none

    bool callsAllowed = false;
    bool autoAnswer = false;
    bool doNotDisturb = false;
    bool conferenceActive = false;
    bool wasConnected = false;
    bool transferMode = false;
    bool recording = false;
    bool hangUpPressed = false;
    bool messageBoxOpen = false;

    bool internetAvailable = true;
    bool internetLost = false;  // the internet label shows the loss
    bool internetFailureSeen = false;
    bool readyShown = false;

    int accountHandle = -1;
    QString registrarHost;
    QString userName;
    std::optional<int> remainingSeconds;  // talk time left, when something knows it
    QString number;  // the entered number, always what the number display shows
    QString conferenceText;
    QString lastCaller;

    LineState& selected() { return lines[static_cast<std::size_t>(currentLine)]; }
    const LineState& selected() const { return lines[static_cast<std::size_t>(currentLine)]; }
    LineState& line(int index) { return lines[static_cast<std::size_t>(index)]; }
    const LineState& line(int index) const { return lines[static_cast<std::size_t>(index)]; }

    // No call on lines 1-4, held ones included.
    bool callLinesFree() const
    {
        for (int i = 0; i < kCallLines; ++i) {
            if (line(i).inUse()) {
                return false;
            }
        }
        return true;
    }

    // The line of 1-4 holding this call id, or -1.
    int lineOfCall(int callId) const
    {
        if (callId == -1) {
            return -1;
        }
        for (int i = 0; i < kCallLines; ++i) {
            if (line(i).callId == callId) {
                return i;
            }
        }
        return -1;
    }
};

}
