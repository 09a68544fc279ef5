#pragma once

#include "FakeCallPorts.h"
#include "FakeEngine.h"
#include "telephony/CallController.h"

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace orvanta::test {

inline void PrintTo(const LogEntry& e, std::ostream* out)
{
    *out << '{' << e.number.toStdString() << ", " << e.duration.toStdString() << ", " << e.kind
         << '}';
}

// A signed-in main window's call handling with fake ports and a fake
// engine; calls get ids 7, 8, 9, ...
struct CallRig {
    static inline const QString kUser = QStringLiteral("1001 ");
    static inline const QString kReady = QStringLiteral("Ready : 1001 ");

    FakeEngine engine;
    FakeCallView view;
    FakeSounds sounds;
    FakeTimers timers;
    FakeCallLog log;
    FakeBalance balance;
    QDateTime now{QDate(2026, 12, 6), QTime(9, 30, 5)};
    CallController phone{engine, CallPorts{view, sounds, timers, log, balance},
                         [this] { return now; }};

    CallRig()
    {
        engine.load();
        engine.nextCallId = 7;
        phone.calls().ResetLines();
        phone.useAccount(11, QStringLiteral("sip.example"), kUser);
        phone.calls().SessionReady(kUser);
        engine.journal.clear();
    }

    PhoneState& state() { return phone.state(); }
    LineState& line(int n) { return phone.state().line(n); }
    std::vector<std::string>& journal() { return engine.journal; }

    void type(const QString& keys)
    {
        for (QChar c : keys) {
            phone.entry().keyPress(KeyPress::of(c));
        }
    }
    void event(int callId, int s) { phone.calls().OnCallState(callId, s); }
    void events(int callId, std::initializer_list<int> states)
    {
        for (int s : states) {
            event(callId, s);
        }
    }
    void ticks(int n, int count)
    {
        for (int i = 0; i < count; ++i) {
            phone.calls().tickLine(n);
        }
    }
    // The transfer leg gets id 9.
    void setNextCallIdAfterTransfer() { engine.nextCallId = 9; }
    // Dials number on the selected line and lets the far end answer.
    int connectOutgoing(const QString& number)
    {
        type(number);
        phone.entry().MakeCall();
        const int callId = phone.state().selected().callId;
        events(callId, {ORVANTA_CALL_CALLING, ORVANTA_CALL_RINGING, ORVANTA_CALL_CONNECTED});
        return callId;
    }
    int connectIncoming(int callId, const QString& number)
    {
        phone.calls().OnIncomingCall(callId, QStringLiteral("sip:") + number +
                                                 QStringLiteral("@sip.example"));
        phone.entry().MakeCall();
        events(callId, {ORVANTA_CALL_ANSWERING, ORVANTA_CALL_CONNECTED});
        return callId;
    }
};

class CallFixture : public ::testing::Test, public CallRig {};

}
