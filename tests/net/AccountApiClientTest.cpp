#include "net/AccountApiClient.h"
#include "support/ServicePrinters.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

using namespace orvanta;

// MD5 digests of the texts, from md5sum.
const std::string kAlice = "6384e2b2184bcbf58eccf10ca7a6563c";
const std::string kBob = "9f9d51bc70ef21ca5c14f307980a29d8";
const std::string kCreditMins = "e52c3007d9eb49f890eb48fbc01b607f";
const std::string kVoucher = "25a8ce08b56217eff55cc0cca382613d";
const std::string kPinToPin = "8228d2b2411af39181738991d1162cd7";

TEST(AccountApiBody, IsTheDigestsInTheirOrder)
{
    const std::pair<std::string, std::string> cases[] = {
        {rateRequestBody("alice", "442071234567"),
         "un=" + kAlice + "&type=" + kCreditMins + "&pf=0bb4ae2b984b575fdcfec7f38ab89945"},
        {voucherRequestBody("alice", "V100"),
         "un=" + kAlice + "&type=" + kVoucher + "&vc=1f5d2defb597c51bc202fd77ed94902b"},
        {transferRequestBody("bob", "12.5", "alice"),
         "un=" + kBob + "&type=" + kPinToPin + "&am=12.5&dstun=" + kAlice},
        {transferRequestBody("bob", "1&x=2", "alice"),
         "un=" + kBob + "&type=" + kPinToPin + "&am=1%26x%3D2&dstun=" + kAlice},
    };
    for (const auto& [body, expected] : cases) {
        EXPECT_EQ(body, expected);
    }
    EXPECT_EQ(digest(QString::fromUtf8("café")), "07117fe4a1ebd544965dc19573183da2");
    EXPECT_EQ(accountApiUrl("http://127.0.0.1:8/accountapi"), "http://127.0.0.1:8/accountapi?");
}

TEST(RateAnswer, NeedsBothStringsAndTellsZeroMinutes)
{
    const std::pair<std::string, RateAnswer> cases[] = {
        {R"({"rate":"0.02","mins":"150"})", {RateOutcome::Rate, "0.02", "150"}},
        {R"({"mins":"0","rate":"0.50"})", {RateOutcome::ZeroMinutes, "0.50", "0"}},
        {R"({"rate":"0","mins":"5"})", {RateOutcome::Rate, "0", "5"}},
        {R"({"rate":"0.02","mins":"00"})", {RateOutcome::Rate, "0.02", "00"}},
        {R"({"rate":"0.02"})", {}},
        {R"({"rate":"","mins":"5"})", {}},
        {R"({"rate":0.02,"mins":150})", {}},
        {R"([{"rate":"0.02","mins":"150"}])", {}},
        {"Internal Server Error", {}},
        {"", {}},
    };
    for (const auto& [body, expected] : cases) {
        EXPECT_EQ(parseRateAnswer(body), expected) << body;
    }
}

TEST(RechargeReply, IsJudgedByWhereSuccessStandsAndCutToTheFirstBrace)
{
    struct Case {
        const char* name;
        QString body;
        RechargeVerdict expected;
    };
    const Case cases[] = {
        {"success",
         R"({"success":"Recharge done, 10.00 USD added to your account"})",
         {true, "Recharge done, 10.00 USD added to your account"}},
        {"error", R"({"error":"Voucher already used"})", {false, "Voucher already used"}},
        {"success at the very start fails", R"(success":"Recharge done"})", {false, ""}},
        {"no closing brace gives no text", R"({"success":"Recharge do)", {true, ""}},
        {"a brace before the word gives no text", R"({}{"error":"Invalid user"})", {false, ""}},
        {"colons and quotes are removed",
         R"({"success":"Done: at 10:00"})",
         {true, "Done at 1000"}},
        {"success anywhere after the start wins",
         R"({"error":"no","success":"yes"})",
         {true, "yes"}},
        {"an error page", "Internal Server Error", {false, ""}},
        {"an empty reply", "", {false, ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(judgeRechargeReply(c.body), c.expected);
    }
}

TEST(ReplyBody, IsIncompleteWhenShorterThanAnnounced)
{
    struct Case {
        std::string header;
        std::string body;
        bool complete;
    };
    const Case cases[] = {
        {"HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n", "0123456789", true},
        {"HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n", "01234", false},
        {"HTTP/1.1 200 OK\r\ncontent-length:  4 \r\n\r\n", "012", false},
        {"HTTP/1.0 200 OK\r\n\r\n", "", true},
        {"HTTP/1.1 200 OK\r\nContent-Length: many\r\n\r\n", "x", true},
        {"", "", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(replyBodyComplete(c.header, c.body), c.complete) << c.header << c.body;
    }
}

}
