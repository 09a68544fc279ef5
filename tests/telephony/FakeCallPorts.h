#pragma once

#include "telephony/CallPorts.h"
#include "telephony/PhoneState.h"

#include <QStringList>

#include <array>
#include <functional>
#include <map>
#include <set>
#include <vector>

// Stand-ins for the window, sounds, timers, call log and balance query that
// remember what they were told.
namespace orvanta::test {

struct FakeCallView : CallView {
    QString status;
    QStringList statusHistory;
    QString banner;
    QStringList bannerHistory;
    bool bannerVisible = true;
    QString number;
    QString contactName = QStringLiteral("unset");
    QString rate = QStringLiteral("unset");
    QString timerText;
    bool timerVisible = true;
    QString remainingTime;
    QString internetText;
    std::array<LineFace, PhoneState::kLineCount> faces{};
    std::array<QString, PhoneState::kLineCount> tooltips;
    int marked = -1;
    bool hangUpEnabled = false;
    bool callEnabled = true;
    QString callTooltip;
    QStringList callTooltipHistory;
    std::map<Toggle, bool> toggles;
    int dialPanelShown = 0;
    bool flashing = false;
    QStringList messages;
    std::function<void()> whileMessageOpen;

    void setStatusLine(const QString& t) override
    {
        status = t;
        statusHistory << t;
    }
    void setBanner(const QString& t) override
    {
        banner = t;
        bannerHistory << t;
    }
    void setBannerVisible(bool v) override { bannerVisible = v; }
    void setNumberDisplay(const QString& t) override { number = t; }
    void setContactName(const QString& t) override { contactName = t; }
    void setRateText(const QString& t) override { rate = t; }
    void setCallTimerText(const QString& t) override { timerText = t; }
    void setCallTimerVisible(bool v) override { timerVisible = v; }
    void setRemainingTime(const QString& t) override { remainingTime = t; }
    void setInternetText(const QString& t) override { internetText = t; }
    void setLineButton(int line, LineFace face, const QString& tooltip) override
    {
        faces[static_cast<std::size_t>(line)] = face;
        tooltips[static_cast<std::size_t>(line)] = tooltip;
    }
    void setLineMarked(int line) override { marked = line; }
    void setHangUpEnabled(bool e) override { hangUpEnabled = e; }
    void setCallButtonEnabled(bool e) override { callEnabled = e; }
    void setCallTooltip(const QString& t) override
    {
        callTooltip = t;
        callTooltipHistory << t;
    }
    void setToggle(Toggle t, bool pressed) override { toggles[t] = pressed; }
    void showDialPanel() override { ++dialPanelShown; }
    void setFlashing(bool f) override { flashing = f; }
    void showMessage(const QString& t) override
    {
        messages << t;
        if (whileMessageOpen) {
            whileMessageOpen();
        }
    }
};

struct FakeSounds : CallSounds {
    QStringList events;
    void playRingLoop() override { events << QStringLiteral("ring"); }
    void playTone(const QString& file) override { events << file; }
    void stop() override { events << QStringLiteral("stop"); }
};

struct FakeTimers : CallTimers {
    std::set<int> running;
    std::vector<std::pair<int, std::function<void()>>> pending;

    void startLineTimer(int line) override { running.insert(line); }
    void stopLineTimer(int line) override { running.erase(line); }
    void runLater(int ms, std::function<void()> action) override
    {
        pending.emplace_back(ms, std::move(action));
    }
    void firePending()
    {
        auto due = std::move(pending);
        pending.clear();
        for (auto& [ms, action] : due) {
            action();
        }
    }
};

struct LogEntry {
    QString number;
    QString duration;
    char kind;
    bool operator==(const LogEntry&) const = default;
};

struct FakeCallLog : CallLogSink {
    std::vector<LogEntry> entries;
    void AddCallLogEntry(const QString& number, const QString& duration, char kind) override
    {
        entries.push_back({number, duration, kind});
    }
};

struct FakeBalance : BalanceQuery {
    int queries = 0;
    void QueryBalance() override { ++queries; }
};

}
