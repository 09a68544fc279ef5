#include "platform/AtomicFile.h"
#include "platform/DataFolder.h"
#include "support/TestEnvironment.h"

#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <signal.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using orvanta::platform::removeStaleTemporaryFiles;
using orvanta::platform::writeFileAtomically;

std::string contentOf(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(AtomicFile, CreatesMissingFileReadableByOwnerOnly)
{
    orvanta::test::TempDir dir;
    const auto path = dir / "record.bin";
    ASSERT_TRUE(writeFileAtomically(path, std::string("\x01\x00\x02", 3)));
    EXPECT_EQ(contentOf(path), std::string("\x01\x00\x02", 3));
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(AtomicFile, ShorterContentReplacesTheWholeFile)
{
    orvanta::test::TempDir dir;
    const auto path = dir / "record.bin";
    ASSERT_TRUE(writeFileAtomically(path, "long old content"));
    ASSERT_TRUE(writeFileAtomically(path, "new"));
    EXPECT_EQ(contentOf(path), "new");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
        << "no temporary file may stay behind";
}

TEST(AtomicFile, ProcessKilledBeforeReplaceLeavesOldFile)
{
    orvanta::test::TempDir dir;
    const auto path = dir / "record.bin";
    ASSERT_TRUE(writeFileAtomically(path, "old"));

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        writeFileAtomically(path, "new content that never lands", [] { raise(SIGKILL); });
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(contentOf(path), "old");
}

std::set<std::string> namesIn(const std::filesystem::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// A process that saves the record again and again is killed at random
// moments: the file always holds one whole version, and the temporary files
// the killed saves left behind are removed - only those.
TEST(AtomicFile, KillLoopLeavesOneWholeVersionAndOnlyRemovableTemporaries)
{
    orvanta::test::TempDir dir;
    const auto path = dir / "account_Orvanta.bin";
    const auto version = [](int i) {
        return "version " + std::to_string(i) + std::string(4000, '.');
    };
    const std::set<std::string> foreign = {"notes.txt", "notes.txt.AbC123",
                                           "account_Orvanta.bin.bak", "account_Orvanta.bin.ab_de1",
                                           "_Orvanta.bin.AbC123"};
    for (const std::string& name : foreign) {
        std::ofstream(dir / name) << "not ours";
    }
    std::filesystem::create_directory(dir / "IP_Orvanta.bin.Folder");
    std::filesystem::create_symlink(dir / "notes.txt", dir / "IP_Orvanta.bin.Link12");

    std::mt19937 random(15);
    std::uniform_int_distribution<int> delayUs(500, 20000);
    for (int round = 0; round < 40; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) {
                writeFileAtomically(path, version(i));
            }
        }
        usleep(static_cast<useconds_t>(delayUs(random)));
        kill(child, SIGKILL);
        ASSERT_EQ(waitpid(child, nullptr, 0), child);
    }

    const int removed = removeStaleTemporaryFiles(dir.path(), orvanta::platform::isRecordFileName);
    RecordProperty("temporaries_left_by_40_kills", removed);
    ASSERT_GT(removed, 0) << "no kill landed inside a save: the loop showed nothing";

    std::set<std::string> expected = foreign;
    expected.insert({"account_Orvanta.bin", "IP_Orvanta.bin.Folder", "IP_Orvanta.bin.Link12"});
    EXPECT_EQ(namesIn(dir.path()), expected);
    const std::string content = contentOf(path);
    ASSERT_TRUE(content.starts_with("version ")) << content.substr(0, 40);
    EXPECT_EQ(content, version(std::atoi(content.c_str() + 8)));
}

TEST(AtomicFile, UnwritableFolderFailsWithoutTouchingAnything)
{
    orvanta::test::TempDir dir;
    EXPECT_FALSE(writeFileAtomically(dir / "missing-folder" / "record.bin", "x"));
}

}
