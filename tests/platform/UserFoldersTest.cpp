#include "platform/UserFolders.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

// Where recordings go when the user chose no folder.
class RecordingFolder : public testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(home());
        setenv("HOME", home().c_str(), 1);
        setenv("XDG_CONFIG_HOME", (temp_ / "config").c_str(), 1);
        setenv("ORVANTA_DATA_DIR", (temp_ / "data").c_str(), 1);
    }

    std::filesystem::path home() const { return temp_ / "home"; }

    void writeUserDirs(const std::string& musicLine)
    {
        std::filesystem::create_directories(temp_ / "config");
        QFile dirs(temp_ / "config" / "user-dirs.dirs");
        ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
        dirs.write(("XDG_MUSIC_DIR=\"" + musicLine + "\"\n").c_str());
    }

    orvanta::test::TempDir temp_;
};

TEST_F(RecordingFolder, OrvantaInTheMusicFolderElseTheDataFolder)
{
    const struct {
        const char* name;
        std::string musicLine;  // empty: no user-dirs file
        bool createMusicFolder;
        std::filesystem::path expected;
    } cases[] = {
        {"the user's music folder", "$HOME/Musik", true, home() / "Musik" / "Orvanta"},
        {"a music folder that does not exist", "$HOME/Musik", false, temp_ / "data" / "recordings"},
        {"music turned off points at home", "$HOME/", false, temp_ / "data" / "recordings"},
        {"no user-dirs file and no ~/Music", "", false, temp_ / "data" / "recordings"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(temp_ / "config");
        std::filesystem::remove_all(home() / "Musik");
        std::filesystem::remove_all(temp_ / "data");
        if (!c.musicLine.empty()) {
            writeUserDirs(c.musicLine);
        }
        if (c.createMusicFolder) {
            std::filesystem::create_directories(home() / "Musik");
        }
        const QString folder = orvanta::platform::defaultRecordingFolder();
        EXPECT_EQ(folder.toStdString(), c.expected.string());
        EXPECT_TRUE(std::filesystem::is_directory(c.expected)) << "created when needed";
    }
}

}
