// The sign-in dialog's own behaviour: its fields, keys, texts and the waits
// that drop what is clicked or typed meanwhile. The logic behind it is
// tested in SignInFlowTest.
#include "signin/CMainLogin.h"

#include "FakeEngine.h"
#include "controls/MessageBox.h"
#include "session/EngineStarter.h"
#include "support/FakeClients.h"
#include "support/TestEnvironment.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

using namespace orvanta;

struct FakeMainWindow : SignInMainWindow {
    void quitApplication() override {}
    void showMainWindow() override {}
};

class SignInDialogTest : public testing::Test {
protected:
    SignInDialogTest()
    {
        setMessageBoxHandler([this](const MessageBoxRequest& request) {
            messages.push_back(request.text);
            return true;
        });
        engine.load();
    }
    ~SignInDialogTest() override { setMessageBoxHandler({}); }

    std::unique_ptr<CMainLogin> makeDialog(SignInFlow::Mode mode)
    {
        auto dialog = std::make_unique<CMainLogin>(
            SignInParts{session, starter, portal, provisioning, [] { return true; }, mainWindow},
            mode);
        return dialog;
    }
    void showDialog(CMainLogin& dialog)
    {
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }

    test::FakeEngine engine;
    EngineStarter starter{engine};
    Session session;
    test::FakePortal portal;
    test::FakeProvisioning provisioning;
    FakeMainWindow mainWindow;
    std::vector<QString> messages;
};

TEST_F(SignInDialogTest, FieldsAreLimitedAndTheRefusalsUseTheirTexts)
{
    auto dialog = makeDialog(SignInFlow::Mode::StartUp);
    showDialog(*dialog);
    QTest::keyClicks(dialog->userEdit(), QString(45, QChar('u')));
    EXPECT_EQ(dialog->userEdit()->text().size(), 40);
    EXPECT_EQ(dialog->passwordEdit()->echoMode(), QLineEdit::Password);

    dialog->userEdit()->setText(QStringLiteral("a b"));
    dialog->passwordEdit()->setText(QStringLiteral("pw"));
    QTest::mouseClick(dialog->signInButton(), Qt::LeftButton);
    dialog->userEdit()->clear();
    QTest::keyClick(dialog.get(), Qt::Key_Return);
    EXPECT_EQ(messages,
              (std::vector<QString>{"Invalid Username", "Username & Password must not be blank"}));
}

TEST_F(SignInDialogTest, AClickAndAKeyDuringAWaitHaveNoEffectAfterwards)
{
    portal.answerAtOnce = false;
    auto dialog = makeDialog(SignInFlow::Mode::StartUp);
    showDialog(*dialog);
    dialog->userEdit()->setText(QStringLiteral("demo"));
    dialog->passwordEdit()->setText(QStringLiteral("demo1234"));
    QTest::mouseClick(dialog->signInButton(), Qt::LeftButton);
    ASSERT_EQ(portal.logins.size(), 1);
    EXPECT_TRUE(dialog->findChild<QProgressBar*>()->isVisible()) << "busy while waiting";
    EXPECT_FALSE(dialog->signInButton()->isEnabled());
    EXPECT_FALSE(dialog->closeButton()->isEnabled());

    QTest::mouseClick(dialog->signInButton(), Qt::LeftButton);
    QTest::mouseClick(dialog->closeButton(), Qt::LeftButton);
    QTest::keyClick(dialog.get(), Qt::Key_Return);
    portal.answerLogins();
    QTest::qWait(50);
    session.onRegistrationResult(200);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->result() == QDialog::Accepted; }, 2000));
    QTest::qWait(50);
    EXPECT_EQ(portal.logins.size(), 1) << "no second sign-in";
    EXPECT_EQ(provisioning.bodies.size(), 1u);
    EXPECT_EQ(engine.callsTo("init").size(), 1u) << "the engine started once";
}

TEST_F(SignInDialogTest, StatusLabelShowsTheRegistrationOutcome)
{
    auto dialog = makeDialog(SignInFlow::Mode::StartUp);
    showDialog(*dialog);
    dialog->userEdit()->setText(QStringLiteral("demo"));
    dialog->passwordEdit()->setText(QStringLiteral("demo1234"));
    QTest::mouseClick(dialog->signInButton(), Qt::LeftButton);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return engine.callsTo("registerAccount").size() == 1; }, 2000));
    EXPECT_EQ(dialog->statusLabel()->text(), QStringLiteral("Registering...Please wait"));
    EXPECT_FALSE(dialog->userEdit()->isEnabled());
    session.onRegistrationResult(404);
    EXPECT_EQ(dialog->statusLabel()->text(), QStringLiteral("User Not Found"));
    EXPECT_TRUE(dialog->userEdit()->isEnabled());
    EXPECT_TRUE(dialog->signInButton()->isEnabled());
}

TEST_F(SignInDialogTest, AccountLoginFillsInTheCurrentPassword)
{
    auto dialog = makeDialog(SignInFlow::Mode::AccountLogin);
    dialog->prefill(1, QString(), QStringLiteral("demo"), QStringLiteral("demo1234"));
    showDialog(*dialog);
    EXPECT_EQ(dialog->userEdit()->text(), QStringLiteral("demo"));
    EXPECT_EQ(dialog->passwordEdit()->text(), QStringLiteral("demo1234"));
    EXPECT_TRUE(dialog->savePasswordBox()->isChecked());
}

TEST_F(SignInDialogTest, ClosingTheWindowIsTheCloseButton)
{
    auto startUp = makeDialog(SignInFlow::Mode::StartUp);
    showDialog(*startUp);
    startUp->close();
    EXPECT_FALSE(startUp->isVisible());
    EXPECT_EQ(startUp->result(), QDialog::Rejected);

    auto accountLogin = makeDialog(SignInFlow::Mode::AccountLogin);
    showDialog(*accountLogin);
    accountLogin->close();
    EXPECT_TRUE(accountLogin->flow().waiting()) << "the previous account is being restored";
    EXPECT_TRUE(accountLogin->isVisible());
}

TEST_F(SignInDialogTest, EscapeKeepsTheDialogOpenAndReturnsToTheUserName)
{
    auto dialog = makeDialog(SignInFlow::Mode::StartUp);
    showDialog(*dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    dialog->passwordEdit()->setFocus();
    QTest::keyClick(dialog->passwordEdit(), Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->userEdit()->hasFocus());
}

// Leaves a picture of the dialog in the build folder for people to look at.
TEST_F(SignInDialogTest, PictureOfTheDialog)
{
    auto dialog = makeDialog(SignInFlow::Mode::StartUp);
    dialog->prefill(0, QString(), QStringLiteral("demo"));
    dialog->show();
    const QString path = QString::fromStdString(
        (orvanta::test::binDir().parent_path() / "sign-in-dialog.png").string());
    EXPECT_TRUE(dialog->grab().save(path));
}

}
