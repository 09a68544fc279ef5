#include "session/EngineStarter.h"

#include "FakeEngine.h"

#include <gtest/gtest.h>

namespace {

using namespace orvanta;
using Lines = std::vector<std::string>;

// Marks where the user's settings come in.
struct MarkedSettings : EngineStartSettings {
    explicit MarkedSettings(test::FakeEngine& e) : engine(e) {}
    void beforeInit(Engine&) override { engine.journal.push_back("network settings"); }
    void applyCodecOrder(Engine&) override { engine.journal.push_back("codec order"); }
    test::FakeEngine& engine;
};

TEST(EngineStarter, StartsAfreshThenEncryptsSetsCodecsAndRegisters)
{
    test::FakeEngine engine;
    MarkedSettings settings(engine);
    EngineStarter starter(engine, settings);
    ASSERT_TRUE(starter.load());
    ProvisioningReply reply;
    reply.registrarIp = "reg.example";
    reply.size = "20";
    reply.sprt = "5070";
    reply.rereg = "600";
    EXPECT_EQ(starter.startAccount(reply, "demo", "sip"), engine.accountHandle);
    const Lines first = engine.journal;
    EXPECT_EQ(first, (Lines{"callbacks", "network settings", "init(20,5070)", "sip2(0,\"\")",
                            "rtp(0,0,0,0,0,0,0)", "codec order",
                            "registerAccount(\"sip:demo@reg.example\",\"sip:demo@reg.example\","
                            "\"*\",\"demo\",\"sip\",null,1,600,0,0)"}));
    EXPECT_TRUE(engine.callbacks.registration && engine.callbacks.callState &&
                engine.callbacks.incoming && engine.callbacks.message);

    // A second start on a running engine shuts the first one down.
    engine.journal.clear();
    starter.startAccount(reply, "demo", "sip");
    ASSERT_FALSE(engine.journal.empty());
    EXPECT_EQ(engine.journal.front(), "shutdown()");
}

TEST(EngineStarter, WithoutTheLibraryNothingRegisters)
{
    test::FakeEngine engine;
    engine.loadable = false;
    EngineStarter starter(engine);
    EXPECT_FALSE(starter.load());
    EXPECT_EQ(starter.startAccount(ProvisioningReply{}, "demo", "sip"), -1);
}

}
