#include "orvanta/InstallLayout.h"
#include "platform/InstallLayout.h"
#include "support/TestEnvironment.h"

#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using orvanta::platform::engineLibraryFor;
using orvanta::platform::soundFolderFor;

// A tree laid out like an install: <root>/bin holds the program.
struct Tree {
    orvanta::test::TempDir root;
    std::filesystem::path bin = root / "bin";
    std::filesystem::path privateFolder =
        (bin / ORVANTA_ENGINE_FOLDER_FROM_PROGRAM).lexically_normal();
    std::filesystem::path soundFolder =
        (bin / ORVANTA_DATA_FOLDER_FROM_PROGRAM / "sounds").lexically_normal();

    void put(const std::filesystem::path& file)
    {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file) << "x";
    }
};

TEST(InstallLayout, TheEngineComesFromBesideTheProgramOrItsPrivateFolderOnly)
{
    struct Case {
        bool beside;
        bool inPrivateFolder;
        bool inWorkingFolder;
        const char* expected;  // "beside" or "private"
    };
    const Case cases[] = {
        {true, true, true, "beside"},  // a build tree
        {false, true, true, "private"},
        {false, false, true, "private"},  // missing: loading then fails, never the working folder
    };
    const std::filesystem::path startedIn = std::filesystem::current_path();
    for (const Case& c : cases) {
        Tree tree;
        std::filesystem::create_directories(tree.bin);
        if (c.beside) {
            tree.put(tree.bin / "libOrvanta.so");
        }
        if (c.inPrivateFolder) {
            tree.put(tree.privateFolder / "libOrvanta.so");
        }
        orvanta::test::TempDir working;
        if (c.inWorkingFolder) {
            tree.put(working / "libOrvanta.so");
        }
        std::filesystem::current_path(working.path());
        const std::filesystem::path chosen = engineLibraryFor(tree.bin, "libOrvanta.so");
        std::filesystem::current_path(startedIn);
        EXPECT_TRUE(chosen.is_absolute()) << chosen;
        const auto expected = std::string(c.expected) == "beside"
                                  ? tree.bin / "libOrvanta.so"
                                  : tree.privateFolder / "libOrvanta.so";
        EXPECT_EQ(chosen, expected);
    }
}

TEST(InstallLayout, SoundsComeFromBesideTheProgramElseTheSharedFolder)
{
    Tree tree;
    std::filesystem::create_directories(tree.bin);
    EXPECT_EQ(soundFolderFor(tree.bin), tree.soundFolder);
    tree.put(tree.bin / "ring.wav");
    EXPECT_EQ(soundFolderFor(tree.bin), tree.bin);
}

}
