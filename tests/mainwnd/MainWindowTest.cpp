// The main window's sign-in side against the scripted engine: saved-account
// start, its 2000 ms check, registration failures, messages, and quitting.
#include "MainWindowHarness.h"
#include "records/RecordArchive.h"
#include "records/RecordDump.h"
#include "records/RecordFile.h"
#include "controls/MessageBox.h"
#include "mainwnd/CZebSoftPhoneDlg.h"
#include "signin/CMainLogin.h"
#include "support/ScriptedEngine.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

using namespace orvanta;

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        SignInServices services;
        services.internetAvailable = [] { return true; };
        services.askPortal = [](const QString&, const QString&) {
            PortalAnswer answer;
            answer.sipPassword = QByteArray("portal-sip");
            return std::optional<PortalAnswer>(answer);
        };
        services.provisioningPost = [this](const std::string&, const std::string&) {
            return reply_;
        };
        harness_.buildOnScriptedEngine(scripted_, services);
    }

    void startWithSavedAccount()
    {
        harness_.openWithSavedAccount(QStringLiteral("alice"), QStringLiteral("pw"));
    }

    SignInRecord savedRecord()
    {
        SignInRecord record;
        loadRecordFile(kSignInRecordKind, record);
        return record;
    }

    bool finished() const { return window_->result() == QDialog::Accepted; }

    MainWindowHarness harness_;
    test::ScriptedEngine scripted_;
    QByteArray reply_ =
        R"({"status":"1","registrarip":"reg.example","header":"Hi","footer":"Bye"})";
    std::vector<QString>& messages_ = harness_.messages;
    bool& answer_ = harness_.answer;
    std::unique_ptr<CZebSoftPhoneDlg>& window_ = harness_.window;
    std::unique_ptr<CMainLogin>& dialog_ = harness_.dialog;
    const test::TempDir& temp_ = harness_.temp;
};

TEST_F(MainWindowTest, SavedAccountRegistersWithThePortalPasswordAndStaysOpenWhenConfirmed)
{
    startWithSavedAccount();
    const auto registrations = scripted_.callsTo("dll_registerAccount");
    ASSERT_EQ(registrations.size(), 1u);
    EXPECT_EQ(registrations[0].textArg(0), "sip:alice@reg.example");
    EXPECT_EQ(registrations[0].textArg(4), "portal-sip");
    EXPECT_EQ(scripted_.callsTo("dll_init").size(), 1u);
    EXPECT_EQ(window_->face().statusLine()->text(), QStringLiteral("Ready : alice"));
    EXPECT_EQ(window_->face().banner()->text(), QStringLiteral("Hi"));
    EXPECT_EQ(window_->face().footer()->text(), QStringLiteral("Bye"));

    scripted_.fireRegistration(21, 200);
    QTest::qWait(2300);
    EXPECT_TRUE(window_->flags().registrationConfirmed);
    EXPECT_FALSE(finished());
    EXPECT_TRUE(messages_.empty());
}

TEST_F(MainWindowTest, UnconfirmedSavedAccountFallsBackToTheDialogNextTime)
{
    startWithSavedAccount();
    QTest::qWait(2300);
    EXPECT_TRUE(finished());
    const SignInRecord saved = savedRecord();
    EXPECT_EQ(saved.savePassword, 0);
    EXPECT_EQ(saved.userName, QStringLiteral("alice"));
    EXPECT_TRUE(saved.password.isEmpty()) << "no longer asked to keep it";
}

TEST_F(MainWindowTest, RejectedSavedAccountSaysSoAndFallsBack)
{
    startWithSavedAccount();
    scripted_.fireRegistration(21, 403);
    ASSERT_TRUE(QTest::qWaitFor([this] { return finished(); }, 2000));
    EXPECT_EQ(messages_,
              std::vector<QString>{"Wrong Username/Password \nPlease contact support team"});
    EXPECT_EQ(savedRecord().savePassword, 0);
}

TEST_F(MainWindowTest, InactiveDialerIsNotShownAsReady)
{
    reply_ = R"({"status":"2"})";
    startWithSavedAccount();
    EXPECT_EQ(window_->face().statusLine()->text(), QStringLiteral("Inactive Dialer"));
    EXPECT_FALSE(window_->calls().state().callsAllowed);
    EXPECT_TRUE(scripted_.callsTo("dll_registerAccount").empty());
}

TEST_F(MainWindowTest, NoProvisioningReplyAsksToSignInAgain)
{
    reply_.clear();
    startWithSavedAccount();
    EXPECT_EQ(messages_, std::vector<QString>{"Please check your Internet and Re-login"});
    EXPECT_TRUE(window_->flags().reloginNeeded);
}

TEST_F(MainWindowTest, ReceivedMessageShowsInTheBanner)
{
    startWithSavedAccount();
    scripted_.fireMessage("sip:bob@10.0.0.1", "call me");
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return window_->face().banner()->text() == "Message from bob: call me"; }, 2000));
}

TEST_F(MainWindowTest, QuitAsksFirstThenSavesBothRecords)
{
    SignInOutcome outcome;
    outcome.savePassword = 1;
    outcome.userName = QStringLiteral("carol");
    outcome.password = QStringLiteral("pw");
    window_->takeSignIn(outcome);
    window_->open();
    messages_.clear();  // no sign-in dialog ran, so there was no reply to start from

    answer_ = false;
    window_->requestQuit(false);
    EXPECT_EQ(messages_, std::vector<QString>{"Are you sure you want to close the Application?"});
    EXPECT_FALSE(finished());
    EXPECT_FALSE(std::filesystem::exists(temp_ / "data" / "account_Orvanta.bin"));

    answer_ = true;
    window_->close();
    EXPECT_EQ(messages_.back(), QStringLiteral("Are you sure you want to close the Application ?"));
    EXPECT_TRUE(finished());
    const auto bytes = readRecordFileBytes(kSignInRecordKind);
    ASSERT_TRUE(bytes);
    const auto dump = dumpRecordFile(signInRecordKinds(), QStringLiteral("account_Orvanta.bin"), *bytes);
    EXPECT_TRUE(dump && dump->complete);
    EXPECT_EQ(savedRecord().password, QStringLiteral("pw"));
    EXPECT_TRUE(std::filesystem::exists(temp_ / "data" / "IP_Orvanta.bin"));
}

TEST_F(MainWindowTest, TypedSignInFinishesOnceTheRegistrationIsConfirmed)
{
    dialog_->userEdit()->setText(QStringLiteral("dave"));
    dialog_->passwordEdit()->setText(QStringLiteral("typed"));
    QTimer::singleShot(300, [this] { scripted_.fireRegistration(21, 200); });
    QTest::mouseClick(dialog_->signInButton(), Qt::LeftButton);
    EXPECT_EQ(dialog_->result(), QDialog::Accepted);
    EXPECT_EQ(dialog_->flow().accountHandle(), 21);
    const auto registrations = scripted_.callsTo("dll_registerAccount");
    ASSERT_EQ(registrations.size(), 1u);
    EXPECT_EQ(registrations[0].textArg(3), "dave");
    EXPECT_EQ(registrations[0].textArg(4), "portal-sip");
    EXPECT_TRUE(registrations[0].isNull(5)) << "no proxy without encryption";
}

TEST_F(MainWindowTest, UnconfirmedSignInKeepsTheDialogWaitingUntilTheEngineAnswers)
{
    dialog_->userEdit()->setText(QStringLiteral("dave"));
    dialog_->passwordEdit()->setText(QStringLiteral("typed"));
    QTest::mouseClick(dialog_->signInButton(), Qt::LeftButton);
    EXPECT_EQ(dialog_->result(), 0);
    EXPECT_EQ(dialog_->statusLabel()->text(), QStringLiteral("Registering...Please wait"));
    EXPECT_FALSE(dialog_->userEdit()->isEnabled());

    scripted_.fireRegistration(21, 401);
    ASSERT_TRUE(QTest::qWaitFor([this] { return dialog_->userEdit()->isEnabled(); }, 2000));
    EXPECT_EQ(dialog_->statusLabel()->text(), QStringLiteral("Wrong Username/Password"));

    // Another press starts over with a fresh engine.
    QTimer::singleShot(300, [this] { scripted_.fireRegistration(21, 200); });
    QTest::mouseClick(dialog_->signInButton(), Qt::LeftButton);
    EXPECT_EQ(dialog_->result(), QDialog::Accepted);
    EXPECT_EQ(scripted_.callsTo("dll_shutdown").size(), 1u);
    EXPECT_EQ(scripted_.callsTo("dll_init").size(), 2u);
}

// Leaves a picture of the signed-in window in the build folder.
TEST_F(MainWindowTest, PictureOfTheSignedInWindow)
{
    startWithSavedAccount();
    window_->show();
    harness_.picture("main-window.png");
}

TEST_F(MainWindowTest, AccountLoginClosedWithoutSigningInRestoresTheAccount)
{
    startWithSavedAccount();
    scripted_.fireRegistration(21, 200);
    ASSERT_TRUE(QTest::qWaitFor([this] { return window_->flags().registrationConfirmed; }, 2000));
    // Once the sign-in dialog shows, close it: the previous account comes back.
    QTimer closer;
    closer.setInterval(50);
    QObject::connect(&closer, &QTimer::timeout, [&closer] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<CMainLogin*>(widget);
            if (dialog && dialog->isVisible()) {
                closer.stop();
                QTest::mouseClick(dialog->closeButton(), Qt::LeftButton);
            }
        }
    });
    closer.start();
    window_->accountLogin();
    EXPECT_EQ(scripted_.callsTo("dll_shutdown").size(), 1u);
    EXPECT_EQ(scripted_.callsTo("dll_init").size(), 2u) << "started again to restore";
    EXPECT_EQ(scripted_.callsTo("dll_registerAccount").size(), 2u);
    EXPECT_TRUE(window_->isVisible());
    EXPECT_TRUE(messages_.empty());
}

}
