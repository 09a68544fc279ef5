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

// The ring goes to the device asked for, or to the default one when that
// device is not there.
TEST_F(SoundPlayerWithServer, PlaysOnTheDeviceAskedFor)
{
    ASSERT_GE(server.loadModule("module-null-sink", "sink_name=ringer"), 0);
    auto sinkIndex = [&](const QString& name) {
        for (const QString& line : server.pactl({"list", "short", "sinks"}).split('\n')) {
            if (line.section('\t', 1, 1) == name) {
                return line.section('\t', 0, 0);
            }
        }
        return QString();
    };
    const struct {
        const char* device;
        const char* heardOn;
    } cases[] = {{"ringer", "ringer"}, {"unplugged", "spk"}, {"", "spk"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.device);
        platform::SoundPlayer player;
        player.play(binDir() / "ring.wav", true, c.device);
        const QString expected = sinkIndex(c.heardOn);
        EXPECT_TRUE(waitFor(
            [&] {
                return server.pactl({"list", "short", "sink-inputs"}).section('\t', 1, 1) ==
                       expected;
            },
            std::chrono::seconds(3)));
        player.stop();
        EXPECT_TRUE(waitFor([&] { return sinkInputs() == 0; }, std::chrono::seconds(2)));
    }
}

}
}
