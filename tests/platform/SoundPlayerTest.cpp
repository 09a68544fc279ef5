#include "platform/SoundPlayer.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>

namespace orvanta::test {
namespace {

using platform::parseWav;
using Bytes = std::vector<char>;
using Clock = std::chrono::steady_clock;

void put(Bytes& b, const char* tag)
{
    b.insert(b.end(), tag, tag + 4);
}
void put(Bytes& b, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        b.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    }
}

struct WavLayout {
    std::uint16_t format = 1;
    std::uint16_t channels = 1;
    std::uint32_t rate = 8000;
    std::uint16_t bits = 16;
    std::uint32_t dataBytes = 1600;
    std::uint32_t declaredData = 1600;
    bool dataFirst = false;
    bool oddChunkBefore = false;
};

Bytes makeWav(const WavLayout& s)
{
    Bytes fmt;
    put(fmt, "fmt ");
    put(fmt, 16, 4);
    put(fmt, s.format, 2);
    put(fmt, s.channels, 2);
    put(fmt, s.rate, 4);
    put(fmt, s.rate * s.channels * s.bits / 8, 4);
    put(fmt, static_cast<std::uint32_t>(s.channels * s.bits / 8), 2);
    put(fmt, s.bits, 2);
    Bytes data;
    put(data, "data");
    put(data, s.declaredData, 4);
    data.resize(data.size() + s.dataBytes, 1);

    Bytes b;
    put(b, "RIFF");
    put(b, 0, 4);
    put(b, "WAVE");
    if (s.oddChunkBefore) {
        put(b, "LIST");
        put(b, 3, 4);
        b.insert(b.end(), {'a', 'b', 'c', 0});  // padded to even
    }
    const Bytes& first = s.dataFirst ? data : fmt;
    const Bytes& second = s.dataFirst ? fmt : data;
    b.insert(b.end(), first.begin(), first.end());
    b.insert(b.end(), second.begin(), second.end());
    return b;
}

TEST(WavParsing, AcceptsPlainPcmAndRejectsTheRest)
{
    const struct {
        const char* name;
        WavLayout layout;
        bool usable;
    } cases[] = {
        {"8 kHz mono 16 bit", {}, true},
        {"stereo 8 bit", {.channels = 2, .bits = 8}, true},
        {"odd chunk before the format", {.oddChunkBefore = true}, true},
        {"compressed", {.format = 6}, false},
        {"24 bit", {.bits = 24}, false},
        {"six channels", {.channels = 6}, false},
        {"data longer than the file", {.dataBytes = 100, .declaredData = 4000}, false},
        {"data before format", {.dataFirst = true}, false},
        {"no samples", {.dataBytes = 0, .declaredData = 0}, false},
        {"absurd rate", {.rate = 5000000}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto sound = parseWav(makeWav(c.layout));
        ASSERT_EQ(sound.has_value(), c.usable);
        if (sound) {
            EXPECT_EQ(sound->data.size(), c.layout.dataBytes);
            EXPECT_EQ(sound->channels, c.layout.channels);
        }
    }
    EXPECT_FALSE(parseWav(Bytes{}).has_value());
    Bytes notRiff = makeWav({});
    notRiff[0] = 'X';
    EXPECT_FALSE(parseWav(notRiff).has_value());
}

TEST(SoundPlayer, WithoutSoundServerReturnsAtOnceAndStaysQuiet)
{
    TempDir dir;
    const auto file = dir / "tone.wav";
    const Bytes wav = makeWav({.dataBytes = 16000, .declaredData = 16000});
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
