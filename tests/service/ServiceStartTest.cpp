#include "ServiceFixture.h"

#include <chrono>
#include <set>
#include <sstream>

using namespace orvanta::test;

TEST(ServiceStart, ServesTheDemoScenarioWritesDeploymentAndStopsOnSigterm)
{
    TempDir dir;
    ServiceProcess service;
    const auto began = std::chrono::steady_clock::now();
    ASSERT_TRUE(service.start(sourceDir() / "tools/service/demo-scenario.json",
                              {"--write-deployment", (dir / "deployment.ini").string()}))
        << service.error();
    EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(1));

    std::set<int> ports;
    for (const char* name : {"provisioning", "portal", "webapi", "accountapi", "sms", "control"})
        ports.insert(service.port(name));
    EXPECT_EQ(ports.size(), 6u);
    EXPECT_EQ(ports.count(0), 0u);

    std::ifstream in(dir / "deployment.ini");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(),
              "[service]\nprovisioning_url=https://127.0.0.1:" +
                  std::to_string(service.port("provisioning")) +
                  "/\nportal_url=https://127.0.0.1:" + std::to_string(service.port("portal")) +
                  "\nwebapi_url=http://127.0.0.1:" + std::to_string(service.port("webapi")) + "\n");

    EXPECT_EQ(service.stop(), 0);
    EXPECT_EQ(service.outputLines().back(), "{\"event\":\"stopped\"}");
}

TEST(ServiceStart, RefusesUnusableScenariosAndOptions)
{
    const std::string big(600, 'x');
    struct Case {
        const char* what;
        std::string scenario;
        std::vector<std::string> args;
        const char* error;
    };
    const Case cases[] = {
        {"not JSON", "{\"accounts\": [", {}, "JSON error"},
        {"unknown member", R"({"acounts": []})", {}, "acounts: unknown member"},
        {"account without password",
         R"({"accounts": [{"user": "a", "sipPassword": "s"}]})",
         {},
         "accounts[0].password: missing"},
        {"user twice",
         R"({"accounts": [{"user": "a", "password": "p", "sipPassword": "s"},
                                          {"user": "a", "password": "q", "sipPassword": "t"}]})",
         {},
         "accounts[1].user: used by an earlier account"},
        {"bad balance",
         R"({"accounts": [{"user": "a", "password": "p", "sipPassword": "s", "balance": "1,5"}]})",
         {},
         "accounts[0].balance"},
        {"zero rate", R"({"rates": {"default": "0"}})", {}, "rates.default"},
        {"unknown fault", R"({"faults": {"sms": {"reply": "explode"}}})", {}, "faults.sms.reply"},
        {"non-string provisioning value",
         R"({"provisioning": {"size": 4}})",
         {},
         "provisioning.size"},
        {"reply over the dialer's read",
         R"({"provisioning": {"header": ")" + big + R"(", "footer": ")" + big + "\"}}",
         {},
         "more than the 1025"},
        {"registrar without port", "{}", {"--registrar", "127.0.0.1"}, "HOST:PORT"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        std::ofstream(dir / "scenario.json") << c.scenario;
        ServiceProcess service;
        EXPECT_FALSE(service.start(dir / "scenario.json", c.args)) << c.what;
        EXPECT_NE(service.error().find(c.error), std::string::npos)
            << c.what << ": " << service.error();
    }

    ServiceProcess missing;
    EXPECT_FALSE(missing.start("/nonexistent/scenario.json"));
    EXPECT_NE(missing.error().find("cannot open"), std::string::npos) << missing.error();
}

class UnknownPaths : public ServiceFixture {};

TEST_F(UnknownPaths, AreLoggedAndAnswered404)
{
    const auto result = get("portal", "/vportal/API/TRAMOZED/other.php?x=1");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 404);
    const auto logged = service.waitForRequests(1, "portal.unknown");
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0].path, "/vportal/API/TRAMOZED/other.php");
    EXPECT_EQ(logged[0].query.at("x"), "1");
}
