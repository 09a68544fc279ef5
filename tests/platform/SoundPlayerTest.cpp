#include "platform/SoundPlayer.h"
#include "platform/Wav.h"
#include "support/TestEnvironment.h"
#include "support/ToneAnalysis.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace orvanta::test {
namespace {

using Clock = std::chrono::steady_clock;

TEST(SoundPlayer, WithoutSoundServerReturnsAtOnceAndStaysQuiet)
{
    TempDir dir;
    const auto file = dir / "tone.wav";
    const std::vector<char> wav =
        platform::encodeWav(platform::pcmFormat(8000, 1, 16), sineWave(440, 1000, 8000, 0.5));
    std::ofstream(file, std::ios::binary)
        .write(wav.data(), static_cast<std::streamsize>(wav.size()));
    ::setenv("PULSE_SERVER", (dir / "no-such-socket").c_str(), 1);

    testing::internal::CaptureStderr();
    const auto begin = Clock::now();
    {
        platform::SoundPlayer player;
        player.play(file, true);
        player.play(dir / "missing.wav");
        player.play(file);
        EXPECT_LT(Clock::now() - begin, std::chrono::milliseconds(50));
        // Let the worker try the server; nothing better to wait on when it fails.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        EXPECT_FALSE(player.isPlaying());
        player.stop();
    }
    EXPECT_LT(Clock::now() - begin, std::chrono::seconds(2));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ::unsetenv("PULSE_SERVER");
}

}
}
