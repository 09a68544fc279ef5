// The account services as the dialer reaches them: the menu rows refuse
// until registered and then open their windows over the main window, and a
// successful registration fetches the friends list by itself.
#include "MainWindowHarness.h"
#include "services/CCallInformation.h"
#include "services/CFriendList.h"
#include "services/CRates.h"
#include "services/CRecharge.h"
#include "services/CSMSWindow.h"
#include "services/ScriptedServices.h"

namespace {

using namespace orvanta;

const QString kNotRegistered = QStringLiteral("You are not Registered");

// The window of this kind the main window owns, if any.
template <typename Window>
QWidget* findWindow(QWidget* main)
{
    return main->findChild<Window*>(QString(), Qt::FindDirectChildrenOnly);
}

class ServicesCommandsTest : public testing::Test {
protected:
    void SetUp() override
    {
        auto webApi = std::make_unique<test::ScriptedWebApi>();
        web_ = webApi.get();
        ServiceClients clients;
        clients.webApi = std::move(webApi);
        clients.accountApi = std::make_unique<test::ScriptedAccountApi>();
        clients.sms = std::make_unique<test::ScriptedSmsGateway>();
        harness_.buildOnScriptedEngine(scripted_, std::move(clients));
    }

    void startWithSavedAccount()
    {
        harness_.openWithSavedAccount(QStringLiteral("alice"), QStringLiteral("pw"));
        ASSERT_TRUE(QTest::qWaitFor([this] { return harness_.status() == "Ready : alice"; }, 2000));
    }

    void registerAccount()
    {
        scripted_.fireRegistration(MainWindowHarness::kScriptedAccount, 200);
        ASSERT_TRUE(QTest::qWaitFor(
            [this] {
                return harness_.core->session().registrationState() ==
                       RegistrationState::Registered;
            },
            2000));
    }

    // The friends fetches sent so far, after the queued ones went out.
    std::vector<std::string> friendFetches()
    {
        QCoreApplication::processEvents();
        std::vector<std::string> fetches;
        for (const std::string& url : web_->requests.sent) {
            if (test::queryItem(url, "actionId") == "retrieveFriendList") {
                fetches.push_back(url);
            }
        }
        return fetches;
    }

    // Answers every web request waiting (the queued ones sent first) with an
    // empty list.
    void answerWebRequests()
    {
        QCoreApplication::processEvents();
        while (web_->requests.waiting()) {
            web_->requests.answer({OpenUrlFailure::None, QStringLiteral("<status>true")});
        }
    }

    MainWindowHarness harness_;
    test::ScriptedEngine scripted_;
    test::ScriptedWebApi* web_ = nullptr;
};

const struct ServiceRow {
    CommandId id;
    const char* label;
    QWidget* (*find)(QWidget* main);
    bool modal;
} kServiceRows[] = {
    {CommandId::FriendList, "Friend List", &findWindow<CFriendList>, false},
    {CommandId::CallRecords, "Call Records", &findWindow<CCallInformation>, true},
    {CommandId::Rates, "Rates", &findWindow<CRates>, true},
    {CommandId::RechargeTransfer, "Recharge", &findWindow<CRecharge>, true},
    {CommandId::Sms, "SMS", &findWindow<CSMSWindow>, true},
};

TEST_F(ServicesCommandsTest, EachRowRefusesUntilRegisteredThenOpensItsWindowOverTheMainWindow)
{
    // Calls are not allowed before the window is ready.
    for (const ServiceRow& row : kServiceRows) {
        SCOPED_TRACE(row.label);
        harness_.messages.clear();
        EXPECT_FALSE(harness_.model().run(row.id));
        EXPECT_EQ(harness_.messages, std::vector<QString>{kNotRegistered});
        EXPECT_EQ(row.find(harness_.window()), nullptr);
    }

    startWithSavedAccount();
    registerAccount();
    answerWebRequests();
    for (const ServiceRow& row : kServiceRows) {
        SCOPED_TRACE(row.label);
        const Command* command = harness_.model().commands().find(row.id);
        ASSERT_NE(command, nullptr);
        EXPECT_EQ(command->label, QString::fromLatin1(row.label));
        harness_.messages.clear();
        ASSERT_TRUE(harness_.model().run(row.id));
        QWidget* window = row.find(harness_.window());
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->isModal(), row.modal);
        EXPECT_TRUE(harness_.messages.empty());
        window->close();
        answerWebRequests();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(ServicesCommandsTest, AnOpenDialogIsRaisedRatherThanOpenedTwice)
{
    startWithSavedAccount();
    registerAccount();
    ASSERT_TRUE(harness_.model().run(CommandId::Rates));
    ASSERT_TRUE(harness_.model().run(CommandId::Sms)) << "the gate lets it through";
    EXPECT_EQ(
        harness_.window()->findChildren<QDialog*>(QString(), Qt::FindDirectChildrenOnly).size(), 1);
    EXPECT_EQ(findWindow<CSMSWindow>(harness_.window()), nullptr);

    // Closed, the dialog goes and the next command opens a new one.
    findWindow<CRates>(harness_.window())->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(findWindow<CRates>(harness_.window()), nullptr);
    ASSERT_TRUE(harness_.model().run(CommandId::Sms));
    EXPECT_NE(findWindow<CSMSWindow>(harness_.window()), nullptr);
}

TEST_F(ServicesCommandsTest, TheFriendListIsOneWindowAndEachOpeningFetches)
{
    startWithSavedAccount();
    registerAccount();
    answerWebRequests();
    const std::size_t before = friendFetches().size();
    ASSERT_TRUE(harness_.model().run(CommandId::FriendList));
    QWidget* first = findWindow<CFriendList>(harness_.window());
    answerWebRequests();
    first->close();
    ASSERT_TRUE(harness_.model().run(CommandId::FriendList));
    EXPECT_EQ(findWindow<CFriendList>(harness_.window()), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(friendFetches().size(), before + 2);
}

TEST_F(ServicesCommandsTest, OnlyASuccessfulRegistrationFetchesTheFriends)
{
    startWithSavedAccount();
    for (const int refused : {401, 404}) {
        scripted_.fireRegistration(MainWindowHarness::kScriptedAccount, refused);
    }
    QTest::qWait(50);
    EXPECT_TRUE(friendFetches().empty());

    registerAccount();
    const std::vector<std::string> fetches = friendFetches();
    ASSERT_EQ(fetches.size(), 1u);
    EXPECT_EQ(test::queryItem(fetches[0], "subscriberId"), "alice");
    EXPECT_EQ(findWindow<CFriendList>(harness_.window()), nullptr) << "fetched, not shown";
}

TEST_F(ServicesCommandsTest, ATypedSignInFetchesTheFriendsOfTheAccountJustSignedIn)
{
    ASSERT_NE(harness_.signInByDialog(scripted_, QStringLiteral("dave"), QStringLiteral("typed")),
              nullptr);
    const std::vector<std::string> fetches = friendFetches();
    ASSERT_EQ(fetches.size(), 1u);
    EXPECT_EQ(test::queryItem(fetches[0], "subscriberId"), "dave");
}

}
