#include "platform/DataFolder.h"
#include "support/TestEnvironment.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>

namespace {

using orvanta::platform::dataFolderPath;
using orvanta::platform::prepareDataFolder;

// Sets or clears environment variables for one test and restores them.
class ScopedEnvironment {
public:
    void set(const char* name, const std::optional<std::string>& value)
    {
        const char* old = std::getenv(name);
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        apply(name, value);
    }
    ~ScopedEnvironment()
    {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            apply(it->first.c_str(), it->second);
        }
    }

private:
    static void apply(const char* name, const std::optional<std::string>& value)
    {
        if (value) {
            setenv(name, value->c_str(), 1);
        } else {
            unsetenv(name);
        }
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

struct FolderCase {
    std::optional<std::string> dataDir;
    std::optional<std::string> xdgDataHome;
    std::string expected;
};

TEST(DataFolder, LocationFollowsTheEnvironment)
{
    const FolderCase cases[] = {
        {"/x/explicit", "/x/xdg", "/x/explicit"},
        {std::nullopt, "/x/xdg", "/x/xdg/Orvanta"},
        {"", "/x/xdg", "/x/xdg/Orvanta"},
        {std::nullopt, std::nullopt, "/home/someone/.local/share/Orvanta"},
    };
    for (const FolderCase& c : cases) {
        ScopedEnvironment env;
        env.set("ORVANTA_DATA_DIR", c.dataDir);
        env.set("XDG_DATA_HOME", c.xdgDataHome);
        env.set("HOME", "/home/someone");
        EXPECT_EQ(dataFolderPath(), c.expected);
    }
}

TEST(DataFolder, PreparingCreatesMissingParentsAndIsRepeatable)
{
    orvanta::test::TempDir dir;
    ScopedEnvironment env;
    env.set("ORVANTA_DATA_DIR", (dir / "a" / "b" / "Orvanta").string());
    EXPECT_TRUE(prepareDataFolder());
    EXPECT_TRUE(std::filesystem::is_directory(dir / "a" / "b" / "Orvanta"));
    EXPECT_TRUE(prepareDataFolder());
    EXPECT_EQ(orvanta::platform::recordFilePath("IP"),
              dir / "a" / "b" / "Orvanta" / "IP_Orvanta.bin");
}

TEST(DataFolder, UnusablePathIsReportedOnStandardOutput)
{
    orvanta::test::TempDir dir;
    std::ofstream(dir / "plainfile") << "x";
    ScopedEnvironment env;
    env.set("ORVANTA_DATA_DIR", (dir / "plainfile" / "Orvanta").string());
    testing::internal::CaptureStdout();
    EXPECT_FALSE(prepareDataFolder());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "CreateDirectory failed (20)\n");
}

}
