// Real calls from the main window: the real engine signed in through the
// service stand-in, Kamailio as registrar and proxy, baresip phones as the
// other side. The window is driven through its buttons and keys.
#include "MainWindowHarness.h"
#include "app/DialerWindows.h"
#include "controls/MessageBox.h"
#include "mainwnd/CZebSoftPhoneDlg.h"
#include "signin/CMainLogin.h"
#include "support/ServiceProcess.h"
#include "peers/SipPeers.h"
#include "support/TestEnvironment.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTest>
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
        harness_.build(networkSignInServices(*settings), binDir() / "libOrvanta.so");
        harness_.openWithSavedAccount(QStringLiteral("demo"), QStringLiteral("demo1234"));
        window_->show();
        ASSERT_TRUE(
            QTest::qWaitFor([this] { return window_->flags().registrationConfirmed; }, 5000))
            << registrar->output();
    }
    void TearDown() override
    {
        if (window_) {
            window_->quitNow();
        }
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
        return QTest::qWaitFor([&] { return window_->face().statusLine()->text() == text; }, ms);
    }
    std::string describe() const
    {
        std::string shown;
        for (const QString& m : messages_) {
            shown += " message=" + m.toStdString();
        }
        shown += window_->calls().state().callsAllowed ? " allowed" : " refused";
        return shown + " number=" + window_->face().numberDisplay()->text().toStdString() +
               " status=" + window_->face().statusLine()->text().toStdString() +
               " banner=" + window_->face().banner()->text().toStdString();
    }

    inline static Kamailio* registrar = nullptr;
    inline static Baresip* bob = nullptr;
    inline static Baresip* carol = nullptr;
    inline static ServiceProcess* service = nullptr;
    inline static TempDir* deploymentFile = nullptr;
    inline static DeploymentSettings* settings = nullptr;

    MainWindowHarness harness_;
    std::vector<QString>& messages_ = harness_.messages;
    std::unique_ptr<CZebSoftPhoneDlg>& window_ = harness_.window;
};

TEST_F(DialerCalls, DialPadCallConnectsCarriesDtmfHoldsAndHangsUp)
{
    dial(kBob);
    ASSERT_TRUE(statusBecomes(QStringLiteral("Connected..."))) << describe() << bob->output();
    ASSERT_TRUE(bob->waitForEvent("CALL_ESTABLISHED"));

    QTest::keyClick(window_.get(), Qt::Key_7);
    const auto digit = bob->waitForEvent("CALL_DTMF_START");
    ASSERT_TRUE(digit) << bob->output();
    EXPECT_EQ(digit->param, "7");

    click(QStringLiteral("Place call on hold"));
    EXPECT_TRUE(window_->face().button(QStringLiteral("Place call on hold"))->isChecked());
    click(QStringLiteral("Place call on hold"));
    EXPECT_FALSE(window_->face().button(QStringLiteral("Place call on hold"))->isChecked());
    QTest::keyClick(window_.get(), Qt::Key_8);
    EXPECT_TRUE(bob->waitForEvent("CALL_DTMF_START")) << "the call talks again after retrieve";

    ASSERT_TRUE(
        QTest::qWaitFor([this] { return !window_->face().callTimer()->text().isEmpty(); }, 2500));
    const std::size_t balanceQueries = service->requests("portal.balance").size();
    click(QStringLiteral("Hang Up"));
    EXPECT_TRUE(bob->waitForEvent("CALL_CLOSED"));
    ASSERT_TRUE(statusBecomes(QStringLiteral("Ready : demo"))) << describe();
    EXPECT_GT(service->waitForRequests(balanceQueries + 1, "portal.balance").size(),
              balanceQueries);
    ASSERT_EQ(window_->callLog().entries().size(), 1u);
    EXPECT_EQ(window_->callLog().entries()[0].kind, 'D');
    EXPECT_TRUE(window_->callLog().entries()[0].duration.startsWith(QStringLiteral("00:00:0")));
}

TEST_F(DialerCalls, IncomingCallIsTakenByAutoAnswer)
{
    click(QStringLiteral("Auto answer"));
    ASSERT_TRUE(bob->command("dial", registrar->uri("demo")).ok);
    ASSERT_TRUE(statusBecomes(QStringLiteral("Connected..."))) << describe();
    EXPECT_TRUE(bob->waitForEvent("CALL_ESTABLISHED"));
    EXPECT_TRUE(bob->command("hangup").ok);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window_->callLog().entries().empty(); }, 5000));
    EXPECT_EQ(window_->callLog().entries()[0].kind, 'R');
    EXPECT_EQ(window_->callLog().entries()[0].number, QString::fromLatin1(kBob));
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
            return !window_->face().banner()->text().contains(QStringLiteral("Transfering"));
        },
        8000))
        << describe();
    EXPECT_FALSE(window_->face().banner()->text().contains(QStringLiteral("Failed"))) << describe();
    bob->command("hangup");
    carol->command("hangup");
}

}
}
