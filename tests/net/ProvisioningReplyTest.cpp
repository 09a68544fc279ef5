#include "net/ProvisioningReply.h"
#include "net/PortalClient.h"
#include "net/ServiceDirectory.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

using namespace orvanta;

TEST(ProvisioningReply, ReadsStringsAndTreatsOtherValuesAsEmpty)
{
    const auto reply = ProvisioningReply::parse(
        R"({"status":"1","registrarip":"10.0.0.5","ip":"10.0.0.6:5061","vpn":"on",)"
        R"("newkey":"012-345-678","prefix":"111-222-333","oldkey":"k\u00e9y","size":"20",)"
        R"("sprt":"5070x","rereg":42,"header":"Welcome","Signup_url":"http://s/"})");
    ASSERT_TRUE(reply);
    EXPECT_TRUE(reply->accepted());
    EXPECT_EQ(reply->registrarIp, "10.0.0.5");
    EXPECT_EQ(reply->rereg, "") << "a number is not a string";
    EXPECT_EQ(reply->footer, "") << "missing key";
    EXPECT_EQ(reply->signupUrl, "http://s/");

    const EngineConfiguration config = reply->engineConfiguration();
    EXPECT_EQ(config.packetTime, 20);
    EXPECT_EQ(config.sipPort, 5070) << "leading digits count";
    EXPECT_EQ(config.expiry, 0);
    EXPECT_TRUE(config.encryption);
    EXPECT_EQ(config.numericKeyDashes, 2);
    EXPECT_EQ(config.numericKey.a, 12);
    EXPECT_EQ(config.numericKey.b, 345);
    EXPECT_EQ(config.numericKey.c, 678);
    EXPECT_EQ(config.prefix.c, 333);
    EXPECT_EQ(config.textKey, QByteArray("k\xE9y"));
    EXPECT_EQ(config.proxyHost, "10.0.0.6:5061");
}

TEST(ProvisioningReply, RejectsTextThatIsNotAnObject)
{
    for (const char* text : {"", "server error", "[1,2]", "{\"status\":", "\"1\""}) {
        EXPECT_FALSE(ProvisioningReply::parse(text)) << text;
    }
}

struct NumberCase {
    const char* text;
    int value;
};

TEST(ProvisioningReply, NumbersAreLeadingDigitsOrZero)
{
    const NumberCase cases[] = {{"60", 60},   {" 7 ", 7},         {"-3", -3},
                                {"+4", 4},    {"abc", 0},         {"", 0},
                                {"12ab", 12}, {"99999999999", 0}, {"2147483647", 2147483647}};
    for (const NumberCase& c : cases) {
        EXPECT_EQ(leadingInteger(QString::fromLatin1(c.text)), c.value) << c.text;
    }
}

TEST(ProvisioningReply, ThirdKeyGroupNeedsTwoDashes)
{
    EXPECT_EQ(keyGroups("123-456x789", ThirdGroup::OnlyWithTwoDashes).third, 0);
    EXPECT_EQ(keyGroups("123-456x789", ThirdGroup::Always).third, 789);
    const KeyGroups shortKey = keyGroups("1-2", ThirdGroup::OnlyWithTwoDashes);
    EXPECT_EQ(shortKey.dashes, 1);
    EXPECT_EQ(shortKey.first, 1);
}

TEST(PortalAnswer, LastElementWinsAndNonArraysChangeNothing)
{
    const PortalAnswer answer =
        parsePortalAnswer("  {\"listclient\":[{\"idClient\":\"1\",\"sippassword\":\"a\",\"aid\":7},"
                          "{\"idClient\":\"2\",\"sippassword\":\"b\"},{\"sippassword\":5}]}\r\n");
    EXPECT_EQ(answer.idClient, QByteArray("2"));
    EXPECT_EQ(answer.sipPassword, QByteArray("b")) << "a number is not a password";
    EXPECT_EQ(answer.aid, QByteArray("7"));

    for (const char* text : {"{\"listclient\":{\"idClient\":\"1\"}}", "[]", "garbage", ""}) {
        const PortalAnswer none = parsePortalAnswer(text);
        EXPECT_FALSE(none.idClient || none.sipPassword || none.aid) << text;
    }
}

TEST(BalanceAnswer, LastElementWinsAndUnreadableRepliesGiveNothing)
{
    const struct {
        const char* name;
        const char* text;
        std::optional<BalanceAnswer> expected;
    } cases[] = {
        {"one entry", R"({"listbalance":[{"balance":"12.50","currency":"USD"}]})",
         BalanceAnswer{"12.50", "USD"}},
        {"the last entry wins",
         R"({"listbalance":[{"balance":"1","currency":"EUR"},{"balance":"2","currency":"USD"}]})",
         BalanceAnswer{"2", "USD"}},
        {"a missing value keeps the one before",
         R"({"listbalance":[{"balance":"1","currency":"EUR"},{"balance":"3"}]})",
         BalanceAnswer{"3", "EUR"}},
        {"white space and line breaks around",
         " \r\n{\"listbalance\":\r\n[{\"balance\":\"4\"}]}\r\n", BalanceAnswer{"4", ""}},
        {"numbers are not texts", R"({"listbalance":[{"balance":5,"currency":"USD"}]})",
         BalanceAnswer{"", "USD"}},
        {"not an array", R"({"listbalance":{"balance":"1"}})", std::nullopt},
        {"no list", R"({"balance":"1"})", std::nullopt},
        {"not JSON", "<html>busy</html>", std::nullopt},
        {"empty", "", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<BalanceAnswer> answer = parseBalanceAnswer(c.text);
        ASSERT_EQ(answer.has_value(), c.expected.has_value());
        if (answer) {
            EXPECT_EQ(answer->balance, c.expected->balance);
            EXPECT_EQ(answer->currency, c.expected->currency);
        }
    }
}

TEST(PortalAnswer, AddressEncodesEachValueOnce)
{
    EXPECT_EQ(portalLoginUrl("https://p:1/", "pwduser", "a&b #+%"),
              "https://p:1/vportal/API/TRAMOZED/"
              "login_api.php?user=pwduser&password=a%26b%20%23%2B%25&aid=");
}

}

namespace {

TEST(ServiceDirectory, ProvisionedAddressesFollowTheLatestReply)
{
    ServiceDirectory services(DeploymentSettings{"https://prov/", "https://portal", "http://web"});
    ProvisioningReply first;
    first.apiUrl = "http://api/1";
    first.smsUrl = "http://sms/1";
    first.myAccounts = "http://my/1";
    first.oRecharge = "http://recharge/1";
    first.signupUrl = "http://signup/1";
    services.takeProvisioning(first);
    EXPECT_EQ(services.accountApiUrl(), "http://api/1");
    EXPECT_EQ(services.smsUrl(), "http://sms/1");
    EXPECT_EQ(services.myAccountsUrl(), "http://my/1");
    EXPECT_EQ(services.rechargeUrl(), "http://recharge/1");
    EXPECT_EQ(services.signUpUrl(), "http://signup/1");

    // A later sign-in's reply without a recharge page leaves none behind.
    ProvisioningReply second = first;
    second.oRecharge.clear();
    services.takeProvisioning(second);
    EXPECT_EQ(services.rechargeUrl(), "");
    EXPECT_EQ(services.portalUrl(), "https://portal");
}

}
