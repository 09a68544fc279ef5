#include "CodecPriorities.h"
#include "EngineThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>

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

TEST(EngineThread, RunsCommandsInOrderOnItsThreadAndTeardownLast)
{
    EngineThread thread(std::chrono::milliseconds(5));
    std::atomic<int> ticks{0};
    std::vector<int> order;
    std::thread::id ranOn;
    ASSERT_TRUE(thread.start([] { return true; }, [&] { ++ticks; }));
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
    EngineThread thread(std::chrono::milliseconds(5));
    EXPECT_FALSE(thread.start([] { return false; }, [] {}));
    EXPECT_FALSE(thread.post([] {}));
}

}
}
