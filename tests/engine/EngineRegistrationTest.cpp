#include "engine/EngineFixture.h"

namespace orvanta::test {
namespace {

struct RegistrarCase {
    const char* name;
    SippRegistrar::Reply reply;
    const char* password;
    int expectedCode;
};

class RegistrationWithSipp : public EngineFixture, public ::testing::WithParamInterface<RegistrarCase> {};

TEST_P(RegistrationWithSipp, ReportsTheRegistrarsFinalCode)
{
    const auto& param = GetParam();
    SippRegistrar registrar(param.reply, {"alice", "secret"});
    EXPECT_EQ(registerAt(registrar.hostPort(), "alice", param.password), param.expectedCode) << registrar.output();
    // One final result per attempt, not one per retransmission.
    EXPECT_TRUE(events().quietFor(300ms));
    EXPECT_TRUE(registrar.isRunning()) << registrar.output();
}

INSTANTIATE_TEST_SUITE_P(
    Replies, RegistrationWithSipp,
    ::testing::Values(RegistrarCase{"Ok", SippRegistrar::Reply::Ok, "secret", 200},
                      RegistrarCase{"DigestAccepted", SippRegistrar::Reply::Challenge, "secret", 200},
                      RegistrarCase{"DigestRejected", SippRegistrar::Reply::Challenge, "wrong", 403},
                      RegistrarCase{"Forbidden", SippRegistrar::Reply::Forbidden, "secret", 403},
                      RegistrarCase{"NotFound", SippRegistrar::Reply::NotFound, "secret", 404},
                      RegistrarCase{"RequestTimeout", SippRegistrar::Reply::RequestTimeout, "secret", 408}),
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

}
}
