#include "platform/SoundPlayer.h"
#include "support/PrivatePulseAudio.h"
#include "support/TestEnvironment.h"

#include <QThread>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>

namespace orvanta::test {
namespace {

using Clock = std::chrono::steady_clock;

bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    const auto end = Clock::now() + limit;
    while (!done()) {
        if (Clock::now() > end) {
            return false;
        }
        QThread::msleep(10);
    }
    return true;
}

// The player reaches the sound server through the environment.
class SoundPlayerWithServer : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.running()) << server.log().toStdString();
        ::setenv("PULSE_SERVER", server.address().c_str(), 1);
    }

    void TearDown() override { ::unsetenv("PULSE_SERVER"); }

    int sinkInputs()
    {
        return static_cast<int>(server.pactl({"list", "short", "sink-inputs"}).count('\n'));
    }

    PrivatePulseAudio server;
};

TEST_F(SoundPlayerWithServer, RingLoopsUntilStoppedAndToneReplacesIt)
{
    platform::SoundPlayer player;
    player.play(binDir() / "ring.wav", true);
    ASSERT_TRUE(waitFor([&] { return player.isPlaying(); }, std::chrono::seconds(3)));
    EXPECT_EQ(sinkInputs(), 1);
    // Longer than one ring cycle: the loop goes on.
    QThread::msleep(3500);
    EXPECT_TRUE(player.isPlaying());

    player.play(binDir() / "Dtmf-5.wav");
    EXPECT_TRUE(waitFor([&] { return !player.isPlaying(); }, std::chrono::seconds(3)));

    player.play(binDir() / "ring.wav", true);
    ASSERT_TRUE(waitFor([&] { return player.isPlaying(); }, std::chrono::seconds(3)));
    const auto stopAt = Clock::now();
    player.stop();
    EXPECT_TRUE(waitFor([&] { return !player.isPlaying(); }, std::chrono::seconds(1)));
    EXPECT_LT(Clock::now() - stopAt, std::chrono::milliseconds(500));
    EXPECT_TRUE(waitFor([&] { return sinkInputs() == 0; }, std::chrono::seconds(2)));
}

}
}
