#include "ServiceFixture.h"

#include "net/RequestProtection.h"

using namespace orvanta;
using namespace orvanta::test;

namespace {

// Every key the dialer reads from the reply.
const char* const kReplyKeys[] = {
    "status",     "ip",      "registrarip", "vpn",     "newkey", "oldkey",     "prefix",
    "size",       "sprt",    "rereg",       "rtrp",    "keep",   "fips",       "fports",
    "header",     "footer",  "myaccounts",  "balance", "email",  "orecharge",  "webcdr",
    "webcdr_url", "api_url", "sms_url",     "sms",     "im",     "Signup_url", "connectiontype",
    "ivr",        "en_pref", "key"};

}

class Provisioning : public ServiceFixture {
protected:
    httplib::Result provision(const std::string& requestBody)
    {
        return postForm("provisioning", "/", requestBody);
    }

    rapidjson::Document provisionWith(RequestProtection& protection)
    {
        const auto result = provision(protection.body());
        EXPECT_TRUE(result);
        EXPECT_LE(body(result).size(), 1025u);
        return parseJson(scrambled(body(result), protection.key()));
    }
};

TEST_F(Provisioning, ReplyDescramblesWithTheRequestKeyToTheConfiguration)
{
    RequestProtection protection;
    const auto reply = provisionWith(protection);
    ASSERT_TRUE(reply.IsObject());
    for (const char* key : kReplyKeys)
        EXPECT_TRUE(reply.HasMember(key) && reply[key].IsString()) << key;
    EXPECT_EQ(member(reply, "status"), "1");
    EXPECT_EQ(member(reply, "registrarip"), "127.0.0.1:5999");
    EXPECT_EQ(member(reply, "header"), "Hello");
    // The service addresses point back at this process.
    EXPECT_EQ(member(reply, "api_url"), service.url("accountapi") + "/accountapi");
    EXPECT_EQ(member(reply, "sms_url"),
              service.url("sms") + "/smsgateway?user=u1s1erzzto=d1n2u3mzzmsg=smstext");
    EXPECT_EQ(member(reply, "Signup_url"), service.url("webapi") + "/NewUserSignUp.jsp");
    EXPECT_EQ(member(reply, "myaccounts"), service.url("webapi") + "/myaccounts.jsp");
    EXPECT_EQ(member(reply, "orecharge"), service.url("webapi") + "/orecharge.jsp");

    const auto logged = service.waitForRequests(1, "provisioning");
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0].extra.at("name"), "Orvanta");
    EXPECT_EQ(logged[0].extra.at("key"), protection.key());
    EXPECT_EQ(logged[0].form.at(protection.parts().tokenA), protection.parts().tokenB);

    // The same tokens give the same reply bytes.
    EXPECT_EQ(body(provision(protection.body())), body(provision(protection.body())));
}

TEST_F(Provisioning, RefusesAWrongNameOrAMalformedBody)
{
    ProvisioningBody wrongName{"AB12", "CD34", "EFGH5678", scrambled("Orvantb", "AB12CD34")};
    struct Case {
        std::string body;
        int status;
    };
    for (const Case& c :
         {Case{wrongName.text(), 403}, Case{"user=demo&password=demo", 400}, Case{"", 400}}) {
        const auto result = provision(c.body);
        ASSERT_TRUE(result) << c.body;
        EXPECT_EQ(result->status, c.status) << c.body;
        EXPECT_EQ(result->body, "") << c.body;
    }
    EXPECT_EQ(service.waitForRequests(3, "provisioning").at(0).extra.at("name"), "Orvantb");
}

TEST_F(Provisioning, ControlEndpointChangesValuesButKeepsTheReplyReadable)
{
    ASSERT_EQ(service.control(R"({"provisioning": {"status": "3", "api_url": ""}})"), "");
    RequestProtection protection;
    auto reply = provisionWith(protection);
    EXPECT_EQ(member(reply, "status"), "3");
    EXPECT_EQ(member(reply, "api_url"), "");

    const std::string big(900, 'x');
    EXPECT_NE(service.control(R"({"provisioning": {"status": "0", "footer": ")" + big + "\"}}")
                  .find("1025"),
              std::string::npos);
    reply = provisionWith(protection);
    EXPECT_EQ(member(reply, "status"), "3");
    EXPECT_EQ(member(reply, "footer"), "");
}

TEST_F(Provisioning, RegistrarOptionReplacesTheAnnouncedAddresses)
{
    service.stop();
    start(kTestScenario, {"--registrar", "127.0.0.1:5070"});
    RequestProtection protection;
    const auto reply = provisionWith(protection);
    EXPECT_EQ(member(reply, "registrarip"), "127.0.0.1:5070");
    EXPECT_EQ(member(reply, "ip"), "127.0.0.1:5070");
}
