// Real calls from the main window: the real engine signed in through the
// service stand-in, Kamailio as registrar and proxy, baresip phones as the
// other side. The window is driven through its buttons and keys.
#include "MainWindowHarness.h"
#include "app/DialerWindows.h"
#include "controls/MessageBox.h"
#include "mainwnd/CZebSoftPhoneDlg.h"
#include "peers/SipPeers.h"
#include "services/CRates.h"
#include "signin/CMainLogin.h"
#include "support/ServiceProcess.h"
#include "support/TestEnvironment.h"

#include <QAbstractButton>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace orvanta::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kBob = "5551000";
constexpr const char* kCarol = "5552000";

Baresip::Options phone(const std::string& user, const std::string& registrar)
{
    Baresip::Options options;
    options.user = user;
    options.password = user + "pw";
    options.registrar = registrar;
    options.autoAnswer = true;
    options.codec = Baresip::Options::Codec::Opus;
    return options;
}

// One registrar, one service and two phones serve the suite; each test
// signs a fresh main window in with the saved demo account.
class DialerCalls : public testing::Test {
public:
    static void SetUpTestSuite()
    {
        setenv("ORVANTA_ENGINE_NULL_AUDIO", "1", 1);
        setenv("ORVANTA_ENGINE_BIND_ADDRESS", "127.0.0.1", 1);
        setenv("ORVANTA_ENGINE_REGISTER_TIMEOUT_MS", "3000", 1);
        try {
            registrar = new Kamailio({{"demo", "demosip5521"},
                                      {kBob, std::string(kBob) + "pw"},
                                      {kCarol, std::string(kCarol) + "pw"}});
            bob = new Baresip(phone(kBob, registrar->hostPort()));
            carol = new Baresip(phone(kCarol, registrar->hostPort()));
            service = new ServiceProcess();
            deploymentFile = new TempDir();
            const std::string deployment = (*deploymentFile / "deployment.ini").string();
            if (!service->start(
                    sourceDir() / "tools/service/demo-scenario.json",
                    {"--registrar", registrar->hostPort(), "--write-deployment", deployment})) {
                throw std::runtime_error(service->error());
            }
            settings = new DeploymentSettings(
                *loadDeploymentSettings(QString::fromStdString(deployment)).settings);
        } catch (const std::exception& error) {
            TearDownTestSuite();
            FAIL() << error.what();
        }
    }
    static void TearDownTestSuite()
    {
        delete settings;
        delete service;
        delete deploymentFile;
        delete carol;
        delete bob;
        delete registrar;
        settings = nullptr;
        service = nullptr;
        deploymentFile = nullptr;
        carol = bob = nullptr;
        registrar = nullptr;
    }

protected:
    void SetUp() override
    {
        if (!settings) {
            GTEST_FAIL() << "peers did not start";
        }
        for (Baresip* peer : {bob, carol}) {
            peer->clearEvents();
            peer->command("answermode", "auto");
        }
        harness_.build(binDir() / "libOrvanta.so", *settings, DialerNetwork{});
        harness_.openWithSavedAccount(QStringLiteral("demo"), QStringLiteral("demo1234"));
        ASSERT_TRUE(registered()) << registrar->output();
    }
    void TearDown() override
    {
        if (harness_.core) {
            harness_.model().quitNow();
        }
    }

    bool registered(int ms = 5000)
    {
        return QTest::qWaitFor(
            [this] {
                return harness_.core->session().registrationState() ==
                       RegistrationState::Registered;
            },
            ms);
    }

    void click(const QString& name) { harness_.click(name); }
    void dial(const char* number)
    {
        for (const char* digit = number; *digit; ++digit) {
            click(QString(QChar::fromLatin1(*digit)));
        }
        click(QStringLiteral("Dial"));
    }
    bool statusBecomes(const QString& text, int ms = 8000)
    {
        return QTest::qWaitFor([&] { return harness_.status() == text; }, ms);
    }
    std::vector<MainWindowHarness::LoggedCall> callLog() const { return harness_.loggedCalls(); }
    // A call to bob from the dial pad that connects, then hangs up.
    void callBobAndHangUp()
    {
        dial(kBob);
        ASSERT_TRUE(statusBecomes(QStringLiteral("Connected..."))) << describe() << bob->output();
        ASSERT_TRUE(bob->waitForEvent("CALL_ESTABLISHED"));
        click(QStringLiteral("Hang Up"));
        EXPECT_TRUE(bob->waitForEvent("CALL_CLOSED"));
    }
    // Runs "Account Login" and waits for its dialog.
    CMainLogin* accountLogin()
    {
        harness_.model().run(CommandId::AccountLogin);
        if (!QTest::qWaitFor([this] { return harness_.openDialog() != nullptr; }, 8000)) {
            return nullptr;
        }
        return harness_.openDialog();
    }
    std::string describe() const
    {
        std::string shown;
        for (const QString& m : messages_) {
            shown += " message=" + m.toStdString();
        }
        shown += harness_.core->calls().state().callsAllowed ? " allowed" : " refused";
        return shown + " number=" + harness_.face().numberDisplay()->text().toStdString() +
               " status=" + harness_.status().toStdString() +
               " banner=" + harness_.face().banner()->text().toStdString();
    }

    inline static Kamailio* registrar = nullptr;
    inline static Baresip* bob = nullptr;
    inline static Baresip* carol = nullptr;
    inline static ServiceProcess* service = nullptr;
    inline static TempDir* deploymentFile = nullptr;
    inline static DeploymentSettings* settings = nullptr;

    MainWindowHarness harness_;
    std::vector<QString>& messages_ = harness_.messages;
};

TEST_F(DialerCalls, DialPadCallConnectsCarriesDtmfHoldsAndHangsUp)
{
    dial(kBob);
    ASSERT_TRUE(statusBecomes(QStringLiteral("Connected..."))) << describe() << bob->output();
    ASSERT_TRUE(bob->waitForEvent("CALL_ESTABLISHED"));

    QTest::keyClick(harness_.window(), Qt::Key_7);
    const auto digit = bob->waitForEvent("CALL_DTMF_START");
    ASSERT_TRUE(digit) << bob->output();
    EXPECT_EQ(digit->param, "7");

    click(QStringLiteral("Place call on hold"));
    EXPECT_TRUE(harness_.face().button(QStringLiteral("Place call on hold"))->isChecked());
    click(QStringLiteral("Place call on hold"));
    EXPECT_FALSE(harness_.face().button(QStringLiteral("Place call on hold"))->isChecked());
    QTest::keyClick(harness_.window(), Qt::Key_8);
    EXPECT_TRUE(bob->waitForEvent("CALL_DTMF_START")) << "the call talks again after retrieve";

    ASSERT_TRUE(
        QTest::qWaitFor([this] { return !harness_.face().callTimer()->text().isEmpty(); }, 2500));
    const std::size_t balanceQueries = service->requests("portal.balance").size();
    click(QStringLiteral("Hang Up"));
    EXPECT_TRUE(bob->waitForEvent("CALL_CLOSED"));
    ASSERT_TRUE(statusBecomes(QStringLiteral("Ready : demo"))) << describe();
    EXPECT_GT(service->waitForRequests(balanceQueries + 1, "portal.balance").size(),
              balanceQueries);
    ASSERT_EQ(callLog().size(), 1u);
    EXPECT_EQ(callLog()[0].kind, 'D');
    EXPECT_TRUE(callLog()[0].duration.startsWith(QStringLiteral("00:00:0")));
}

TEST_F(DialerCalls, IncomingCallIsTakenByAutoAnswer)
{
    click(QStringLiteral("Auto answer"));
    ASSERT_TRUE(bob->command("dial", registrar->uri("demo")).ok);
    ASSERT_TRUE(statusBecomes(QStringLiteral("Connected..."))) << describe();
    EXPECT_TRUE(bob->waitForEvent("CALL_ESTABLISHED"));
    EXPECT_TRUE(bob->command("hangup").ok);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !callLog().empty(); }, 5000));
    EXPECT_EQ(callLog()[0].kind, 'R');
    EXPECT_EQ(callLog()[0].number, QString::fromLatin1(kBob));
}

// A call its caller gives up before it is answered is a missed call named
// after the matching contact, and it is in the call log file at once, so a
// dialer killed afterwards keeps it.
TEST_F(DialerCalls, ACancelledOfferIsAMissedCallNamedAfterItsContactAndFiledAtOnce)
{
    Contact contact;
    contact.name = QStringLiteral("Bob Baresip");
    contact.mobile = QString::fromLatin1(kBob);
    ASSERT_TRUE(harness_.core->contacts().add(contact));
    ASSERT_TRUE(bob->command("dial", registrar->uri("demo")).ok);
    ASSERT_TRUE(
        QTest::qWaitFor([this] { return harness_.core->calls().state().line(0).incoming(); }, 8000))
        << describe();
    EXPECT_TRUE(bob->command("hangup").ok);
    CallLog& log = harness_.core->callLog();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !log.list(CallKind::Missed).empty(); }, 8000))
        << describe();
    ASSERT_TRUE(log.waitUntilWritten());

    QFile file(harness_.temp / "data" / "CallLog_Orvanta.bin");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const auto lists = decodeCallLogFile(file.readAll());
    const auto& missed = lists[static_cast<std::size_t>(CallKind::Missed)];
    ASSERT_EQ(missed.size(), 1u);
    EXPECT_EQ(missed[0].number, QString::fromLatin1(kBob));
    EXPECT_EQ(missed[0].name, QStringLiteral("Bob Baresip"));
    EXPECT_TRUE(missed[0].duration.isEmpty());
}

TEST_F(DialerCalls, BlindTransferHandsTheCallToASecondPhone)
{
    dial(kBob);
    ASSERT_TRUE(statusBecomes(QStringLiteral("Connected..."))) << describe();
    ASSERT_TRUE(bob->waitForEvent("CALL_ESTABLISHED"));
    click(QStringLiteral("Transfer"));
    dial(kCarol);
    EXPECT_TRUE(carol->waitForEvent("CALL_ESTABLISHED", 8000ms)) << carol->output();
    ASSERT_TRUE(QTest::qWaitFor(
        [this] {
            return !harness_.face().banner()->text().contains(QStringLiteral("Transfering"));
        },
        8000))
        << describe();
    EXPECT_FALSE(harness_.face().banner()->text().contains(QStringLiteral("Failed"))) << describe();
    bob->command("hangup");
    carol->command("hangup");
}

// After "Account Login" the calls go through the account the dialog
// signed in with, or through the restored one when it was closed.
TEST_F(DialerCalls, CallAfterAccountLoginConnects)
{
    CMainLogin* dialog = accountLogin();
    ASSERT_NE(dialog, nullptr) << describe();
    QTest::mouseClick(dialog->signInButton(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return harness_.openDialog() == nullptr; }, 8000))
        << dialog->statusLabel()->text().toStdString() << registrar->output();
    EXPECT_TRUE(registered()) << registrar->output();
    EXPECT_TRUE(harness_.window()->isVisible());
    EXPECT_EQ(harness_.status(), QStringLiteral("Ready : demo"));
    callBobAndHangUp();
    ASSERT_TRUE(statusBecomes(QStringLiteral("Ready : demo"))) << describe();
    EXPECT_TRUE(messages_.empty()) << describe();
}

TEST_F(DialerCalls, CallAfterAccountLoginClosedWithoutSigningInConnects)
{
    CMainLogin* dialog = accountLogin();
    ASSERT_NE(dialog, nullptr) << describe();
    QTest::mouseClick(dialog->closeButton(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return harness_.openDialog() == nullptr; }, 8000));
    EXPECT_TRUE(registered()) << registrar->output();
    EXPECT_TRUE(harness_.window()->isVisible());
    callBobAndHangUp();
    ASSERT_TRUE(statusBecomes(QStringLiteral("Ready : demo"))) << describe();
    EXPECT_FALSE(harness_.finished());
    EXPECT_TRUE(messages_.empty()) << describe();
}

// The account services over the real sign-in: the registration fetched the
// friends by itself, and a menu row's window reaches the provisioned account
// API.
TEST_F(DialerCalls, RegistrationFetchesTheFriendsAndTheRatesRowReachesTheAccountApi)
{
    const FriendList& friends = harness_.core->accountServices().friends();
    EXPECT_TRUE(QTest::qWaitFor([&] { return friends.rows().size() == 2; }, 5000));
    const auto fetches = service->requests("webapi.retrieveFriendList");
    ASSERT_FALSE(fetches.empty());
    EXPECT_EQ(fetches.back().query.at("subscriberId"), "demo");

    ASSERT_TRUE(harness_.model().run(CommandId::Rates));
    auto* rates = harness_.window()->findChild<CRates*>();
    ASSERT_NE(rates, nullptr);
    rates->numberEdit()->setText(QStringLiteral("442071234567"));
    QTest::mouseClick(rates->checkButton(), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return rates->resultLabel()->text().startsWith("Rate for the given number is =0.02");
        },
        5000))
        << rates->resultLabel()->text().toStdString();
    rates->close();
}

}
}
