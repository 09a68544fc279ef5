#pragma once

#include <QString>

#include <functional>

// What the call handling needs from the world around it: the window shows
// and plays, the timers tick, the call log stores, the portal answers. The
// window implements these; tests use fakes.
namespace orvanta {

enum class LineFace { Normal, Held, Incoming, Conference, ConferenceHeld };
enum class Toggle { Hold, Transfer, Conference, Record, AutoAnswer, DoNotDisturb };

class CallView {
public:
    virtual ~CallView() = default;
    virtual void setStatusLine(const QString& text) = 0;
    virtual void setBanner(const QString& text) = 0;
    // Header banner and footer: hidden while the lines are reset.
    virtual void setBannerVisible(bool visible) = 0;
    virtual void setNumberDisplay(const QString& text) = 0;
    virtual void setContactName(const QString& text) = 0;
    virtual void setRateText(const QString& text) = 0;
    virtual void setCallTimerText(const QString& text) = 0;
    virtual void setCallTimerVisible(bool visible) = 0;
    // The talk time left, counted down by the running call timers.
    virtual void setRemainingTime(const QString& text) = 0;
    virtual void setInternetText(const QString& text) = 0;
    virtual void setLineButton(int line, LineFace face, const QString& tooltip) = 0;
    virtual void setLineMarked(int line) = 0;
    virtual void setHangUpEnabled(bool enabled) = 0;
    virtual void setCallButtonEnabled(bool enabled) = 0;
    virtual void setCallTooltip(const QString& text) = 0;
    virtual void setToggle(Toggle toggle, bool pressed) = 0;
    virtual void showDialPanel() = 0;
    // Flashes the window (every 500 ms) while a call is offered.
    virtual void setFlashing(bool flashing) = 0;
    // A message box; returns once the user has closed it.
    virtual void showMessage(const QString& text) = 0;
};

class CallSounds {
public:
    virtual ~CallSounds() = default;
    // Each sound replaces the one playing.
    virtual void playRingLoop() = 0;
    virtual void playTone(const QString& fileName) = 0;
    virtual void stop() = 0;
};

class CallTimers {
public:
    virtual ~CallTimers() = default;
    // The one-second call timer of a line (0-3); each tick reaches
    // CallStateMachine::tickLine.
    virtual void startLineTimer(int line) = 0;
    virtual void stopLineTimer(int line) = 0;
    virtual void runLater(int milliseconds, std::function<void()> action) = 0;
};

class CallLogSink {
public:
    virtual ~CallLogSink() = default;
    // kind: 'D' dialled, 'R' received, 'M' missed.
    virtual void AddCallLogEntry(const QString& number, const QString& duration, char kind) = 0;
};

class BalanceQuery {
public:
    virtual ~BalanceQuery() = default;
    virtual void QueryBalance() = 0;
};

class MicrophoneProbe {
public:
    virtual ~MicrophoneProbe() = default;
    virtual bool microphoneAvailable() = 0;
};

}
