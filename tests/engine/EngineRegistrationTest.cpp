#include "engine/EngineFixture.h"

#include <algorithm>

namespace orvanta::test {
namespace {

struct RegistrarCase {
    const char* name;
    SippRegistrar::Reply reply;
    const char* password;
    int expectedCode;
};

class RegistrationWithSipp : public EngineFixture,
                             public ::testing::WithParamInterface<RegistrarCase> {};

TEST_P(RegistrationWithSipp, ReportsTheRegistrarsFinalCode)
{
    const auto& param = GetParam();
    SippRegistrar registrar(param.reply, {"alice", "secret"});
    EXPECT_EQ(registerAt(registrar.hostPort(), "alice", param.password), param.expectedCode)
        << registrar.output();
    // One final result per attempt, not one per retransmission.
    EXPECT_TRUE(events().quietFor(300ms));
    EXPECT_TRUE(registrar.isRunning()) << registrar.output();
}

INSTANTIATE_TEST_SUITE_P(
    Replies, RegistrationWithSipp,
    ::testing::Values(
        RegistrarCase{"Ok", SippRegistrar::Reply::Ok, "secret", 200},
        RegistrarCase{"DigestAccepted", SippRegistrar::Reply::Challenge, "secret", 200},
        RegistrarCase{"DigestRejected", SippRegistrar::Reply::Challenge, "wrong", 403},
        RegistrarCase{"Forbidden", SippRegistrar::Reply::Forbidden, "secret", 403},
        RegistrarCase{"NotFound", SippRegistrar::Reply::NotFound, "secret", 404},
        RegistrarCase{"RequestTimeout", SippRegistrar::Reply::RequestTimeout, "secret", 408},
        RegistrarCase{"ServiceUnavailable", SippRegistrar::Reply::ServiceUnavailable, "secret",
                      503}),
    [](const auto& info) { return std::string(info.param.name); });

using RegistrationUnanswered = EngineFixture;

TEST_F(RegistrationUnanswered, SilentRegistrarIsReportedAs408InBoundedTime)
{
    SilentUdpPeer silent;
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(registerAt("127.0.0.1:" + std::to_string(silent.port()), "alice", "secret"), 408);
    EXPECT_LT(std::chrono::steady_clock::now() - started, kRegisterTimeout + 1500ms);
}

TEST_F(RegistrationUnanswered, UnreachableRegistrarIsReportedAs408)
{
    EXPECT_EQ(registerAt("127.0.0.1:" + std::to_string(freePort()), "alice", "secret"), 408);
}

using UnusableAddress = EngineFixture;

// The engine cannot even start these registrations: each is reported once,
// with the engine's own code, instead of leaving the caller waiting.
TEST_F(UnusableAddress, IsReportedWithItsOwnCode)
{
    for (const char* uri : {"sip:j\xc3\xb6rg@127.0.0.1", "no address at all", "sip:alice@"}) {
        events().clear();
        const int account = api().registerAccount(uri, uri, "*", "alice", "x", nullptr, 1, 0, 0, 0);
        ASSERT_GT(account, 0) << uri;
        EXPECT_EQ(events().waitForRegistration(account, 2s), ORVANTA_REG_ADDRESS_REFUSED) << uri;
        EXPECT_TRUE(events().quietFor(300ms)) << uri;
    }
}

using EngineWithoutAccount = EngineFixture;

TEST_F(EngineWithoutAccount, RefusesWhatNeedsAnAccountOrARunningEngine)
{
    EXPECT_EQ(api().init(0, 0), -1) << "already running";
    EXPECT_EQ(api().callConference(1), -1) << "no registered account";
    EXPECT_EQ(api().registerAccount(nullptr, nullptr, "*", "alice", "x", nullptr, 1, 0, 0, 0), -1);
    const int call = api().makeCall(7, "sip:bob@127.0.0.1");
    ASSERT_GT(call, 0);
    EXPECT_TRUE(events().waitForCallState(call, ORVANTA_CALL_DISCONNECTED, 2s))
        << "unknown account";

    EXPECT_EQ(api().dialDtmf(call, "x", 1), -1);
    EXPECT_EQ(api().dialDtmf(call, "", 1), -1);

    ASSERT_EQ(api().shutdown(), 0);
    running_ = false;
    EXPECT_EQ(api().makeCall(1, "sip:bob@127.0.0.1"), -1);
    EXPECT_EQ(api().releaseCall(call), -1);
    EXPECT_EQ(api().shutdown(), -1);

    SilentUdpPeer taken;
    EXPECT_EQ(api().init(0, taken.port()), -1) << "port in use";
}

TEST_F(EngineWithoutAccount, ListsItsCodecs)
{
    const int count = api().getNumOfCodecs();
    ASSERT_GT(count, 3);
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        char name[64];
        ASSERT_GT(api().getCodec(i, name, sizeof(name)), 0);
        names.emplace_back(name);
    }
    EXPECT_NE(std::find(names.begin(), names.end(), "PCMU/8000/1"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "PCMA/8000/1"), names.end());
    EXPECT_EQ(api().getCodec(count, nullptr, 0), -1);
    char tiny[5];
    EXPECT_EQ(api().getCodec(0, tiny, sizeof(tiny)), static_cast<int>(names[0].size()));
    EXPECT_EQ(std::string(tiny), names[0].substr(0, 4));
}

}
}
