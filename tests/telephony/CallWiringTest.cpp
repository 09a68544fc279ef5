#include "CallFixture.h"
#include "telephony/EngineEvents.h"
#include "telephony/PlayerCallSounds.h"
#include "telephony/QtCallTimers.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace orvanta::test {
namespace {

bool processUntil(const std::function<bool()>& done, int limitMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limitMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
}

class CallWiring : public CallFixture {};

TEST_F(CallWiring, EngineEventsReachTheStateMachine)
{
    EngineEvents events;
    phone.attach(events);
    emit events.incomingCall(7, QStringLiteral("sip:4711@sip.example"));
    emit events.callState(7, ORVANTA_CALL_INCOMING);  // the engine repeats the offer as a state
    emit events.callState(7, ORVANTA_CALL_DISCONNECTED);
    EXPECT_EQ(log.entries, (std::vector<LogEntry>{{"4711", "", 'M'}}));
    for (int n = 0; n < PhoneState::kCallLines; ++n) {
        EXPECT_FALSE(line(n).inUse()) << n;
    }
}

TEST(QtCallTimersTest, LineTimerTicksAndDelayedActionRuns)
{
    QtCallTimers timers;
    std::vector<int> ticks;
    timers.setTickHandler([&](int line) { ticks.push_back(line); });
    bool ran = false;
    timers.runLater(10, [&] { ran = true; });
    timers.startLineTimer(2);
    timers.startLineTimer(3);
    timers.stopLineTimer(3);
    timers.startLineTimer(7);  // no such line: ignored
    ASSERT_TRUE(processUntil([&] { return !ticks.empty(); }, 3000));
    EXPECT_TRUE(ran);
    EXPECT_EQ(ticks, std::vector<int>{2});
}

}
}
