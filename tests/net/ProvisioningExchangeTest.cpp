// The dialer's provisioning and portal clients against the service stand-in
// over HTTPS, including its faults.
#include "net/PortalClient.h"
#include "net/ProvisioningReply.h"
#include "net/ProvisioningTransport.h"
#include "net/RequestProtection.h"
#include "support/ServiceProcess.h"
#include "support/TestEnvironment.h"

#include <QElapsedTimer>
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

}
