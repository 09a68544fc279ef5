#include "support/ScriptedEngine.h"
#include "support/TestEnvironment.h"
#include "telephony/EngineLibrary.h"

#include <gtest/gtest.h>

#include <mutex>
#include <thread>

namespace orvanta::test {
namespace {

struct Seen {
    std::string what;
    std::thread::id thread;
};

std::mutex seenMutex;
std::vector<Seen> seen;

void note(std::string what)
{
    std::lock_guard lock(seenMutex);
    seen.push_back({std::move(what), std::this_thread::get_id()});
}

int onRegistration(int account, int code)
{
    note("reg " + std::to_string(account) + " " + std::to_string(code));
    return 1;
}
int onCallState(int call, int state)
{
    note("state " + std::to_string(call) + " " + std::to_string(state));
    return 1;
}
int onIncoming(int call, const char* uri)
{
    note("incoming " + std::to_string(call) + " " + uri);
    return 1;
}
int onMessage(const char* sender, const char* text)
{
    note(std::string("message ") + sender + " " + text);
    return 1;
}

// The code under test loads the library through EngineLibrary; the test
// controls the same instance through ScriptedEngine.
class ScriptedEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto path = binDir() / ScriptedEngine::kFileName;
        ASSERT_TRUE(application.load(path)) << application.error();
        ASSERT_TRUE(engine.load(path)) << engine.error();
        engine.reset();
        std::lock_guard lock(seenMutex);
        seen.clear();
    }

    EngineLibrary application;
    ScriptedEngine engine;
};

TEST_F(ScriptedEngineTest, RecordsCallsWithTheirArgumentsAndReturnsChosenResults)
{
    const auto& api = application.api();
    EXPECT_EQ(api.registerAccount("sip:u@h", "sip:u@h", "*", "u", "p", nullptr, 1, 60, 4000, 15),
              1);
    engine.queueResult("dll_makeCall", 41);
    engine.queueResult("dll_makeCall", 42);
    EXPECT_EQ(api.makeCall(1, "sip:a@h"), 41);
    EXPECT_EQ(api.makeCall(1, "sip:b@h"), 42);
    EXPECT_EQ(api.makeCall(1, "sip:c@h"), 1) << "queued results used up";
    engine.setResult("dll_releaseCall", -1);
    EXPECT_EQ(api.releaseCall(41), -1);

    const auto calls = engine.calls();
    ASSERT_EQ(calls.size(), 5u);
    const auto& registration = calls[0];
    EXPECT_EQ(registration.name, "dll_registerAccount");
    EXPECT_EQ(registration.textArg(3), "u");
    EXPECT_TRUE(registration.isNull(5));
    EXPECT_EQ(registration.intArg(8), 4000);
    EXPECT_EQ(engine.callsTo("dll_makeCall")[1].textArg(1), "sip:b@h");
    EXPECT_EQ(engine.callsTo("dll_releaseCall")[0].intArg(0), 41);

    engine.reset();
    EXPECT_TRUE(engine.calls().empty());
    EXPECT_EQ(api.makeCall(1, "sip:a@h"), 1);
}

TEST_F(ScriptedEngineTest, FiresCallbacksInOrderOnItsOwnThread)
{
    const auto& api = application.api();
    api.setRegStateCallback(&onRegistration);
    api.setCallStateCallback(&onCallState);
    api.setCallIncomingCallback(&onIncoming);
    api.setMessageReceivedCallback(&onMessage);
    EXPECT_TRUE(engine.hasCallback("onCallStateCallback"));
    EXPECT_FALSE(engine.hasCallback("onDtmfDigitCallback"));

    engine.fireRegistration(1, 200);
    engine.fireIncoming(7, "sip:bob@example.net");
    engine.fireCallState(7, 2);
    engine.fireMessage("sip:carol@example.net", "hi");
    engine.fireDtmf(7, '5');  // no callback set: dropped
    ASSERT_TRUE(engine.waitIdle());

    std::lock_guard lock(seenMutex);
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].what, "reg 1 200");
    EXPECT_EQ(seen[1].what, "incoming 7 sip:bob@example.net");
    EXPECT_EQ(seen[2].what, "state 7 2");
    EXPECT_EQ(seen[3].what, "message sip:carol@example.net hi");
    for (const auto& event : seen)
        EXPECT_NE(event.thread, std::this_thread::get_id());
}

}
}
