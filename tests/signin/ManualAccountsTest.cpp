#include "FakeEngine.h"
#include "signin/AccountPage.h"
#include "signin/ManualLogin.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace orvanta {
namespace {

struct FakeSession : ManualAccountSession {
    void registerDefaultAccount(const SipAccountRecord& account) override
    {
        registered.push_back(account.accountUser);
    }
    std::vector<QString> registered;
};

SipAccountRecord account(const char* server, const char* user, const char* password,
                         int isDefault = 0)
{
    SipAccountRecord a;
    a.accountRegistrar = QString::fromLatin1(server);
    a.accountUser = QString::fromLatin1(user);
    a.accountPassword = QString::fromLatin1(password);
    a.isDefault = isDefault;
    return a;
}

// Every account's server/user/password and a * for the default one.
std::vector<std::string> describe(const SipAccounts& accounts)
{
    std::vector<std::string> rows;
    for (int n = 1; n <= kSipAccountCount; ++n) {
        const SipAccountRecord& a = accounts.record(n);
        rows.push_back((a.accountRegistrar + "/" + a.accountUser + "/" + a.accountPassword +
                        (a.isDefault == 1 ? "*" : ""))
                           .toStdString());
    }
    return rows;
}

SipAccounts eightFullWithDefault(int defaultNumber)
{
    SipAccounts accounts;
    for (int n = 1; n <= kSipAccountCount; ++n) {
        const std::string user = "u" + std::to_string(n);
        accounts.record(n) = account("pbx", user.c_str(), "pw", n == defaultNumber ? 1 : 0);
    }
    return accounts;
}

struct LoginCase {
    const char* name;
    SipAccounts before;
    LoginEntry entry;
    bool overwrite;  // the answer to "All Accounts are full..."
    ManualLoginModel::Result result;
    std::optional<LoginMessage> message;
    bool asked;
    std::vector<std::string> after;
};

TEST(ManualLogin, EnteredAccountFindsItsPlaceInTheTable)
{
    SipAccounts empty;
    SipAccounts otherInFirst;
    otherInFirst.record(1) = account("old", "x", "y");
    SipAccounts withDefault;
    withDefault.record(1) = account("pbx", "alice", "a1", 1);
    withDefault.record(2) = account("pbx", "bob", "b1");
    const std::string none = "//";
    const LoginCase cases[] = {
        {"no server",
         empty,
         {"", "u", "p"},
         true,
         ManualLoginModel::Result::Refused,
         LoginMessage::ServerBlank,
         false,
         std::vector<std::string>(8, none)},
        {"no password",
         empty,
         {"pbx", "u", ""},
         true,
         ManualLoginModel::Result::Refused,
         LoginMessage::CredentialsBlank,
         false,
         std::vector<std::string>(8, none)},
        {"no default: account 1 takes it, whatever it held",
         otherInFirst,
         {"pbx", "u", "p"},
         true,
         ManualLoginModel::Result::Accepted,
         std::nullopt,
         false,
         {"pbx/u/p*", none, none, none, none, none, none, none}},
        {"an account already in the table becomes the default",
         withDefault,
         {"pbx", "bob", "b1"},
         true,
         ManualLoginModel::Result::Accepted,
         std::nullopt,
         false,
         {"pbx/alice/a1", "pbx/bob/b1*", none, none, none, none, none, none}},
        {"a password differing by case is another account",
         withDefault,
         {"pbx", "bob", "B1"},
         true,
         ManualLoginModel::Result::Accepted,
         std::nullopt,
         false,
         {"pbx/alice/a1", "pbx/bob/b1", "pbx/bob/B1*", none, none, none, none, none}},
        {"eight full, overwrite refused",
         eightFullWithDefault(5),
         {"new", "n", "p"},
         false,
         ManualLoginModel::Result::Kept,
         std::nullopt,
         true,
         describe(eightFullWithDefault(5))},
        {"eight full, overwrite allowed",
         eightFullWithDefault(5),
         {"new", "n", "p"},
         true,
         ManualLoginModel::Result::Accepted,
         std::nullopt,
         true,
         {"pbx/u1/pw", "pbx/u2/pw", "pbx/u3/pw", "pbx/u4/pw", "new/n/p*", "pbx/u6/pw", "pbx/u7/pw",
          "pbx/u8/pw"}},
    };
    for (const LoginCase& c : cases) {
        SCOPED_TRACE(c.name);
        SipAccounts accounts = c.before;
        FakeSession session;
        ManualLoginModel model(accounts, session, QStringLiteral("http://web.example:8080/"));
        bool asked = false;
        const ManualLoginModel::Outcome outcome = model.submit(c.entry, [&] {
            asked = true;
            return c.overwrite;
        });
        EXPECT_EQ(outcome.result, c.result);
        EXPECT_EQ(outcome.message, c.message);
        EXPECT_EQ(asked, c.asked);
        EXPECT_EQ(describe(accounts), c.after);
        EXPECT_TRUE(session.registered.empty()) << "registration waits for the dialog to close";
    }
}

TEST(ManualLogin, RegistersTheDefaultAndKnowsItsPages)
{
    SipAccounts accounts;
    accounts.record(3) = account("pbx", "carol", "c1", 1);
    FakeSession session;
    ManualLoginModel model(accounts, session, QStringLiteral("http://web.example:8080/"));
    model.registerDefaultAccount();
    EXPECT_EQ(session.registered, std::vector<QString>{QStringLiteral("carol")});
    EXPECT_EQ(model.defaultCredentials()->user, QStringLiteral("carol"));
    EXPECT_EQ(model.signUpUrl(),
              QStringLiteral("http://web.example:8080/NewUserSignUp.jsp?groupId=Quorbanites"));
    EXPECT_EQ(model.homePageUrl(), QStringLiteral("http://web.example:8080/"));

    accounts.record(3).isDefault = 0;
    EXPECT_FALSE(model.defaultCredentials()) << "nothing to fill without a default";
}

class AccountPage : public testing::Test {
protected:
    AccountPage()
    {
        accounts.record(1) = account("pbx", "alice", "a1", 1);
        accounts.record(1).accountContact = QStringLiteral("alice-contact");
        accounts.record(1).accountProxy = QStringLiteral("proxy");
        accounts.record(2).isDefault = 0;
    }
    SipAccounts accounts;
    FakeSession session;
    AccountPageModel page{accounts, session};
};

TEST_F(AccountPage, ChoosingAnAccountFillsItsShownFields)
{
    page.showAccount(1);
    EXPECT_EQ(page.fields().account, QStringLiteral("Account 1"));
    EXPECT_EQ(page.fields().user, QStringLiteral("alice"));
    EXPECT_EQ(page.fields().password, QStringLiteral("a1"));
    EXPECT_EQ(page.fields().contact, QStringLiteral("alice-contact"));
    EXPECT_EQ(page.fields().registrar, QStringLiteral("pbx"));
    EXPECT_TRUE(page.fields().proxy.isEmpty()) << "the proxy is not filled in";
    EXPECT_TRUE(page.fields().isDefault);
    EXPECT_FALSE(page.applyEnabled());

    accounts.record(4).accountRegistrar = QStringLiteral("left-over");
    page.showAccount(4);
    EXPECT_EQ(page.fields().account, QStringLiteral("Account 4"));
    EXPECT_TRUE(page.fields().registrar.isEmpty()) << "an account without user shows empty";
}

struct ApplyCase {
    const char* name;
    const char* user;
    const char* password;
    std::optional<int> selected;
    bool isDefault;
    std::optional<AccountPageMessage> message;
    std::optional<int> defaultAfter;
};

TEST_F(AccountPage, ApplyStoresTheAccountAndKeepsOneDefault)
{
    const ApplyCase cases[] = {
        {"blank password", "dave", "", 2, false, AccountPageMessage::CredentialsBlank, 1},
        {"no account chosen", "dave", "d1", std::nullopt, false,
         AccountPageMessage::NoAccountSelected, 1},
        {"a new default replaces the old one", "dave", "d1", 2, true, std::nullopt, 2},
        {"another account stays as it was", "dave", "d1", 2, false, std::nullopt, 1},
        {"unchecking the default leaves none", "alice", "a1", 1, false, std::nullopt, std::nullopt},
    };
    for (const ApplyCase& c : cases) {
        SCOPED_TRACE(c.name);
        SipAccounts table = accounts;
        AccountPageModel model(table, session);
        model.showAccount(c.selected.value_or(2));
        model.fields().user = QString::fromLatin1(c.user);
        model.fields().password = QString::fromLatin1(c.password);
        model.fields().isDefault = c.isDefault;
        model.markChanged();
        EXPECT_EQ(model.apply(c.selected), c.message);
        EXPECT_EQ(table.defaultNumber(), c.defaultAfter);
        EXPECT_EQ(model.applyEnabled(), c.message.has_value());
        if (!c.message) {
            EXPECT_EQ(table.record(*c.selected).accountUser, QString::fromLatin1(c.user));
        }
    }
}

TEST_F(AccountPage, OkRefusesWithoutADefaultAndReRegistersWithOne)
{
    page.showAccount(1);
    page.fields().isDefault = false;
    AccountPageModel::OkOutcome refused = page.ok(1);
    EXPECT_EQ(refused.messages, std::vector<AccountPageMessage>{AccountPageMessage::NoDefault});
    EXPECT_FALSE(refused.closeSheet);
    EXPECT_TRUE(session.registered.empty());
    EXPECT_EQ(accounts.record(1).isDefault, 0) << "the fields were stored all the same";

    page.fields().isDefault = true;
    const AccountPageModel::OkOutcome accepted = page.ok(1);
    EXPECT_TRUE(accepted.messages.empty());
    EXPECT_TRUE(accepted.closeSheet);
    EXPECT_EQ(session.registered, std::vector<QString>{QStringLiteral("alice")});
}

TEST_F(AccountPage, OkWithNothingStoredReRegistersButStaysOpen)
{
    page.showAccount(2);  // empty account: the user fields stay blank
    const AccountPageModel::OkOutcome outcome = page.ok(2);
    EXPECT_EQ(outcome.messages,
              std::vector<AccountPageMessage>{AccountPageMessage::CredentialsBlank});
    EXPECT_FALSE(outcome.closeSheet);
    EXPECT_EQ(session.registered.size(), 1u) << "the default account registers again";
}

TEST(FirstAccount, GoesIntoTheAccountBlockWithItsOwnPassword)
{
    SipAccounts accounts;
    SipAccountRecord& first = accounts.record(1);
    first = account("pbx.example", "alice", "sippw", 1);
    first.accountContact = QStringLiteral("contact");
    first.accountProxy = QStringLiteral("proxy");
    first.accountNumber = 7;
    const AccountBlock kept = makeAccountBlock(
        SignInRecord{1, {}, QStringLiteral("portaluser"), QStringLiteral("portalpw")},
        accounts.firstAccount());
    EXPECT_EQ(kept.isDefault, 1);
    EXPECT_EQ(kept.accountUser, QStringLiteral("alice"));
    EXPECT_EQ(kept.userName, QStringLiteral("portaluser"));
    EXPECT_EQ(kept.accountPassword, QStringLiteral("sippw"));
    EXPECT_EQ(kept.accountRegistrar, QStringLiteral("pbx.example"));
    EXPECT_EQ(kept.accountContact, QStringLiteral("contact"));
    EXPECT_EQ(kept.accountProxy, QStringLiteral("proxy"));
    EXPECT_EQ(kept.accountNumber, 7);
    const AccountBlock notKept = makeAccountBlock(
        SignInRecord{0, {}, QStringLiteral("portaluser"), {}}, accounts.firstAccount());
    EXPECT_TRUE(notKept.accountPassword.isEmpty());
}

// Keeps the arguments of the last registration it was asked for.
struct RegistrationEngine : test::FakeEngine {
    std::vector<std::string> args;
    std::optional<std::string> proxy;
    std::vector<int> numbers;
    int registerAccount(const char* uri, const char* identity, const char* realm, const char* user,
                        const char* password, const char* proxyUri, int flag, int rereg, int rtrp,
                        int keep) override
    {
        args = {uri, identity, realm, user, password};
        proxy = proxyUri ? std::optional<std::string>(proxyUri) : std::nullopt;
        numbers = {flag, rereg, rtrp, keep};
        return 3;
    }
};

TEST(ManualRegistration, BuildsTheAccountsAddresses)
{
    RegistrationEngine engine;
    SipAccountRecord plain = account("127.0.0.1:5060", "alice", "pw");
    EXPECT_EQ(registerManualAccount(engine, plain, {600, 41000, 30}), 3);
    EXPECT_EQ(engine.args,
              (std::vector<std::string>{"sip:alice@127.0.0.1:5060", "sip:alice@127.0.0.1:5060", "*",
                                        "alice", "pw"}));
    EXPECT_FALSE(engine.proxy);
    EXPECT_EQ(engine.numbers, (std::vector<int>{1, 600, 41000, 30}));

    SipAccountRecord proxied = plain;
    proxied.accountProxy = QStringLiteral("edge.example:5070");
    proxied.accountRealm = QStringLiteral("example");
    registerManualAccount(engine, proxied, {});
    EXPECT_EQ(engine.proxy, "sip:edge.example:5070");
    EXPECT_EQ(engine.args[2], "example");
}

}
}
