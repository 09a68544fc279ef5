#include "platform/AtomicFile.h"
#include "support/TestEnvironment.h"

#include <fstream>
#include <gtest/gtest.h>
#include <signal.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

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

TEST(AtomicFile, UnwritableFolderFailsWithoutTouchingAnything)
{
    orvanta::test::TempDir dir;
    EXPECT_FALSE(writeFileAtomically(dir / "missing-folder" / "record.bin", "x"));
}

}
