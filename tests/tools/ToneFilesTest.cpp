#include "ToneFiles.h"
#include "support/TestEnvironment.h"
#include "support/ToneAnalysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace orvanta::test {
namespace {

using namespace orvanta::tones;

struct Wav {
    std::uint16_t format = 0;
    std::uint16_t channels = 0;
    std::uint32_t rate = 0;
    std::uint16_t bits = 0;
    std::vector<double> samples;
};

std::uint32_t le(const std::vector<char>& b, std::size_t at, int bytes)
{
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    }
    return v;
}

// Reads the canonical 44-byte header layout the generator writes.
Wav readWav(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> b{std::istreambuf_iterator<char>(in), {}};
    Wav wav;
    if (b.size() < 44 || std::memcmp(b.data(), "RIFF", 4) != 0 ||
        std::memcmp(b.data() + 8, "WAVEfmt ", 8) != 0 ||
        std::memcmp(b.data() + 36, "data", 4) != 0) {
        ADD_FAILURE() << path << " is not a plain RIFF/WAVE file";
        return wav;
    }
    EXPECT_EQ(le(b, 4, 4), b.size() - 8);
    EXPECT_EQ(le(b, 40, 4), b.size() - 44);
    wav.format = static_cast<std::uint16_t>(le(b, 20, 2));
    wav.channels = static_cast<std::uint16_t>(le(b, 22, 2));
    wav.rate = le(b, 24, 4);
    wav.bits = static_cast<std::uint16_t>(le(b, 34, 2));
    for (std::size_t i = 44; i + 1 < b.size(); i += 2) {
        wav.samples.push_back(static_cast<std::int16_t>(le(b, i, 2)));
    }
    return wav;
}

double power(const std::vector<double>& s, std::size_t from, std::size_t count, int hz)
{
    return tonePower(std::span(s).subspan(from, std::min(count, s.size() - from)), kSampleRate, hz);
}

class ToneFilesTest : public ::testing::Test {
protected:
    TempDir dir;
};

TEST_F(ToneFilesTest, EachKeyCarriesItsTwoDtmfFrequencies)
{
    std::string error;
    ASSERT_TRUE(writeAll(dir.path(), error)) << error;
    const int all[] = {697, 770, 852, 941, 1209, 1336, 1477};
    for (const DtmfTone& tone : dtmfTones()) {
        SCOPED_TRACE(tone.fileName);
        const Wav wav = readWav(dir / tone.fileName);
        EXPECT_EQ(wav.format, 1);
        EXPECT_EQ(wav.channels, 1);
        EXPECT_EQ(wav.rate, 8000u);
        EXPECT_EQ(wav.bits, 16);
        ASSERT_EQ(wav.samples.size(), 8000u * kToneMs / 1000);
        const std::size_t n = wav.samples.size();
        for (int hz : all) {
            const double p = power(wav.samples, 0, n, hz);
            if (hz == tone.lowHz || hz == tone.highHz) {
                for (int other : all) {
                    if (other != tone.lowHz && other != tone.highHz) {
                        EXPECT_GT(p, 100 * power(wav.samples, 0, n, other))
                            << hz << " vs " << other;
                    }
                }
            }
        }
    }
}

TEST_F(ToneFilesTest, RingSoundsThenFallsSilentForItsLoop)
{
    std::string error;
    ASSERT_TRUE(writeAll(dir.path(), error)) << error;
    const Wav wav = readWav(dir / kRingFileName);
    const std::size_t burst = kSampleRate * 400 / 1000;
    ASSERT_GT(wav.samples.size(), 3 * burst);
    EXPECT_GT(power(wav.samples, 0, burst, 400), 100 * power(wav.samples, 0, burst, 1000));
    const std::size_t tail = 2 * kSampleRate;
    for (std::size_t i = wav.samples.size() - tail; i < wav.samples.size(); ++i) {
        ASSERT_EQ(wav.samples[i], 0) << i;
    }
}

TEST_F(ToneFilesTest, UnwritableFolderIsReported)
{
    std::string error;
    EXPECT_FALSE(writeAll(dir / "missing", error));
    EXPECT_NE(error.find("Dtmf-1.wav"), std::string::npos);
}

TEST(BuiltSoundFiles, LieBesideTheExecutables)
{
    for (const DtmfTone& tone : dtmfTones()) {
        EXPECT_TRUE(std::filesystem::is_regular_file(binDir() / tone.fileName)) << tone.fileName;
    }
    EXPECT_TRUE(std::filesystem::is_regular_file(binDir() / kRingFileName));
}

}
}
