// The sign-in dialog's logic with a fake engine and portal and provisioning
// clients that answer when told.
#include "signin/SignInFlow.h"

#include "FakeEngine.h"
#include "records/RecordFile.h"
#include "session/EngineStarter.h"
#include "support/DataFolderFixture.h"
#include "support/FakeClients.h"

#include <QTest>

namespace {

using namespace orvanta;
using Mode = SignInFlow::Mode;

struct FakeView : SignInView {
    SignInStatus status = SignInStatus::None;
    bool editsEnabled = true;
    bool waiting = false;
    std::vector<SignInMessage> messages;
    QString filledUser;
    QString filledPassword;
    int accepted = 0;
    int rejected = 0;
    QStringList urls;

    void setStatus(SignInStatus s) override { status = s; }
    void setEditsEnabled(bool enabled) override { editsEnabled = enabled; }
    void fillEdits(const QString& user, const QString& password, int) override
    {
        filledUser = user;
        filledPassword = password;
    }
    void setWaiting(bool w) override { waiting = w; }
    void showMessage(SignInMessage message) override { messages.push_back(message); }
    void accept() override { ++accepted; }
    void reject() override { ++rejected; }
    void openUrl(const QString& url) override { urls << url; }
};

struct FakeMainWindow : SignInMainWindow {
    int quits = 0;
    int shown = 0;
    void quitApplication() override { ++quits; }
    void showMainWindow() override { ++shown; }
};

const QString kPortalSip = QStringLiteral("demosip5521");

class SignInFlowTest : public DataFolderFixture {
protected:
    void SetUp() override
    {
        DataFolderFixture::SetUp();
        engine.load();
        PortalAnswer answer;
        answer.sipPassword = kPortalSip.toUtf8();
        portal.login = answer;
    }

    SignInParts parts()
    {
        return SignInParts{session,   starter, portal, provisioning, [this] { return online; },
                           mainWindow};
    }
    std::unique_ptr<SignInFlow> makeFlow(Mode mode)
    {
        auto made = std::make_unique<SignInFlow>(view, parts(), mode);
        made->begin(0, {}, {}, {});
        return made;
    }
    // The main window signed in as demo, as Account Login finds it.
    void signedInBefore()
    {
        ProvisioningReply reply;
        reply.status = "1";
        reply.registrarIp = "reg.example";
        session.signedIn(SignInRecord{0, {}, "demo", "demo1234"},
                         SipAccount{"demo", kPortalSip, "reg.example", 5}, reply);
        session.setStage(SessionStage::MainWindow);
    }
    // Lets queued answers arrive.
    static void settle() { QTest::qWait(20); }
    bool waitUntilIdle(SignInFlow& f, int ms = 4000)
    {
        return QTest::qWaitFor([&f] { return !f.waiting(); }, ms);
    }
    // Signs in and lets the portal and provisioning answer.
    void signIn(SignInFlow& f, const QString& user = "demo", const QString& pw = "demo1234")
    {
        f.signIn(user, pw, false);
        settle();
    }
    std::vector<std::string> registrations() const { return engine.callsTo("registerAccount"); }

    test::FakeEngine engine;
    EngineStarter starter{engine};
    Session session;
    test::FakePortal portal;
    test::FakeProvisioning provisioning;
    FakeView view;
    FakeMainWindow mainWindow;
    bool online = true;
};

TEST_F(SignInFlowTest, BadInputIsRefusedBeforeAnyRequest)
{
    const struct {
        const char* name;
        QString user;
        QString password;
        bool online;
        SignInMessage message;
    } cases[] = {
        {"offline", "alice", "pw", false, SignInMessage::InternetUnavailable},
        {"blank user", "", "pw", true, SignInMessage::BlankCredentials},
        {"blank password", "alice", "", true, SignInMessage::BlankCredentials},
    };
    auto flow = makeFlow(Mode::StartUp);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        view.messages.clear();
        online = c.online;
        flow->signIn(c.user, c.password, false);
        EXPECT_EQ(view.messages, std::vector<SignInMessage>{c.message});
        EXPECT_FALSE(flow->waiting());
    }
    // Each character that cannot stand in a SIP address, anywhere in the name.
    for (QChar forbidden : QStringLiteral("\\><\":][}|{` @^")) {
        const QString name = QStringLiteral("ab") + forbidden + QStringLiteral("c");
        view.messages.clear();
        flow->signIn(name, "pw", false);
        EXPECT_EQ(view.messages, std::vector<SignInMessage>{SignInMessage::InvalidUserName})
            << name.toStdString();
    }
    EXPECT_TRUE(portal.logins.isEmpty());
    EXPECT_TRUE(provisioning.bodies.empty());

    // Everything else is a name.
    flow->signIn("a.b-c_d+9%&pwd", "pw", false);
    EXPECT_EQ(portal.logins, QStringList{"a.b-c_d+9%&pwd/pw"});
}

TEST_F(SignInFlowTest, EverySignInRegistersWithThePortalsSipPassword)
{
    for (Mode mode : {Mode::StartUp, Mode::AccountLogin}) {
        SCOPED_TRACE(mode == Mode::StartUp ? "start-up" : "account login");
        engine.journal.clear();
        portal.logins.clear();
        auto flow = makeFlow(mode);
        signIn(*flow);
        EXPECT_EQ(portal.logins, QStringList{"demo/demo1234"});
        ASSERT_EQ(registrations().size(), 1u);
        EXPECT_NE(registrations()[0].find("\"demo\",\"demosip5521\""), std::string::npos)
            << registrations()[0];
    }
}

TEST_F(SignInFlowTest, UnreachablePortalIsReportedAndTheTypedPasswordIsTried)
{
    portal.login = std::nullopt;
    auto flow = makeFlow(Mode::StartUp);
    signIn(*flow);
    EXPECT_EQ(view.messages, std::vector<SignInMessage>{SignInMessage::PortalUnreachable});
    ASSERT_EQ(registrations().size(), 1u);
    EXPECT_NE(registrations()[0].find("\"demo\",\"demo1234\""), std::string::npos);
}

TEST_F(SignInFlowTest, RefusedDialerStopsWithoutCompletingAnAttempt)
{
    const struct {
        const char* status;
        SignInStatus shown;
    } cases[] = {{"0", SignInStatus::InactiveDialer},
                 {"2", SignInStatus::InactiveDialer},
                 {"3", SignInStatus::InvalidDialer}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        provisioning.reply = QByteArray("{\"status\":\"") + c.status + "\"}";
        auto flow = makeFlow(Mode::StartUp);
        signIn(*flow);
        EXPECT_EQ(flow->status(), c.shown);
        EXPECT_TRUE(view.editsEnabled);
        EXPECT_FALSE(flow->waiting());
        EXPECT_FALSE(flow->attemptDone());
        EXPECT_EQ(view.accepted + view.rejected, 0) << "the dialog stays open";
    }
    EXPECT_TRUE(registrations().empty());
}

TEST_F(SignInFlowTest, NoUsableReplyEndsTheApplication)
{
    for (const char* reply : {"", "[1,2]", "server error"}) {
        SCOPED_TRACE(reply);
        provisioning.reply = reply;
        view = FakeView{};
        mainWindow = FakeMainWindow{};
        auto flow = makeFlow(Mode::StartUp);
        signIn(*flow);
        EXPECT_EQ(view.messages, std::vector<SignInMessage>{SignInMessage::ServerError});
        EXPECT_EQ(view.rejected, 1);
        EXPECT_EQ(mainWindow.quits, 1);
    }
}

TEST_F(SignInFlowTest, ConfirmedRegistrationHandsTheSignInToTheSession)
{
    int accountChanges = 0;
    QObject::connect(&session, &Session::accountChanged, [&] { ++accountChanges; });
    auto flow = makeFlow(Mode::StartUp);
    flow->signIn("demo", "demo1234", true);
    settle();
    ASSERT_TRUE(flow->waiting()) << "waiting for the registration";
    EXPECT_EQ(flow->status(), SignInStatus::Registering);
    EXPECT_FALSE(view.editsEnabled);
    session.onRegistrationResult(200);
    ASSERT_TRUE(waitUntilIdle(*flow));
    EXPECT_EQ(view.accepted, 1);
    EXPECT_EQ(session.userName(), "demo");
    EXPECT_EQ(session.credentials().password, "demo1234");
    EXPECT_EQ(session.credentials().savePassword, 1);
    EXPECT_EQ(session.account().handle, engine.accountHandle);
    EXPECT_EQ(session.account().password, kPortalSip);
    ASSERT_TRUE(session.reply());
    EXPECT_EQ(session.reply()->registrarIp, "reg.example");
    EXPECT_EQ(accountChanges, 1);
}

TEST_F(SignInFlowTest, RegistrationFailuresAreShownAndTheNextPressStartsAfresh)
{
    const struct {
        int code;
        SignInStatus shown;
    } cases[] = {{401, SignInStatus::WrongCredentials},
                 {403, SignInStatus::WrongCredentials},
                 {404, SignInStatus::UserNotFound},
                 {408, SignInStatus::RequestTimeout}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        auto flow = makeFlow(Mode::StartUp);
        signIn(*flow);
        session.onRegistrationResult(c.code);
        EXPECT_EQ(flow->status(), c.shown);
        EXPECT_TRUE(view.editsEnabled);
        EXPECT_FALSE(flow->waiting()) << "the answer ends the wait";
        EXPECT_TRUE(flow->attemptDone());
        EXPECT_EQ(view.accepted, 0);

        engine.journal.clear();
        signIn(*flow);
        ASSERT_FALSE(engine.journal.empty());
        EXPECT_EQ(engine.journal.front(), "shutdown()") << "the failed engine goes first";
        EXPECT_EQ(registrations().size(), 1u);
        session.onRegistrationResult(200);
        ASSERT_TRUE(waitUntilIdle(*flow));
        EXPECT_EQ(view.accepted, 1);
        view.accepted = 0;
    }
}

TEST_F(SignInFlowTest, UnconfirmedRegistrationEndsTheWaitAndLeavesTheDialogOpen)
{
    auto flow = makeFlow(Mode::StartUp);
    signIn(*flow);
    ASSERT_TRUE(flow->waiting());
    QTest::qWait(2000);
    EXPECT_TRUE(flow->waiting()) << "five checks, half a second apart";
    ASSERT_TRUE(waitUntilIdle(*flow, 1500));
    EXPECT_TRUE(flow->attemptDone());
    EXPECT_EQ(flow->status(), SignInStatus::Registering);
    EXPECT_FALSE(view.editsEnabled);
    EXPECT_EQ(view.accepted + view.rejected, 0);
    // A late success after the wait is no sign-in of its own.
    session.onRegistrationResult(200);
    EXPECT_EQ(view.accepted, 0);
}

TEST_F(SignInFlowTest, PressesDuringAWaitAreDroppedNotReplayed)
{
    portal.answerAtOnce = false;
    provisioning.answerAtOnce = false;
    auto flow = makeFlow(Mode::AccountLogin);
    flow->signIn("demo", "demo1234", false);
    ASSERT_TRUE(flow->waiting());
    ASSERT_TRUE(view.waiting);
    const auto pressEverything = [&] {
        flow->signIn("demo", "demo1234", false);
        flow->signIn("other", "pw", false);
        flow->close();
        flow->signUp();
    };
    pressEverything();
    portal.answerLogins();
    pressEverything();
    provisioning.answerRequests();
    pressEverything();
    session.onRegistrationResult(200);
    ASSERT_TRUE(waitUntilIdle(*flow));
    settle();
    EXPECT_EQ(portal.logins, QStringList{"demo/demo1234"});
    EXPECT_EQ(provisioning.bodies.size(), 1u);
    EXPECT_EQ(registrations().size(), 1u);
    EXPECT_EQ(view.accepted, 1);
    EXPECT_EQ(view.rejected, 0) << "the close press was dropped";
    EXPECT_EQ(mainWindow.shown, 0);
    EXPECT_FALSE(view.waiting);
}

TEST_F(SignInFlowTest, ClosingAccountLoginRegistersThePreviousAccountAgain)
{
    const struct {
        const char* name;
        QByteArray reply;
        int registrationResult;  // 0: none
    } cases[] = {
        {"closed at once", {}, 0},
        {"after a refused password", R"({"status":"1","registrarip":"other.example"})", 401},
        {"after an inactive reply", R"({"status":"2"})", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        engine.journal.clear();
        view = FakeView{};
        mainWindow = FakeMainWindow{};
        signedInBefore();
        auto flow = makeFlow(Mode::AccountLogin);
        if (!c.reply.isEmpty()) {
            provisioning.reply = c.reply;
            signIn(*flow, "typo", "wrong");
            if (c.registrationResult) {
                session.onRegistrationResult(c.registrationResult);
            }
            ASSERT_TRUE(waitUntilIdle(*flow));
        }
        engine.journal.clear();
        engine.accountHandle = 42;
        flow->close();
        ASSERT_EQ(registrations().size(), 1u);
        EXPECT_EQ(registrations()[0], "registerAccount(\"sip:demo@reg.example\","
                                      "\"sip:demo@reg.example\",\"*\",\"demo\",\"demosip5521\","
                                      "null,1,0,0,0)");
        EXPECT_EQ(session.account().handle, 42) << "the calls go to the new handle";
        EXPECT_EQ(session.userName(), "demo");
        EXPECT_EQ(view.filledUser, "demo");
        EXPECT_EQ(view.filledPassword, "demo1234");
        EXPECT_EQ(mainWindow.shown, 1);
        EXPECT_TRUE(flow->waiting());
        session.onRegistrationResult(200);
        ASSERT_TRUE(waitUntilIdle(*flow, 3500));
        EXPECT_EQ(view.rejected, 1);
        EXPECT_EQ(mainWindow.quits, 0);
        EXPECT_TRUE(view.messages.empty() ||
                    view.messages == std::vector<SignInMessage>{SignInMessage::PortalUnreachable});
        engine.accountHandle = 11;
        provisioning.reply = test::FakeProvisioning{}.reply;
    }
}

TEST_F(SignInFlowTest, RefusedRestoreEndsTheApplication)
{
    signedInBefore();
    auto flow = makeFlow(Mode::AccountLogin);
    flow->close();
    EXPECT_EQ(session.stage(), SessionStage::Restoring);
    session.onRegistrationResult(403);
    ASSERT_TRUE(waitUntilIdle(*flow, 3500));
    EXPECT_EQ(view.rejected, 1);
    EXPECT_EQ(view.messages, std::vector<SignInMessage>{SignInMessage::RestoreFailed});
    EXPECT_EQ(mainWindow.quits, 1);
}

TEST_F(SignInFlowTest, ClosingAtStartUpCancelsAtOnce)
{
    auto flow = makeFlow(Mode::StartUp);
    flow->close();
    EXPECT_EQ(view.rejected, 1);
    EXPECT_TRUE(engine.journal.empty());
}

TEST_F(SignInFlowTest, SignUpOpensTheProvisionedPageWithoutRegistering)
{
    auto flow = makeFlow(Mode::StartUp);
    flow->signUp();
    ASSERT_TRUE(waitUntilIdle(*flow));
    EXPECT_EQ(view.urls, QStringList{"http://signup.example/"});
    EXPECT_TRUE(registrations().empty());
    // The next press signs in as usual.
    signIn(*flow);
    EXPECT_EQ(registrations().size(), 1u);
}

TEST_F(SignInFlowTest, TheDialogReadsTheFailoverRecordAndItsConstructionClearsTheSpareFlag)
{
    FailoverRecord saved;
    saved.altServerA = "9.9.9.9";
    saved.spareFlag = true;
    ASSERT_TRUE(saveRecordFile(kFailoverRecordKind, saved));
    session.failover().spareFlag = true;
    session.failover().altServerA = "stale";
    SignInFlow flow(view, parts(), Mode::StartUp);
    EXPECT_FALSE(session.failover().spareFlag);
    flow.begin(0, {}, "demo", {});
    EXPECT_EQ(session.failover().altServerA, "9.9.9.9");
    EXPECT_TRUE(session.failover().spareFlag);
    EXPECT_EQ(view.filledUser, "demo");
}

TEST(Failover, ModeDecidesWhichServerTheReplyReplaces)
{
    ProvisioningReply reply;
    reply.fips = QStringLiteral("9.9.9.9");
    reply.fports = QStringLiteral("5060;5080");
    const struct {
        const char* mode;
        const char* serverA;
        const char* portA2;
        const char* serverB;
        const char* portB1;
    } cases[] = {
        {"firstip", "1.1.1.1", "a2", "9.9.9.9", "5060"},
        {"secondip", "9.9.9.9", "5080", "", ""},
        {"failip", "9.9.9.9", "5080", "", ""},
        {"", "1.1.1.1", "a2", "2.2.2.2", "b1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        FailoverRecord record;
        record.altServerA = QStringLiteral("1.1.1.1");
        record.altPortA2 = QStringLiteral("a2");
        record.altServerB = QStringLiteral("2.2.2.2");
        record.altPortB1 = QStringLiteral("b1");
        applyFailover(QString::fromLatin1(c.mode), reply, record);
        EXPECT_EQ(record.altServerA, c.serverA);
        EXPECT_EQ(record.altPortA2, c.portA2);
        EXPECT_EQ(record.altServerB, c.serverB);
        EXPECT_EQ(record.altPortB1, c.portB1);
    }
}

}
