#include "net/DeploymentSettings.h"
#include "support/TestEnvironment.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {

using orvanta::loadDeploymentSettings;

QString writeFile(const orvanta::test::TempDir& dir, const std::string& content)
{
    const auto path = dir / "deployment.ini";
    std::ofstream(path) << content;
    return QString::fromStdString(path.string());
}

TEST(DeploymentSettings, ReadsTheServiceSection)
{
    orvanta::test::TempDir dir;
    const auto load =
        loadDeploymentSettings(writeFile(dir, "# written by a tool\n"
                                              "[other]\nprovisioning_url=http://wrong/\n"
                                              "[service]\n"
                                              "provisioning_url = https://127.0.0.1:4430/\n"
                                              "portal_url=https://127.0.0.1:4431\n"
                                              "webapi_url=http://127.0.0.1:8080\n"
                                              "verify_tls=true\n"));
    ASSERT_TRUE(load.settings) << load.error.toStdString();
    EXPECT_EQ(load.settings->provisioningUrl, "https://127.0.0.1:4430/");
    EXPECT_EQ(load.settings->portalUrl, "https://127.0.0.1:4431");
    EXPECT_EQ(load.settings->webApiUrl, "http://127.0.0.1:8080");
    EXPECT_TRUE(load.settings->verifyTls);
}

struct BadCase {
    const char* name;
    std::string content;
    const char* mentions;
};

TEST(DeploymentSettings, ProblemsAreNamedWithTheFile)
{
    const std::string complete = "[service]\nprovisioning_url=https://a/\nportal_url=https://b\n";
    const BadCase cases[] = {
        {"missing key", complete, "webapi_url is missing"},
        {"bad url", complete + "webapi_url=https://c\n", "webapi_url is not a usable address"},
        {"not key=value", "[service]\njunk\n", "line 2"},
        {"bad flag", complete + "webapi_url=http://c\nverify_tls=yes\n", "verify_tls"},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.name);
        orvanta::test::TempDir dir;
        const QString path = writeFile(dir, c.content);
        const auto load = loadDeploymentSettings(path);
        EXPECT_FALSE(load.settings);
        EXPECT_TRUE(load.error.contains(path));
        EXPECT_TRUE(load.error.contains(QLatin1String(c.mentions))) << load.error.toStdString();
    }
    const auto missing = loadDeploymentSettings(QStringLiteral("/nonexistent/deployment.ini"));
    EXPECT_FALSE(missing.settings);
    EXPECT_TRUE(missing.error.contains(QLatin1String("/nonexistent/deployment.ini")));
}

TEST(DeploymentSettings, CommandLineThenEnvironmentThenTheFirstFileThatExists)
{
    // Folders: u = the user's settings, p = beside the program, s1 and s2 =
    // the machine's settings folders in $XDG_CONFIG_DIRS order.
    struct Case {
        const char* commandLine;
        const char* environment;
        std::vector<std::string> existing;
        std::string expected;
    };
    const Case cases[] = {
        {"/cli/d.ini", "/env/d.ini", {"u", "p"}, "/cli/d.ini"},
        {"", "/env/d.ini", {"u", "p"}, "/env/d.ini"},
        {"", nullptr, {"u", "p", "s1"}, "u/orvanta/deployment.ini"},
        {"", nullptr, {"p", "s1"}, "p/deployment.ini"},
        {"", nullptr, {"s2"}, "s2/orvanta/deployment.ini"},
        {"", nullptr, {"s1", "s2"}, "s1/orvanta/deployment.ini"},
        // None: the error will name where the user's own belongs.
        {"", nullptr, {}, "u/orvanta/deployment.ini"},
    };
    for (const Case& c : cases) {
        orvanta::test::TempDir temp;
        const auto file = [&](const std::string& folder) {
            return folder == "p" ? temp / "p" / "deployment.ini"
                                 : temp / folder / "orvanta" / "deployment.ini";
        };
        for (const std::string& folder : c.existing) {
            std::filesystem::create_directories(file(folder).parent_path());
            std::ofstream(file(folder)) << "[service]\n";
        }
        qputenv("XDG_CONFIG_HOME", (temp / "u").c_str());
        qputenv("XDG_CONFIG_DIRS",
                ((temp / "s1").string() + ":relative:" + (temp / "s2").string()).c_str());
        if (c.environment) {
            qputenv("ORVANTA_DEPLOYMENT", c.environment);
        } else {
            qunsetenv("ORVANTA_DEPLOYMENT");
        }
        const QString expected = c.expected.front() == '/'
                                     ? QString::fromStdString(c.expected)
                                     : QString::fromStdString((temp / c.expected).string());
        EXPECT_EQ(orvanta::deploymentSettingsPath(QString::fromLatin1(c.commandLine),
                                                  QString::fromStdString((temp / "p").string())),
                  expected)
            << c.expected;
    }
    qunsetenv("ORVANTA_DEPLOYMENT");
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_CONFIG_DIRS");
}

}
