#include "signin/CMainLogin.h"
#include "controls/MessageBox.h"
#include "support/TestEnvironment.h"
#include "telephony/EngineEvents.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using namespace orvanta;

struct FakeMainWindow : SignInMainWindow {
    void quitApplication() override { quit = true; }
    void show() override {}
    void completeEngineStartup() override {}
    void takeCredentials(const QString&, const QString&, const QString&) override {}
    void refreshBalance() override {}
    QString userName() const override { return {}; }
    QString password() const override { return {}; }
    int savePassword() const override { return 0; }
    FailoverRecord& failoverRecord() override { return failover; }
    FailoverRecord failover;
    bool quit = false;
};

// A dialog whose network answers are scripted and whose message boxes are
// recorded instead of shown.
class SignInDialogTest : public testing::Test {
protected:
    SignInDialogTest()
    {
        setMessageBoxHandler([this](const MessageBoxRequest& request) {
            messages.push_back(request.text);
            return true;
        });
        SignInServices services;
        services.internetAvailable = [this] { return online; };
        services.askPortal = [this](const QString& user, const QString& password) {
            portalAsked.push_back(user + "/" + password);
            return std::optional<PortalAnswer>(PortalAnswer{});
        };
        services.provisioningPost = [this](const std::string& body, const std::string&) {
            bodies.push_back(body);
            return reply;
        };
        dialog =
            std::make_unique<CMainLogin>(mainWindow, services, engine, events, flags, mainFlags);
    }
    ~SignInDialogTest() override { setMessageBoxHandler({}); }

    void typeAndSignIn(const QString& user, const QString& password)
    {
        dialog->userEdit()->setText(user);
        dialog->passwordEdit()->setText(password);
        QTest::mouseClick(dialog->signInButton(), Qt::LeftButton);
    }

    bool online = true;
    QByteArray reply;
    std::vector<QString> messages;
    std::vector<QString> portalAsked;
    std::vector<std::string> bodies;
    FakeMainWindow mainWindow;
    EngineHost engine{"/nonexistent/libOrvanta.so"};
    EngineEvents events;
    SignInFlags flags;
    MainWindowFlags mainFlags;
    std::unique_ptr<CMainLogin> dialog;
};

struct RefusalCase {
    const char* name;
    QString user;
    QString password;
    bool online;
    QString message;
};

TEST_F(SignInDialogTest, BadInputIsRefusedBeforeAnyRequest)
{
    const RefusalCase cases[] = {
        {"offline", "alice", "pw", false, "Internet is not available!"},
        {"blank user", "", "pw", true, "Username & Password must not be blank"},
        {"blank password", "alice", "", true, "Username & Password must not be blank"},
        {"space", "al ice", "pw", true, "Invalid Username"},
        {"at sign", "a@b", "pw", true, "Invalid Username"},
        {"brace", "a{b", "pw", true, "Invalid Username"},
        {"backquote", "a`b", "pw", true, "Invalid Username"},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        messages.clear();
        online = c.online;
        typeAndSignIn(c.user, c.password);
        EXPECT_EQ(messages, std::vector<QString>{c.message});
    }
    EXPECT_TRUE(portalAsked.empty());
    EXPECT_TRUE(bodies.empty());
}

TEST_F(SignInDialogTest, EditsAreLimitedToFortyCharacters)
{
    QTest::keyClicks(dialog->userEdit(), QString(45, QChar('u')));
    EXPECT_EQ(dialog->userEdit()->text().size(), 40);
    EXPECT_EQ(dialog->passwordEdit()->echoMode(), QLineEdit::Password);
}

struct StatusCase {
    const char* status;
    QString label;
};

TEST_F(SignInDialogTest, InactiveAndInvalidDialersAreShownAndTheEditsComeBack)
{
    const StatusCase cases[] = {
        {"0", "Inactive Dialer"}, {"2", "Inactive Dialer"}, {"3", "Invalid Dialer"}};
    for (const StatusCase& c : cases) {
        SCOPED_TRACE(c.status);
        reply = QByteArray("{\"status\":\"") + c.status + "\"}";
        typeAndSignIn("alice", "pw");
        EXPECT_EQ(dialog->statusLabel()->text(), c.label);
        EXPECT_TRUE(dialog->userEdit()->isEnabled());
        EXPECT_EQ(dialog->result(), 0) << "the dialog stays open";
    }
    EXPECT_EQ(portalAsked.front(), "alice/pw");
}

TEST_F(SignInDialogTest, EmptyReplyEndsTheApplicationWithItsMessage)
{
    typeAndSignIn("alice", "pw");
    EXPECT_EQ(messages, std::vector<QString>{"Server error-3,Please restart the application"});
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(mainWindow.quit);
}

TEST_F(SignInDialogTest, RepeatedPressesSendTheSameBody)
{
    reply = "{\"status\":\"0\"}";
    typeAndSignIn("alice", "pw");
    typeAndSignIn("alice", "pw");
    ASSERT_EQ(bodies.size(), 2u);
    EXPECT_EQ(bodies[0], bodies[1]);
}

TEST_F(SignInDialogTest, EscapeKeepsTheDialogOpenAndReturnsToTheUserName)
{
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    dialog->passwordEdit()->setFocus();
    QTest::keyClick(dialog->passwordEdit(), Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->userEdit()->hasFocus());
}

}

namespace {

// Leaves a picture of the dialog in the build folder for people to look at.
TEST_F(SignInDialogTest, PictureOfTheDialog)
{
    dialog->userEdit()->setText(QStringLiteral("demo"));
    dialog->show();
    const QString path = QString::fromStdString(
        (orvanta::test::binDir().parent_path() / "sign-in-dialog.png").string());
    EXPECT_TRUE(dialog->grab().save(path));
}

}
