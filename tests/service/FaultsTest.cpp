#include "ServiceFixture.h"

#include "net/RequestProtection.h"

#include <chrono>
#include <thread>

using namespace orvanta;
using namespace orvanta::test;

class Faults : public ServiceFixture {
protected:
    httplib::Result login()
    {
        return get("portal",
                   "/vportal/API/TRAMOZED/login_api.php?user=alice&password=secret1&aid=");
    }
};

TEST_F(Faults, ReplaceTheAnswerForAsManyRequestsAsConfigured)
{
    const std::string normal = body(login());
    ASSERT_NE(normal.find("sip-alice"), std::string::npos);

    struct Case {
        const char* reply;
        int status;        // 0: the client sees no complete reply
        const char* body;  // nullptr: anything but the normal reply
    };
    for (const Case& c : {Case{"empty", 200, ""}, Case{"serverError", 200, "server error"},
                          Case{"http500", 500, "Internal Server Error"},
                          Case{"garbage", 200, nullptr}, Case{"closeMidReply", 0, nullptr}}) {
        ASSERT_EQ(service.control(std::string(R"({"faults": {"portal.login": {"reply": ")") +
                                  c.reply + R"(", "times": 2}}})"),
                  "");
        for (int round = 0; round < 2; ++round) {
            const auto result = login();
            if (c.status == 0) {
                EXPECT_FALSE(result) << c.reply;
                continue;
            }
            ASSERT_TRUE(result) << c.reply;
            EXPECT_EQ(result->status, c.status) << c.reply;
            if (c.body)
                EXPECT_EQ(result->body, c.body) << c.reply;
            else
                EXPECT_NE(result->body, normal) << c.reply;
        }
        EXPECT_EQ(body(login()), normal) << c.reply << " outlived its two requests";
        EXPECT_EQ(service.waitForRequests(1).back().fault, "none");
    }
    const auto logged = service.requests("portal.login");
    EXPECT_EQ(logged[1].fault, "empty");
    EXPECT_EQ(logged[2].fault, "empty");
}

TEST_F(Faults, DelayHoldsTheReplyAfterTheRequestIsLogged)
{
    ASSERT_EQ(service.control(R"({"faults": {"portal": {"delayMs": 400}}})"), "");
    const auto began = std::chrono::steady_clock::now();
    const auto result = login();
    const auto elapsed = std::chrono::steady_clock::now() - began;
    ASSERT_TRUE(result);
    EXPECT_NE(result->body.find("sip-alice"), std::string::npos);
    EXPECT_GE(elapsed, std::chrono::milliseconds(400));
    EXPECT_LT(elapsed, std::chrono::milliseconds(3000));

    // A service-wide fault covers each of its endpoints until cleared.
    const auto other = std::chrono::steady_clock::now();
    get("portal", "/vportal/API/TRAMOZED/balance_api.php?user=alice&idClient=IDCLIENT");
    EXPECT_GE(std::chrono::steady_clock::now() - other, std::chrono::milliseconds(400));
    ASSERT_EQ(service.control(R"({"faults": {"portal": {}}})"), "");
    const auto cleared = std::chrono::steady_clock::now();
    login();
    EXPECT_LT(std::chrono::steady_clock::now() - cleared, std::chrono::milliseconds(400));
}

TEST_F(Faults, ProvisioningServerErrorIsScrambledLikeAnyReply)
{
    ASSERT_EQ(service.control(R"({"faults": {"provisioning": {"reply": "serverError"}}})"), "");
    RequestProtection protection;
    const auto result = postForm("provisioning", "/", protection.body());
    ASSERT_TRUE(result);
    EXPECT_EQ(scrambled(result->body, protection.key()), "server error");
}

TEST_F(Faults, StateChangesStillHappenBehindAFault)
{
    ASSERT_EQ(service.control(R"({"faults": {"accountapi.voucher": {"reply": "closeMidReply"}}})"),
              "");
    EXPECT_FALSE(postForm("accountapi", "/accountapi?",
                          "un=" + md5("alice") + "&type=" + md5("voucher") + "&vc=" + md5("V100")));
    EXPECT_EQ(balanceOf("alice"), "3.50");
}

TEST_F(Faults, StopDoesNotWaitForADelayedReply)
{
    ASSERT_EQ(service.control(R"({"faults": {"sms": {"delayMs": 30000}}})"), "");
    std::thread client([this] { get("sms", "/smsgateway?user=alice&to=1&msg=hi"); });
    ASSERT_EQ(service.waitForRequests(1, "sms").size(), 1u);
    const auto began = std::chrono::steady_clock::now();
    EXPECT_EQ(service.stop(), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(2));
    client.join();
}
