#include "CallFixture.h"
#include "telephony/EngineHost.h"

#include <optional>

namespace orvanta::test {
namespace {

using Journal = std::vector<std::string>;

class CallStates : public CallFixture {};

TEST_F(CallStates, OutgoingCallWalksThroughItsTextsAndLogsItsDuration)
{
    type(QStringLiteral("5551234"));
    phone.entry().MakeCall();
    EXPECT_EQ(journal(), (Journal{"makeCall(11,\"sip:5551234@sip.example\")"}));
    EXPECT_EQ(line(0).callId, 7);

    event(7, ORVANTA_CALL_CALLING);
    EXPECT_EQ(view.status, "Calling...");
    EXPECT_TRUE(view.hangUpEnabled);
    EXPECT_TRUE(line(0).outgoing());
    event(7, ORVANTA_CALL_RINGING);
    EXPECT_EQ(view.status, "Ringing...");
    event(7, ORVANTA_CALL_CONNECTED);
    EXPECT_EQ(view.status, "Connected...");
    EXPECT_EQ(line(0).origin, CallOrigin::Placed);
    EXPECT_EQ(timers.running, std::set<int>{0});

    ticks(0, 62);
    EXPECT_EQ(view.timerText, "00:01:01");

    event(7, ORVANTA_CALL_DISCONNECTED);
    EXPECT_EQ(view.status, "Disconnected...");
    EXPECT_EQ(view.callTooltip, "ReDial");
    EXPECT_FALSE(view.hangUpEnabled);
    EXPECT_EQ(view.timerText, "");
    EXPECT_TRUE(timers.running.empty());
    EXPECT_EQ(log.entries, (std::vector<LogEntry>{{"5551234", "00:01:01", 'D'}}));
    EXPECT_EQ(line(0).lineStatus, "Ready To Call...");
    EXPECT_EQ(line(0).callId, -1);
    EXPECT_FALSE(line(0).inUse());
    EXPECT_EQ(line(0).dialledNumber, "5551234");  // kept for redial
    EXPECT_EQ(view.number, "");

    // The balance follows 300 ms later, then the status line is ready again.
    EXPECT_EQ(balance.queries, 0);
    ASSERT_EQ(timers.pending.size(), 1u);
    EXPECT_EQ(timers.pending[0].first, 300);
    timers.firePending();
    EXPECT_EQ(balance.queries, 1);
    EXPECT_EQ(view.status, kReady);
}

TEST_F(CallStates, TimerTextCountsHoursMinutesAndSeconds)
{
    const struct {
        int seconds;
        const char* text;
    } cases[] = {{0, "00:00:00"},    {59, "00:00:59"},   {60, "00:01:00"},
                 {3599, "00:59:59"}, {3600, "01:00:00"}, {36061, "10:01:01"}};
    connectOutgoing(QStringLiteral("200"));
    for (const auto& c : cases) {
        line(0).elapsedSeconds = c.seconds;
        phone.calls().tickLine(0);
        EXPECT_EQ(view.timerText, c.text);
        EXPECT_EQ(line(0).durationText, c.text);
        EXPECT_EQ(line(0).elapsedSeconds, c.seconds + 1);
    }
}

TEST_F(CallStates, EachEndingGetsItsLogKindAndStatus)
{
    struct Case {
        const char* name;
        std::function<void(CallRig&)> run;
        LogEntry entry;
        const char* status;
    };
    const Case cases[] = {
        {"unanswered outgoing",
         [](CallRig& t) {
             t.type(QStringLiteral("300"));
             t.phone.entry().MakeCall();
             t.events(7, {ORVANTA_CALL_CALLING, ORVANTA_CALL_RINGING, ORVANTA_CALL_DISCONNECTED});
         },
         {"300", "", 'D'},
         "Disconnected..."},
        {"incoming answered",
         [](CallRig& t) {
             t.connectIncoming(7, QStringLiteral("400"));
             t.ticks(0, 5);
             t.event(7, ORVANTA_CALL_DISCONNECTED);
         },
         {"400", "00:00:04", 'R'},
         "Disconnected..."},
        {"missed",
         [](CallRig& t) {
             t.phone.calls().OnIncomingCall(7, QStringLiteral("sip:500@sip.example"));
             t.event(7, ORVANTA_CALL_DISCONNECTED);
         },
         {"500", "", 'M'},
         "Disconnected..."},
        {"rejected by do-not-disturb",
         [](CallRig& t) {
             t.phone.features().setDoNotDisturb(true);
             t.phone.calls().OnIncomingCall(7, QStringLiteral("sip:600@sip.example"));
             EXPECT_EQ(t.journal(), (Journal{"releaseCall(7)"}));
             t.event(7, ORVANTA_CALL_DISCONNECTED);
         },
         {"600", "", 'M'},
         "Missed Call..."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CallRig rig;
        c.run(rig);
        EXPECT_EQ(rig.log.entries, std::vector<LogEntry>{c.entry});
        EXPECT_EQ(rig.view.status, c.status);
        EXPECT_FALSE(rig.line(0).inUse());
        EXPECT_FALSE(rig.view.flashing);
    }
}

TEST_F(CallStates, IncomingCallRingsFlashesAndIsAnsweredByTheCallButton)
{
    phone.calls().OnIncomingCall(7, QStringLiteral("\"Ann\" <sip:4711@sip.example>"));
    EXPECT_EQ(view.status, "Incoming...");
    EXPECT_EQ(view.number, "4711");
    EXPECT_EQ(view.tooltips[0], "INCOMING CALL");
    EXPECT_TRUE(view.flashing);
    EXPECT_TRUE(view.hangUpEnabled);
    EXPECT_EQ(sounds.events.back(), "ring");

    phone.entry().MakeCall();
    EXPECT_EQ(journal(), (Journal{"answerCall(7,200)"}));
    events(7, {ORVANTA_CALL_ANSWERING, ORVANTA_CALL_CONNECTED});
    EXPECT_EQ(view.status, "Connected...");
    EXPECT_EQ(line(0).origin, CallOrigin::Received);
    EXPECT_FALSE(view.flashing);
    EXPECT_EQ(sounds.events.back(), "stop");
    EXPECT_EQ(view.tooltips[0], "Line1");
}

TEST_F(CallStates, AutoAnswerTakesTheCallAtOnce)
{
    phone.features().setAutoAnswer(true);
    phone.calls().OnIncomingCall(7, QStringLiteral("sip:4711@sip.example"));
    EXPECT_EQ(journal(), (Journal{"answerCall(7,200)"}));
}

TEST_F(CallStates, SecondIncomingCallWhileConnectedIsReleasedWithoutTrace)
{
    connectOutgoing(QStringLiteral("200"));
    journal().clear();
    phone.calls().OnIncomingCall(8, QStringLiteral("sip:999@sip.example"));
    event(8, ORVANTA_CALL_DISCONNECTED);
    EXPECT_EQ(journal(), (Journal{"releaseCall(8)"}));
    EXPECT_TRUE(log.entries.empty());
    EXPECT_EQ(view.status, "Connected...");
    for (int n = 1; n < PhoneState::kCallLines; ++n) {
        EXPECT_FALSE(line(n).inUse());
    }
}

TEST_F(CallStates, SelectingAHeldLineRetrievesItAndHoldsTheOther)
{
    connectOutgoing(QStringLiteral("200"));
    phone.lines().SelectLine(1);
    EXPECT_EQ(journal().back(), "holdCall(7)");
    EXPECT_EQ(view.tooltips[0], "ON HOLD");
    EXPECT_EQ(view.status, "Ready To Call...");
    const int second = connectOutgoing(QStringLiteral("300"));
    EXPECT_EQ(second, 8);

    journal().clear();
    phone.lines().SelectLine(0);
    EXPECT_EQ(journal(), (Journal{"retrieveCall(7)", "holdCall(8)"}));
    EXPECT_FALSE(line(0).held);
    EXPECT_TRUE(line(1).held);
    EXPECT_EQ(view.faces[0], LineFace::Normal);
    EXPECT_EQ(view.faces[1], LineFace::Held);
    EXPECT_EQ(view.status, "Connected...");
    EXPECT_EQ(view.number, "200");
}

TEST_F(CallStates, HangUpButtonFollowsTheSelectedLine)
{
    connectOutgoing(QStringLiteral("200"));
    phone.lines().SelectLine(1);
    EXPECT_FALSE(view.hangUpEnabled) << "line 2 is free";
    connectOutgoing(QStringLiteral("300"));
    phone.lines().SelectLine(0);
    EXPECT_TRUE(view.hangUpEnabled);

    // Line 1's far end hangs up while it is selected: the button goes off
    // with it, and comes back for the call still up on line 2.
    event(7, ORVANTA_CALL_DISCONNECTED);
    EXPECT_FALSE(view.hangUpEnabled);
    phone.lines().SelectLine(1);
    EXPECT_TRUE(view.hangUpEnabled);
    journal().clear();
    phone.calls().EndCall();
    EXPECT_EQ(journal(), (Journal{"releaseCall(8)"}));
}

TEST_F(CallStates, RunningCallTimersCountTheRemainingTimeDown)
{
    const struct {
        const char* name;
        std::optional<int> remaining;
        int lines;  // connected lines, each with its running timer
        int seconds;
        QString shown;
    } cases[] = {
        {"unknown stays empty", std::nullopt, 1, 3, ""},
        {"one line", 120, 1, 3, "00:01:57"},
        {"each line's timer counts", 120, 2, 3, "00:01:54"},
        {"never below zero", 2, 1, 5, "00:00:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CallRig rig;
        rig.phone.calls().setRemainingTime(c.remaining);
        for (int n = 0; n < c.lines; ++n) {
            rig.phone.lines().SelectLine(n);
            rig.connectOutgoing(QString::number(200 + n));
        }
        for (int second = 0; second < c.seconds; ++second) {
            for (int n : rig.timers.running) {
                rig.phone.calls().tickLine(n);
            }
        }
        EXPECT_EQ(rig.view.remainingTime, c.shown);
    }
}

TEST_F(CallStates, CallEndingOnAnotherLineFreesAndLogsThatLine)
{
    connectOutgoing(QStringLiteral("200"));
    ticks(0, 3);
    phone.lines().SelectLine(1);
    view.statusHistory.clear();

    event(7, ORVANTA_CALL_DISCONNECTED);
    EXPECT_FALSE(line(0).inUse());
    EXPECT_EQ(line(0).callId, -1);
    EXPECT_EQ(line(0).lineStatus, "Ready To Call...");
    EXPECT_EQ(view.tooltips[0], "Line1");
    EXPECT_EQ(log.entries, (std::vector<LogEntry>{{"200", "00:00:02", 'D'}}));
    EXPECT_TRUE(timers.running.empty());
    EXPECT_TRUE(view.statusHistory.isEmpty());  // line 2 is what the user sees

    timers.firePending();
    EXPECT_EQ(balance.queries, 1);
    // The freed line takes calls again.
    phone.lines().SelectLine(0);
    connectOutgoing(QStringLiteral("300"));
    EXPECT_EQ(line(0).callId, 8);
}

TEST_F(CallStates, IncomingCallOnAnotherLineWaitsThere)
{
    phone.lines().SelectLine(2);
    phone.calls().OnIncomingCall(7, QStringLiteral("sip:4711@sip.example"));
    EXPECT_EQ(line(0).callId, 7);
    EXPECT_EQ(line(0).lineStatus, "Incoming...");
    EXPECT_EQ(view.tooltips[0], "INCOMING CALL");
    EXPECT_TRUE(view.flashing);

    phone.lines().SelectLine(0);
    EXPECT_EQ(view.number, "4711");
    EXPECT_EQ(sounds.events.back(), "ring");
}

TEST_F(CallStates, HangUpReleasesTheCallAndTheLineWaitsForTheEngine)
{
    connectOutgoing(QStringLiteral("200"));
    journal().clear();
    phone.calls().EndCall();
    EXPECT_EQ(journal(), (Journal{"releaseCall(7)"}));
    EXPECT_FALSE(view.hangUpEnabled);
    EXPECT_EQ(view.callTooltip, "ReDial");
    EXPECT_TRUE(line(0).inUse());
    // A second Enter does not hang up twice.
    phone.entry().keyPress(KeyPress::of(KeyPress::Kind::Enter));
    EXPECT_EQ(journal().size(), 1u);
    event(7, ORVANTA_CALL_DISCONNECTED);
    EXPECT_FALSE(line(0).inUse());
}

TEST_F(CallStates, QuitIsRefusedOnlyWhileTheSelectedLineIsInUse)
{
    EXPECT_EQ(phone.checkQuit(), CallController::QuitCheck::Confirm);
    connectOutgoing(QStringLiteral("200"));
    EXPECT_TRUE(phone.selectedLineInUse());
    EXPECT_EQ(phone.checkQuit(), CallController::QuitCheck::Refused);
    EXPECT_EQ(view.messages, QStringList{"Please disconnect call first"});
    phone.lines().SelectLine(1);
    EXPECT_FALSE(phone.selectedLineInUse());
    EXPECT_EQ(phone.checkQuit(), CallController::QuitCheck::Confirm);
}

TEST_F(CallStates, InternetLossEndsTheCallAndItsReturnShowsReadyOnce)
{
    connectOutgoing(QStringLiteral("200"));
    journal().clear();
    phone.internet().check(false);
    EXPECT_EQ(journal(), (Journal{"releaseCall(7)"}));
    EXPECT_EQ(view.internetText, "! No Internet Access");
    EXPECT_EQ(view.status, "");
    EXPECT_FALSE(phone.selectedLineInUse());
    phone.internet().check(false);
    EXPECT_EQ(journal().size(), 1u);

    event(7, ORVANTA_CALL_DISCONNECTED);
    timers.firePending();
    EXPECT_FALSE(view.statusHistory.contains("Disconnected..."));
    EXPECT_EQ(view.status, "");

    view.statusHistory.clear();
    phone.internet().check(true);
    phone.internet().check(true);
    EXPECT_EQ(view.statusHistory, QStringList{kReady});
    EXPECT_EQ(view.internetText, "");
}

TEST_F(CallStates, ResetLinesFreesEveryLineAndRefusesCalls)
{
    connectOutgoing(QStringLiteral("200"));
    phone.features().setAutoAnswer(true);
    phone.calls().ResetLines();
    EXPECT_FALSE(state().callsAllowed);
    EXPECT_FALSE(state().autoAnswer);
    EXPECT_FALSE(line(0).inUse());
    EXPECT_EQ(line(0).lineStatus, "Ready To Call...");
    EXPECT_TRUE(timers.running.empty());
    EXPECT_FALSE(view.bannerVisible);

    phone.lines().SelectLine(1);
    EXPECT_EQ(view.status, "Registering...");
    view.messages.clear();
    phone.entry().MakeCall();
    EXPECT_EQ(view.messages, QStringList{"You are not Registered"});
}

}
}

namespace orvanta::test {
namespace {

TEST(CallControllerWithoutEngine, RefusesCallsInsteadOfCrashing)
{
    FakeCallView view;
    FakeSounds sounds;
    FakeTimers timers;
    FakeCallLog log;
    FakeBalance balance;
    EngineHost missing("/nonexistent/libOrvanta.so");
    CallController phone{missing, CallPorts{view, sounds, timers, log, balance}};
    phone.calls().SessionReady(QStringLiteral("u"));
    phone.entry().keyPress(KeyPress::of(QLatin1Char('5')));
    phone.entry().MakeCall();
    phone.features().Record();
    EXPECT_EQ(phone.state().selected().callId, -1);
    EXPECT_FALSE(phone.state().recording);
}

}
}

namespace orvanta::test {
namespace {

TEST(CallStateMachineLifetime, DelayedRefreshAfterTheControllerIsGoneDoesNothing)
{
    FakeCallView view;
    FakeSounds sounds;
    FakeTimers timers;
    FakeCallLog log;
    FakeBalance balance;
    {
        FakeEngine engine;
        engine.load();
        CallController phone{engine, CallPorts{view, sounds, timers, log, balance}};
        phone.calls().SessionReady(QStringLiteral("u"));
        phone.state().number = QStringLiteral("12");
        phone.entry().MakeCall();
        const int id = phone.state().selected().callId;
        for (int s : {ORVANTA_CALL_CALLING, ORVANTA_CALL_CONNECTED, ORVANTA_CALL_DISCONNECTED}) {
            phone.calls().OnCallState(id, s);
        }
    }
    ASSERT_EQ(timers.pending.size(), 1u);
    timers.firePending();
    EXPECT_EQ(balance.queries, 0);
}

}
}
