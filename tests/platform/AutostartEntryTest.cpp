#include "platform/AutostartEntry.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using orvanta::platform::AutostartEntry;
using orvanta::platform::desktopExecArgument;

class Autostart : public testing::Test {
protected:
    void SetUp() override
    {
        setenv("XDG_CONFIG_HOME", (temp_ / "config").c_str(), 1);
        setenv("HOME", temp_.path().c_str(), 1);
    }

    std::filesystem::path entry() const
    {
        return temp_ / "config" / "autostart" / "orvanta.desktop";
    }

    // The entry's inode: a rewrite replaces the file.
    ino_t inode() const
    {
        struct stat info {};
        return stat(entry().c_str(), &info) == 0 ? info.st_ino : 0;
    }

    orvanta::test::TempDir temp_;
};

struct ExecCase {
    const char* path;
    const char* exec;  // as the file holds it
};

TEST_F(Autostart, ExecIsQuotedAsDesktopEntriesRequireAndValidates)
{
    const ExecCase cases[] = {
        {"/usr/bin/orvanta", "/usr/bin/orvanta"},
        {"/opt/My Apps/orvanta", R"("/opt/My Apps/orvanta")"},
        {"/opt/a$b/orvanta", R"("/opt/a\\$b/orvanta")"},
        {"/opt/back\\slash/orvanta", R"("/opt/back\\\\slash/orvanta")"},
        {"/opt/say \"hi\"/orvanta", R"("/opt/say \\"hi\\"/orvanta")"},
        {"/opt/it's/orvanta", R"("/opt/it's/orvanta")"},
        {"/opt/100%/orvanta", "/opt/100%%/orvanta"},
        {"/opt/tick`/orvanta", R"("/opt/tick\\`/orvanta")"},
    };
    for (const ExecCase& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(desktopExecArgument(QString::fromUtf8(c.path)), QString::fromUtf8(c.exec));
        AutostartEntry(QString::fromUtf8(c.path)).enable();
        QProcess validate;
        validate.start(QStringLiteral("desktop-file-validate"),
                       {QString::fromStdString(entry().string())});
        ASSERT_TRUE(validate.waitForFinished(10000)) << "desktop-file-utils is not installed";
        EXPECT_EQ(validate.exitCode(), 0) << validate.readAllStandardOutput().toStdString();
        QFile file(entry());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.readAll().contains(QByteArray("\nExec=") + c.exec + " --minimized\n"));
    }
}

TEST_F(Autostart, WrittenOnlyWhenItDiffersAndRemovedWhenOff)
{
    const AutostartEntry dialer(QStringLiteral("/opt/orvanta/orvanta"));
    dialer.enable();
    const ino_t first = inode();
    ASSERT_NE(first, 0u);
    dialer.enable();
    EXPECT_EQ(inode(), first) << "an equal entry is not rewritten";

    AutostartEntry(QStringLiteral("/usr/local/bin/orvanta")).enable();
    EXPECT_NE(inode(), first) << "a moved dialer gets a new entry";

    dialer.disable();
    EXPECT_FALSE(std::filesystem::exists(entry()));
    dialer.disable();  // nothing to remove: silent
}

TEST_F(Autostart, FindsItsFolderAndFailsSilently)
{
    setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(AutostartEntry::entryPath(), temp_ / ".config" / "autostart" / "orvanta.desktop");

    // The autostart folder cannot be made: a file stands in its place.
    setenv("XDG_CONFIG_HOME", (temp_ / "config").c_str(), 1);
    std::filesystem::create_directories(temp_ / "config");
    QFile blocker(temp_ / "config" / "autostart");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    AutostartEntry(QStringLiteral("/usr/bin/orvanta")).enable();
    EXPECT_TRUE(std::filesystem::is_regular_file(temp_ / "config" / "autostart"));
}

}
