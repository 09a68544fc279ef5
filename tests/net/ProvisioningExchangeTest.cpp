// The dialer's provisioning and portal clients against the service stand-in
// over HTTPS, including its faults.
#include "net/PortalClient.h"
#include "net/ProvisioningClient.h"
#include "net/ProvisioningReply.h"
#include "net/ProvisioningTransport.h"
#include "net/RequestProtection.h"
#include "net/ServiceDirectory.h"
#include "support/ServiceProcess.h"
#include "support/TestEnvironment.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using namespace orvanta;

class ProvisioningExchange : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(service_.start(test::sourceDir() / "tools/service/demo-scenario.json"))
            << service_.error();
        deployment_.provisioningUrl = QString::fromStdString(service_.url("provisioning") + "/");
        deployment_.portalUrl = QString::fromStdString(service_.url("portal"));
        deployment_.webApiUrl = QString::fromStdString(service_.url("webapi"));
        deployment_.requestTimeoutMs = 1500;
    }

    QByteArray provision()
    {
        return ProvisioningTransport(deployment_)
            .provisioningPost(protection_.body(), protection_.key());
    }

    void control(const std::string& json) { ASSERT_EQ(service_.control(json), "") << json; }

    test::ServiceProcess service_;
    DeploymentSettings deployment_;
    RequestProtection protection_;
};

TEST_F(ProvisioningExchange, ScrambledRoundTripDeliversTheConfiguration)
{
    const auto reply = ProvisioningReply::parse(provision());
    ASSERT_TRUE(reply);
    EXPECT_TRUE(reply->accepted());
    EXPECT_EQ(reply->header, "Welcome to Orvanta");
    EXPECT_FALSE(reply->apiUrl.isEmpty());

    const auto logged = service_.waitForRequests(1, "provisioning");
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0].extra.at("name"), "Orvanta");
    EXPECT_EQ(logged[0].extra.at("key"), protection_.key());
}

TEST_F(ProvisioningExchange, DialerStatusComesThrough)
{
    for (const char* status : {"0", "2", "3"}) {
        control(std::string("{\"provisioning\":{\"status\":\"") + status + "\"}}");
        const auto reply = ProvisioningReply::parse(provision());
        ASSERT_TRUE(reply) << status;
        EXPECT_EQ(reply->status, status);
        EXPECT_FALSE(reply->accepted());
    }
}

struct FaultCase {
    const char* fault;
    bool parses;
};

TEST_F(ProvisioningExchange, BrokenRepliesGiveNoConfiguration)
{
    const FaultCase cases[] = {
        {"empty", false},         {"serverError", false}, {"http500", false},
        {"closeMidReply", false}, {"garbage", false},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.fault);
        control(std::string("{\"faults\":{\"provisioning\":{\"reply\":\"") + c.fault + "\"}}}");
        const QByteArray reply = provision();
        EXPECT_EQ(ProvisioningReply::parse(reply).has_value(), c.parses);
        if (std::string(c.fault) != "garbage") {
            EXPECT_TRUE(reply.isEmpty()) << reply.toStdString();
        }
    }
}

TEST_F(ProvisioningExchange, SlowServerIsGivenUpWithinTheTimeLimit)
{
    control(R"({"faults":{"provisioning":{"delayMs":5000}}})");
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(provision().isEmpty());
    EXPECT_LT(clock.elapsed(), 3000);
}

TEST_F(ProvisioningExchange, PortalGivesTheSipPasswordOnlyForTheRightPassword)
{
    const auto known = askPortal(deployment_, "demo", "demo1234");
    ASSERT_TRUE(known);
    EXPECT_EQ(known->sipPassword, QByteArray("demosip5521"));
    EXPECT_EQ(known->idClient, QByteArray("1001"));

    const auto wrong = askPortal(deployment_, "demo", "nope&x=1");
    ASSERT_TRUE(wrong);
    EXPECT_FALSE(wrong->sipPassword);
    const auto logged = service_.waitForRequests(2, "portal.login");
    ASSERT_EQ(logged.size(), 2u);
    EXPECT_EQ(logged[1].query.at("password"), "nope&x=1") << "sent encoded, arrives whole";
}

TEST_F(ProvisioningExchange, UnreachablePortalIsNoAnswer)
{
    DeploymentSettings closed = deployment_;
    closed.portalUrl = QStringLiteral("https://127.0.0.1:1");
    EXPECT_FALSE(askPortal(closed, "demo", "demo1234"));
    control(R"({"faults":{"portal.login":{"reply":"garbage"}}})");
    const auto garbled = askPortal(deployment_, "demo", "demo1234");
    ASSERT_TRUE(garbled);
    EXPECT_FALSE(garbled->sipPassword);
}

TEST_F(ProvisioningExchange, BalanceFailuresAreToldApart)
{
    DeploymentSettings closed = deployment_;
    closed.portalUrl = QStringLiteral("https://127.0.0.1:1");
    EXPECT_EQ(askBalance(closed, "demo").failure, BalanceFailure::Unreachable);
    const struct {
        const char* fault;
        BalanceFailure failure;
    } cases[] = {{"http500", BalanceFailure::Refused}, {"garbage", BalanceFailure::Unreadable}};
    for (const auto& c : cases) {
        control(std::string(R"({"faults":{"portal.balance":{"reply":")") + c.fault + "\"}}}");
        EXPECT_EQ(askBalance(deployment_, "demo").failure, c.failure) << c.fault;
    }
    control(R"({"faults":{"portal.balance":{}}})");
    const BalanceResult answered = askBalance(deployment_, "demo");
    ASSERT_TRUE(answered.answer);
    EXPECT_FALSE(answered.answer->balance.isEmpty());
}

// The clients send off the calling thread: it keeps running its timers
// while a slow server answers, and the answers come by signal.
TEST_F(ProvisioningExchange, ClientsAnswerBySignalWhileTheThreadKeepsRunning)
{
    control(R"({"faults":{"portal.login":{"delayMs":400},"provisioning":{"delayMs":400}}})");
    const ServiceDirectory services(deployment_);
    PortalClient portal(services);
    ProvisioningClient provisioning(services);
    std::optional<PortalAnswer> login;
    QByteArray reply;
    int answers = 0;
    QEventLoop loop;
    QObject::connect(&portal, &PortalClient::loginAnswered,
                     [&](const std::optional<PortalAnswer>& answer) {
                         login = answer;
                         ++answers;
                         loop.quit();
                     });
    QObject::connect(&provisioning, &ProvisioningClient::provisioningAnswered,
                     [&](const QByteArray& text) {
                         reply = text;
                         ++answers;
                         loop.quit();
                     });
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(20);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);

    QElapsedTimer clock;
    clock.start();
    portal.requestLogin("demo", "demo1234");
    provisioning.requestProvisioning(protection_.body(), protection_.key());
    EXPECT_LT(clock.elapsed(), 100) << "requests return at once";
    while (answers < 2 && clock.elapsed() < 5000) {
        loop.exec();
    }
    ASSERT_EQ(answers, 2);
    EXPECT_GE(ticks, 10) << "the thread kept running while the servers were slow";
    ASSERT_TRUE(login);
    EXPECT_EQ(login->sipPassword, QByteArray("demosip5521"));
    const auto parsed = ProvisioningReply::parse(reply);
    ASSERT_TRUE(parsed);
    EXPECT_TRUE(parsed->accepted());
}

}
