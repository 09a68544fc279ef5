// "Account Login" from the running main window, against the scripted
// engine: the pause, the dialog, and what the main window has afterwards.
#include "MainWindowHarness.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace {

using namespace orvanta;

class AccountLoginTest : public testing::Test {
protected:
    void SetUp() override
    {
        harness_.buildOnScriptedEngine(scripted_);
        setPortalSipPassword("alicesip");
        harness_.openWithSavedAccount(QStringLiteral("alice"), QStringLiteral("alicepw"));
        ASSERT_TRUE(QTest::qWaitFor(
            [this] { return !scripted_.callsTo("dll_registerAccount").empty(); }, 2000));
        scripted_.fireRegistration(21, 200);
        ASSERT_TRUE(QTest::qWaitFor(
            [this] {
                return harness_.core->session().registrationState() ==
                       RegistrationState::Registered;
            },
            2000));
        ASSERT_EQ(harness_.status(), QStringLiteral("Ready : alice"));
        scripted_.reset();
    }

    void setPortalSipPassword(const char* password)
    {
        PortalAnswer answer;
        answer.sipPassword = QByteArray(password);
        harness_.portal->login = answer;
    }

    // Runs "Account Login" from the menu and waits out its pause.
    CMainLogin* openAccountLogin()
    {
        harness_.model().run(CommandId::AccountLogin);
        if (!QTest::qWaitFor([this] { return harness_.openDialog() != nullptr; }, 4000)) {
            return nullptr;
        }
        return harness_.openDialog();
    }

    void signInThere(CMainLogin* dialog, const QString& user, const QString& password)
    {
        dialog->userEdit()->setText(user);
        dialog->passwordEdit()->setText(password);
        QTest::mouseClick(dialog->signInButton(), Qt::LeftButton);
    }

    int registrations() const
    {
        return static_cast<int>(scripted_.callsTo("dll_registerAccount").size());
    }

    void dial(const QString& number)
    {
        for (QChar digit : number) {
            harness_.click(QString(digit));
        }
        harness_.click(QStringLiteral("Dial"));
    }

    MainWindowHarness harness_;
    test::ScriptedEngine scripted_;
};

TEST_F(AccountLoginTest, ThePauseShowsBusyAndDropsWhatIsPressedMeanwhile)
{
    harness_.model().run(CommandId::AccountLogin);
    EXPECT_EQ(scripted_.callsTo("dll_shutdown").size(), 1u);
    EXPECT_TRUE(harness_.face().busyBar()->isVisible());
    EXPECT_FALSE(harness_.face().button(QStringLiteral("5"))->isEnabled());
    QTest::mouseClick(harness_.face().button(QStringLiteral("5")), Qt::LeftButton);
    QTest::keyClick(harness_.window(), Qt::Key_7);
    QTest::keyClick(harness_.window(), Qt::Key_Return);
    EXPECT_FALSE(harness_.model().run(CommandId::About)) << "commands wait too";
    harness_.model().requestQuit(false);

    ASSERT_TRUE(QTest::qWaitFor([this] { return harness_.openDialog() != nullptr; }, 4000));
    EXPECT_FALSE(harness_.finished()) << "the saved account's check is over";
    EXPECT_FALSE(harness_.face().busyBar()->isVisible());
    EXPECT_TRUE(harness_.face().numberDisplay()->text().isEmpty());
    EXPECT_TRUE(harness_.messages.empty()) << "the quit request was dropped, not asked";
    EXPECT_TRUE(scripted_.callsTo("dll_makeCall").empty());
    EXPECT_FALSE(harness_.window()->isVisible()) << "the dialog takes the window's place";
}

TEST_F(AccountLoginTest, SigningInAsAnotherUserMovesCallsAndTextsToThatAccount)
{
    CMainLogin* dialog = openAccountLogin();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->passwordEdit()->text(), QStringLiteral("alicepw")) << "filled in";
    dialog->move(dialog->pos() + QPoint(37, 21));
    const QPoint dialogPlace = dialog->geometry().topLeft();
    setPortalSipPassword("bobsip");
    scripted_.setResult("dll_registerAccount", 22);
    signInThere(dialog, QStringLiteral("bob"), QStringLiteral("bobpw"));
    ASSERT_TRUE(QTest::qWaitFor([this] { return registrations() == 1; }, 2000));
    EXPECT_EQ(scripted_.callsTo("dll_registerAccount")[0].textArg(4), "bobsip");
    scripted_.fireRegistration(22, 200);
    ASSERT_TRUE(QTest::qWaitFor([this] { return harness_.window()->isVisible(); }, 2000));
    EXPECT_EQ(harness_.window()->geometry().topLeft(), dialogPlace);
    EXPECT_EQ(harness_.status(), QStringLiteral("Ready : bob"));
    EXPECT_EQ(harness_.portal->balances.last(), QStringLiteral("bob"));

    scripted_.setResult("dll_makeCall", 40);
    dial(QStringLiteral("200"));
    const auto calls = scripted_.callsTo("dll_makeCall");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].intArg(0), 22) << "placed on the new account";
    for (int state : {ORVANTA_CALL_CALLING, ORVANTA_CALL_CONNECTED, ORVANTA_CALL_DISCONNECTED}) {
        scripted_.fireCallState(40, state);
    }
    ASSERT_TRUE(scripted_.waitIdle());
    ASSERT_TRUE(QTest::qWaitFor([this] { return harness_.status() == "Ready : bob"; }, 2000))
        << "not the previous user after the call";

    harness_.core->setConnectivityCheck([] { return false; });
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return !harness_.face().internetLabel()->text().isEmpty(); }, 2500));
    harness_.core->setConnectivityCheck([] { return true; });
    ASSERT_TRUE(QTest::qWaitFor([this] { return harness_.status() == "Ready : bob"; }, 2500))
        << "nor when the Internet comes back";
}

TEST_F(AccountLoginTest, TheSameAccountSignsInAgainWithItsSipPassword)
{
    CMainLogin* dialog = openAccountLogin();
    ASSERT_NE(dialog, nullptr);
    QTest::mouseClick(dialog->signInButton(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return registrations() == 1; }, 2000));
    EXPECT_EQ(harness_.portal->logins.last(), QStringLiteral("alice/alicepw")) << "portal asked";
    EXPECT_EQ(scripted_.callsTo("dll_registerAccount")[0].textArg(4), "alicesip");
    scripted_.fireRegistration(21, 200);
    ASSERT_TRUE(QTest::qWaitFor([this] { return harness_.window()->isVisible(); }, 2000));
    EXPECT_EQ(harness_.status(), QStringLiteral("Ready : alice"));
    EXPECT_TRUE(harness_.messages.empty());
}

// The whole run as start-up runs it: the window's loop must outlive the
// hidden window and the closed dialog.
TEST(AccountLoginRun, ClosingTheDialogRestoresTheAccountAndTheDialerKeepsRunning)
{
    MainWindowHarness harness;
    test::ScriptedEngine scripted;
    harness.buildOnScriptedEngine(scripted);
    PortalAnswer answer;
    answer.sipPassword = QByteArray("alicesip");
    harness.portal->login = answer;
    harness.core->start(SignInRecord{1, QString(), "alice", "alicepw"}, true);
    const auto registrations = [&] { return scripted.callsTo("dll_registerAccount").size(); };

    bool quitAsked = false;
    QPoint dialogPlace;
    QTimer::singleShot(0, [&] {
        ASSERT_TRUE(QTest::qWaitFor([&] { return registrations() == 1; }, 2000));
        scripted.fireRegistration(21, 200);
        ASSERT_TRUE(QTest::qWaitFor([&] { return harness.status() == "Ready : alice"; }, 2000));
        harness.model().run(CommandId::AccountLogin);
        ASSERT_TRUE(QTest::qWaitFor([&] { return harness.openDialog() != nullptr; }, 4000));
        CMainLogin* dialog = harness.openDialog();
        // A failed attempt first, then the close button.
        dialog->userEdit()->setText(QStringLiteral("alice"));
        dialog->passwordEdit()->setText(QStringLiteral("typo"));
        QTest::mouseClick(dialog->signInButton(), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return registrations() == 2; }, 2000));
        scripted.fireRegistration(21, 401);
        ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->closeButton()->isEnabled(); }, 2000));
        dialog->move(dialog->pos() + QPoint(11, 13));
        dialogPlace = dialog->geometry().topLeft();
        scripted.setResult("dll_registerAccount", 23);
        QTest::mouseClick(dialog->closeButton(), Qt::LeftButton);
        ASSERT_EQ(registrations(), 3u);
        scripted.fireRegistration(23, 200);
        ASSERT_TRUE(QTest::qWaitFor([&] { return harness.openDialog() == nullptr; }, 4000));
        // Back in the window's loop: an unwanted end of the run shows now.
        QTimer::singleShot(500, [&] {
            EXPECT_TRUE(harness.window()->isVisible());
            quitAsked = true;
            harness.model().quitNow();
        });
    });
    QTimer::singleShot(15000, [&] { harness.model().quitNow(); });  // a failure above
    harness.mainPort->runModal();
    EXPECT_TRUE(quitAsked) << "the run ended by itself";

    const auto restored = scripted.callsTo("dll_registerAccount").back();
    EXPECT_EQ(restored.textArg(3), "alice");
    EXPECT_EQ(restored.textArg(4), "alicesip") << "the SIP password, not the portal's";
    EXPECT_EQ(harness.core->calls().state().accountHandle, 23);
    EXPECT_EQ(harness.window()->geometry().topLeft(), dialogPlace);
    EXPECT_TRUE(harness.messages.empty());
}

TEST_F(AccountLoginTest, ARefusalDuringThePauseClosesBothWindows)
{
    harness_.model().run(CommandId::AccountLogin);
    scripted_.fireRegistration(21, 403);
    ASSERT_TRUE(QTest::qWaitFor([this] { return harness_.finished(); }, 4000));
    EXPECT_EQ(harness_.messages,
              std::vector<QString>{"Wrong Username/Password \nPlease contact support team"});
    EXPECT_EQ(harness_.openDialog(), nullptr);
}

}
