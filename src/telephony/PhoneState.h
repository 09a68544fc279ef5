#pragma once

#include <QString>

#include <array>

namespace orvanta {

// One line's call record. Index 0 is "Line 1".
struct LineState {
    bool outgoing = false;
    bool incoming = false;
    bool ringing = false;
    bool answering = false;
    bool connected = false;
    bool onHold = false;
    bool idle = false;
    bool busy = false;
    bool transferring = false;
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
    int timerId = 0;     // 0 while the line's call timer is stopped
    char direction = 0;  // 'C' placed here, 'I' received, 0 idle

    bool inUse() const
    {
        return outgoing || incoming || busy || connected || answering || ringing || onHold;
    }
    // Placing a call, talking, or about to: Enter then hangs up instead of dialling.
    bool engaged() const { return outgoing || connected || ringing || transferring; }
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
    QString number;  // the entered number, always what the number display shows
    QString conferenceText;
    QString lastCaller;

    LineState& selected() { return lines[static_cast<std::size_t>(currentLine)]; }
    const LineState& selected() const { return lines[static_cast<std::size_t>(currentLine)]; }
    LineState& line(int index) { return lines[static_cast<std::size_t>(index)]; }
    const LineState& line(int index) const { return lines[static_cast<std::size_t>(index)]; }

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
