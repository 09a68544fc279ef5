#include "CodecPriorities.h"
#include "EngineThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <mutex>
#include <string>
#include <vector>

namespace orvanta::engine {
namespace {

using Codec = CodecPriorities::Codec;

std::vector<std::string> offered(const std::vector<Codec>& codecs)
{
    std::vector<std::string> names;
    for (const auto& codec : codecs) {
        if (codec.enabled)
            names.push_back(codec.name);
    }
    return names;
}

TEST(CodecPriorities, OrdersByPriorityDisablesZeroAndKeepsTheRest)
{
    CodecPriorities priorities;
    priorities.set("pcmu/8000/1", 0);
    priorities.set("GSM/8000/1", 10);
    priorities.set("PCMA/8000/1", 255);
    priorities.set("G723/8000/1", 255);  // not available: no effect
    priorities.set("G722/8000/1", 900);  // clamped to 255, after PCMA (stable)
    const std::vector<Codec> available{{"opus/48000/2", true}, {"PCMU/8000/1", true},
                                       {"PCMA/8000/1", false}, {"GSM/8000/1", true},
                                       {"G722/8000/1", true},  {"speex/8000/1", false}};
    const auto arranged = priorities.arrange(available);
    EXPECT_EQ(offered(arranged), (std::vector<std::string>{"PCMA/8000/1", "G722/8000/1",
                                                           "GSM/8000/1", "opus/48000/2"}));
    ASSERT_EQ(arranged.size(), available.size());
    EXPECT_EQ(arranged.back().name, "PCMU/8000/1");
    EXPECT_FALSE(arranged.back().enabled);
}

using namespace std::chrono_literals;

// Rounds that count themselves and let the thread sleep for `wait`.
EngineThread::Rounds countingRounds(std::atomic<int>& rounds, std::chrono::milliseconds wait)
{
    return {[&rounds] { ++rounds; }, [wait] { return wait; }};
}

TEST(EngineThread, RunsCommandsInOrderOnItsThreadAndTeardownLast)
{
    EngineThread thread;
    std::atomic<int> rounds{0};
    std::vector<int> order;
    std::thread::id ranOn;
    ASSERT_TRUE(thread.start([] { return true; }, countingRounds(rounds, 5ms)));
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(thread.post([&, i] {
            order.push_back(i);
            ranOn = std::this_thread::get_id();
        }));
    thread.stop([&] { order.push_back(99); });
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4, 99}));
    EXPECT_NE(ranOn, std::this_thread::get_id());
    EXPECT_FALSE(thread.post([] {}));
}

TEST(EngineThread, FailedSetupEndsTheThread)
{
    EngineThread thread;
    std::atomic<int> rounds{0};
    EXPECT_FALSE(thread.start([] { return false; }, countingRounds(rounds, 5ms)));
    EXPECT_FALSE(thread.post([] {}));
    EXPECT_EQ(rounds, 0);
}

// The thread sleeps as long as the engine allows, yet a command or a wake-up
// ends the sleep at once and is followed by a round.
TEST(EngineThread, SleepsUntilACommandOrAWakeUpArrives)
{
    EngineThread thread;
    std::atomic<int> rounds{0};
    ASSERT_TRUE(thread.start([] { return true; }, countingRounds(rounds, 60s)));
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(rounds, 1) << "a round only after start while nothing happens";

    std::promise<void> ran;
    const auto posted = std::chrono::steady_clock::now();
    ASSERT_TRUE(thread.post([&] { ran.set_value(); }));
    ASSERT_EQ(ran.get_future().wait_for(1s), std::future_status::ready);
    EXPECT_LT(std::chrono::steady_clock::now() - posted, 200ms);

    const int before = rounds;
    thread.wake();
    for (int i = 0; i < 100 && rounds == before; ++i)
        std::this_thread::sleep_for(5ms);
    EXPECT_GT(rounds, before) << "wake() did not end the sleep";
    const auto stopping = std::chrono::steady_clock::now();
    thread.stop({});
    EXPECT_LT(std::chrono::steady_clock::now() - stopping, 500ms);
}

// Started without waiting, the caller returns before setup ends; commands
// queued meanwhile run after a good setup and are dropped after a failed one.
TEST(EngineThread, StartWithoutWaitingKeepsTheOrderOfQueuedCommands)
{
    struct Case {
        bool setupSucceeds;
        std::vector<std::string> expected;
    };
    for (const auto& [succeeds, expected] :
         {Case{true, {"setup", "first", "second", "teardown"}}, Case{false, {"setup", "failed"}}}) {
        EngineThread thread;
        std::atomic<int> rounds{0};
        std::promise<void> release;
        auto released = release.get_future().share();
        std::vector<std::string> order;
        std::mutex orderMutex;
        auto note = [&](const char* what) {
            std::lock_guard lock(orderMutex);
            order.push_back(what);
        };
        const auto began = std::chrono::steady_clock::now();
        ASSERT_TRUE(thread.start(
            [&, succeeds = succeeds] {
                released.wait();
                note("setup");
                return succeeds;
            },
            countingRounds(rounds, 5ms), false, [&] { note("failed"); }));
        EXPECT_LT(std::chrono::steady_clock::now() - began, 100ms);
        EXPECT_TRUE(thread.post([&] { note("first"); }));
        EXPECT_TRUE(thread.post([&] { note("second"); }));
        release.set_value();
        thread.stop([&] { note("teardown"); });
        EXPECT_EQ(order, expected) << (succeeds ? "setup succeeded" : "setup failed");
    }
}

}
}
