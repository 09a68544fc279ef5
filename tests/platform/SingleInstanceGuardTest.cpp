#include "platform/SingleInstanceGuard.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using orvanta::platform::SingleInstanceGuard;

class SingleInstanceGuardTest : public testing::Test {
protected:
    void SetUp() override { setenv("XDG_RUNTIME_DIR", runtime_.path().c_str(), 1); }
    orvanta::test::TempDir runtime_;
};

TEST_F(SingleInstanceGuardTest, SecondHolderIsRefusedUntilTheFirstLetsGo)
{
    auto first = std::make_unique<SingleInstanceGuard>("Orvanta test guard");
    ASSERT_TRUE(first->acquired());
    EXPECT_FALSE(SingleInstanceGuard("Orvanta test guard").acquired());
    EXPECT_TRUE(SingleInstanceGuard("another name").acquired());
    first.reset();
    EXPECT_TRUE(SingleInstanceGuard("Orvanta test guard").acquired());
}

TEST_F(SingleInstanceGuardTest, CopyStartsAtOnceAfterTheFirstWasKilled)
{
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SingleInstanceGuard guard("Orvanta test guard");
        const char answer = guard.acquired() ? 'y' : 'n';
        (void)!write(ready[1], &answer, 1);
        pause();
        _exit(0);
    }
    char answer = 0;
    ASSERT_EQ(read(ready[0], &answer, 1), 1);
    ASSERT_EQ(answer, 'y');
    EXPECT_FALSE(SingleInstanceGuard("Orvanta test guard").acquired());

    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_TRUE(SingleInstanceGuard("Orvanta test guard").acquired());
    close(ready[0]);
    close(ready[1]);
}

}
