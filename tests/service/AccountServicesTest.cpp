#include "ServiceFixture.h"

using namespace orvanta::test;

class Portal : public ServiceFixture {};

TEST_F(Portal, LoginAnswersTheAccountOnlyForTheRightPassword)
{
    const auto login = [&](const std::string& user, const std::string& password) {
        return parseJson(body(get("portal", "/vportal/API/TRAMOZED/login_api.php?user=" + user +
                                                "&password=" + password + "&aid=")));
    };
    const auto ok = login("alice", "secret1");
    ASSERT_TRUE(ok.IsObject() && ok["listclient"].IsArray() && ok["listclient"].Size() == 1);
    EXPECT_EQ(member(ok["listclient"][0], "idClient"), "501");
    EXPECT_EQ(member(ok["listclient"][0], "sippassword"), "sip-alice");
    EXPECT_EQ(member(ok["listclient"][0], "aid"), "9");
    // Defaults for an account that names neither.
    const auto bob = login("bob", "secret2");
    EXPECT_EQ(member(bob["listclient"][0], "idClient"), "1001");
    EXPECT_EQ(member(bob["listclient"][0], "aid"), "2");

    for (const auto& [user, password] :
         {std::pair{"alice", "secret2"}, std::pair{"nobody", "secret1"}, std::pair{"alice", ""}}) {
        const auto refused = login(user, password);
        ASSERT_TRUE(refused.IsObject() && refused["listclient"].IsArray()) << user;
        EXPECT_EQ(refused["listclient"].Size(), 0u) << user << "/" << password;
    }
    const auto logged = service.waitForRequests(5, "portal.login");
    ASSERT_EQ(logged.size(), 5u);
    EXPECT_EQ(logged[0].query.at("password"), "secret1");
    EXPECT_EQ(logged[0].query.at("aid"), "");
}

TEST_F(Portal, BalanceAnswersTheLiveBalanceOfKnownUsers)
{
    const auto alice = parseJson(
        body(get("portal", "/vportal/API/TRAMOZED/balance_api.php?user=alice&idClient=IDCLIENT")));
    ASSERT_TRUE(alice.IsObject() && alice["listbalance"].IsArray() &&
                alice["listbalance"].Size() == 1);
    EXPECT_EQ(member(alice["listbalance"][0], "balance"), "1.00");
    EXPECT_EQ(member(alice["listbalance"][0], "currency"), "EUR");
    EXPECT_EQ(balanceOf("nobody"), "<none>");
}

class AccountApi : public ServiceFixture {
protected:
    std::string post(const std::string& user, const std::string& type, const std::string& rest)
    {
        return body(postForm("accountapi", "/accountapi?",
                             "un=" + md5(user) + "&type=" + md5(type) + rest));
    }
};

TEST_F(AccountApi, RateLookupUsesTheNumbersRateAndTheBalance)
{
    struct Case {
        const char* user;
        const char* number;
        const char* reply;
    };
    for (const Case& c : {Case{"alice", "4420", R"({"rate":"0.03","mins":"33"})"},
                          Case{"alice", "999", R"({"rate":"0.10","mins":"10"})"},
                          Case{"bob", "999", R"({"rate":"0.10","mins":"0"})"},
                          Case{"nobody", "4420", R"({"error":"Invalid user"})"}})
        EXPECT_EQ(post(c.user, "creditmins", "&pf=" + md5(c.number)), c.reply)
            << c.user << " " << c.number;
    EXPECT_EQ(service.waitForRequests(4, "accountapi.creditmins").at(0).extra.at("number"), "4420");
}

TEST_F(AccountApi, VoucherCreditsOnceAndRefusesUsedOrUnknownVouchers)
{
    EXPECT_EQ(post("alice", "voucher", "&vc=" + md5("V100")),
              R"({"success":"Recharge done, 2.50 EUR added to your account"})");
    EXPECT_EQ(balanceOf("alice"), "3.50");
    EXPECT_EQ(post("bob", "voucher", "&vc=" + md5("V100")), R"({"error":"Voucher already used"})");
    EXPECT_EQ(post("alice", "voucher", "&vc=" + md5("V200")),
              R"({"error":"Voucher already used"})");
    EXPECT_EQ(post("alice", "voucher", "&vc=" + md5("V999")),
              R"({"error":"Invalid voucher number"})");
    EXPECT_EQ(post("alice", "refund", "&vc=" + md5("V999")), R"({"error":"Invalid request type"})");
    EXPECT_EQ(balanceOf("alice"), "3.50");
    EXPECT_EQ(balanceOf("bob"), "0.02");
}

TEST_F(AccountApi, PinToPinMovesCreditOrExplainsWhyNot)
{
    struct Case {
        const char* amount;
        const char* destination;
        const char* reply;
    };
    for (const Case& c :
         {Case{"0.40x", "bob", R"({"error":"Invalid amount"})"},
          Case{"0", "bob", R"({"error":"Invalid amount"})"},
          Case{"0.40", "nobody", R"({"error":"Destination account not found"})"},
          Case{"0.40", "alice", R"({"error":"Cannot transfer to the same account"})"},
          Case{"1.01", "bob", R"({"error":"Insufficient balance"})"}}) {
        EXPECT_EQ(post("alice", "pin2pin",
                       std::string("&am=") + c.amount + "&dstun=" + md5(c.destination)),
                  c.reply)
            << c.amount << " " << c.destination;
    }
    EXPECT_EQ(balanceOf("alice"), "1.00");

    EXPECT_EQ(post("alice", "pin2pin", "&am=0.40&dstun=" + md5("bob")),
              R"({"success":"Transferred 0.40 EUR to bob"})");
    EXPECT_EQ(balanceOf("alice"), "0.60");
    EXPECT_EQ(balanceOf("bob"), "0.42");
}

class SmsGateway : public ServiceFixture {
protected:
    // Fills the provisioned template the way the dialer does; spaces are
    // escaped as WinINet sends them.
    httplib::Result send(const std::string& user, const std::string& number,
                         const std::string& text)
    {
        const auto state = parseJson(service.state());
        std::string url = member(state["provisioning"], "sms_url");
        url = replace(url, "zz", "&");
        url = replace(url, "u1s1er", user);
        url = replace(url, "d1n2u3m", number);
        url = replace(url, "smstext", replace(text, " ", "%20"));
        const std::string base = service.url("sms");
        EXPECT_EQ(url.rfind(base, 0), 0u) << url;
        return get("sms", url.substr(base.size()));
    }

    std::string response(const httplib::Result& result)
    {
        return member(parseJson(body(result)), "response");
    }
};

TEST_F(SmsGateway, SendingChargesTheSender)
{
    EXPECT_EQ(response(send("alice", "4420", "see you at 5")), "Your Message Sent Successfully");
    EXPECT_EQ(balanceOf("alice"), "0.95");
    const auto logged = service.waitForRequests(1, "sms");
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0].query.at("msg"), "see you at 5");
    EXPECT_EQ(logged[0].query.at("to"), "4420");
}

TEST_F(SmsGateway, RefusesWithAReasonAndChargesNothing)
{
    struct Case {
        const char* user;
        const char* number;
        const char* text;
        const char* response;
    };
    for (const Case& c : {Case{"nobody", "4420", "hi", "Invalid User"},
                          Case{"alice", "4420", "", "Message text is empty"},
                          Case{"alice", "", "hi", "Invalid Number"},
                          Case{"bob", "4420", "hi", "Insufficient balance"}})
        EXPECT_EQ(response(send(c.user, c.number, c.text)), c.response) << c.user << " " << c.text;
    EXPECT_EQ(balanceOf("alice"), "1.00");
    EXPECT_EQ(balanceOf("bob"), "0.02");
}
