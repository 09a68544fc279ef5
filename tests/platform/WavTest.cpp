#include "platform/Wav.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace orvanta::test {
namespace {

using platform::WavOpenResult;
using Bytes = std::vector<char>;

void put(Bytes& b, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        b.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    }
}

std::uint32_t get(const Bytes& b, std::size_t at, int bytes)
{
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    }
    return v;
}

// One chunk as it lies in a file: id, declared size, body, padding.
Bytes chunk(const char* id, const Bytes& body, std::int64_t declaredSize = -1)
{
    Bytes b(id, id + 4);
    put(b,
        declaredSize < 0 ? static_cast<std::uint32_t>(body.size())
                         : static_cast<std::uint32_t>(declaredSize),
        4);
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() & 1) {
        b.push_back(0);
    }
    return b;
}

Bytes formatRecord(std::uint16_t tag = 1, std::uint16_t channels = 1, std::uint32_t rate = 8000,
                   std::uint16_t bits = 16)
{
    Bytes b;
    put(b, tag, 2);
    put(b, channels, 2);
    put(b, rate, 4);
    put(b, rate * channels * bits / 8, 4);
    put(b, static_cast<std::uint32_t>(channels * bits / 8), 2);
    put(b, bits, 2);
    return b;
}

Bytes samples(std::size_t count)
{
    Bytes b;
    for (std::size_t i = 0; i < count; ++i) {
        put(b, static_cast<std::uint32_t>(i * 7), 2);
    }
    return b;
}

Bytes riff(const std::vector<Bytes>& chunks, const char* form = "WAVE",
           std::int64_t declaredSize = -1)
{
    Bytes inside(form, form + 4);
    for (const Bytes& c : chunks) {
        inside.insert(inside.end(), c.begin(), c.end());
    }
    return chunk("RIFF", inside, declaredSize);
}

Bytes concat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct ReadOutcome {
    WavOpenResult result;
    Bytes data;
    platform::WavFormat format;
};

ReadOutcome readAll(const Bytes& file)
{
    platform::WavReader reader;
    ReadOutcome outcome{
        reader.open(std::make_unique<std::istringstream>(std::string(file.begin(), file.end()))),
        {},
        reader.format()};
    char block[333];  // odd on purpose: reads need not align with anything
    while (auto got = reader.read(block, sizeof block)) {
        if (*got == 0) {
            break;
        }
        outcome.data.insert(outcome.data.end(), block, block + *got);
    }
    return outcome;
}

TEST(WavReader, FindsFormatAndDataChunkByChunk)
{
    const Bytes pcm = samples(300);
    Bytes longFormat = formatRecord();
    longFormat.insert(longFormat.end(), {2, 0, 'x', 'y'});  // extra size 2 and its bytes
    Bytes hugeFormat = formatRecord();
    hugeFormat.resize(1001, 'z');  // odd: padded
    Bytes shortFormat = formatRecord();
    shortFormat.resize(14);

    const struct {
        const char* name;
        Bytes file;
        WavOpenResult result;
        Bytes data;
    } cases[] = {
        {"plain", riff({chunk("fmt ", formatRecord()), chunk("data", pcm)}), WavOpenResult::Opened,
         pcm},
        {"format with extra bytes", riff({chunk("fmt ", longFormat), chunk("data", pcm)}),
         WavOpenResult::Opened, pcm},
        {"long odd format chunk skipped", riff({chunk("fmt ", hugeFormat), chunk("data", pcm)}),
         WavOpenResult::Opened, pcm},
        {"odd chunk before the format",
         riff({chunk("LIST", Bytes{'a', 'b', 'c'}), chunk("fmt ", formatRecord()),
               chunk("data", pcm)}),
         WavOpenResult::Opened, pcm},
        {"chunk after the data is not audio",
         riff({chunk("fmt ", formatRecord()), chunk("data", pcm), chunk("LIST", Bytes(50, 'q'))}),
         WavOpenResult::Opened, pcm},
        {"data cut short reads what is there",
         riff({chunk("fmt ", formatRecord()), chunk("data", pcm, 4000)}), WavOpenResult::Opened,
         pcm},
        {"sizes never filled in read to the end",
         riff({chunk("fmt ", formatRecord()), chunk("data", pcm, 0)}, "WAVE", 0),
         WavOpenResult::Opened, pcm},
        {"empty", {}, WavOpenResult::NoWaveChunk, {}},
        {"not RIFF",
         concat(Bytes{'R', 'I', 'F', 'X'}, Bytes(40, 0)),
         WavOpenResult::NoWaveChunk,
         {}},
        {"RIFF of another form",
         riff({chunk("fmt ", formatRecord())}, "AVI "),
         WavOpenResult::NoWaveChunk,
         {}},
        {"no format", riff({chunk("data", pcm)}), WavOpenResult::NoFormatChunk, {}},
        {"format shorter than its record",
         riff({chunk("fmt ", shortFormat), chunk("data", pcm)}),
         WavOpenResult::BadFormatRecord,
         {}},
        {"format running past the end",
         riff({chunk("fmt ", formatRecord(), 400)}),
         WavOpenResult::FormatChunkCut,
         {}},
        {"no data", riff({chunk("fmt ", formatRecord())}), WavOpenResult::NoDataChunk, {}},
        {"data before the format",
         riff({chunk("data", pcm), chunk("fmt ", formatRecord())}),
         WavOpenResult::NoDataChunk,
         {}},
        {"chunk size pointing past the end",
         riff({chunk("JUNK", Bytes(4, 0), 0xFFFFFFF0u), chunk("fmt ", formatRecord())}),
         WavOpenResult::NoFormatChunk,
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ReadOutcome outcome = readAll(c.file);
        EXPECT_EQ(outcome.result, c.result);
        EXPECT_EQ(outcome.data, c.data);
        if (c.result == WavOpenResult::Opened) {
            EXPECT_EQ(outcome.format, platform::pcmFormat(8000, 1, 16));
        }
    }
}

TEST(WavReader, MissingFileCannotBeOpened)
{
    TempDir dir;
    platform::WavReader reader;
    EXPECT_EQ(reader.open(dir / "none.wav"), WavOpenResult::CannotOpen);
    EXPECT_FALSE(reader.read(nullptr, 10).has_value());
}

// The recording file's layout: an 18-byte format chunk, both sizes filled
// in at close.
TEST(WavWriter, WritesTheRecordingLayoutAndFillsTheSizesAtClose)
{
    TempDir dir;
    const struct {
        const char* name;
        std::size_t sampleBytes;
    } cases[] = {{"nothing recorded", 0}, {"three buffers", 6000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = dir / "sound.wav";
        platform::WavWriter writer;
        ASSERT_TRUE(writer.open(path, platform::pcmFormat(8000, 1, 16), {true, {}}));
        const Bytes pcm = samples(c.sampleBytes / 2);
        for (std::size_t at = 0; at < pcm.size(); at += 2000) {
            ASSERT_TRUE(writer.append(std::span(pcm).subspan(at, 2000)));
        }
        ASSERT_TRUE(writer.close());

        std::ifstream in(path, std::ios::binary);
        const Bytes b{std::istreambuf_iterator<char>(in), {}};
        ASSERT_EQ(b.size(), 46 + c.sampleBytes);
        EXPECT_EQ(std::string(b.data(), 4), "RIFF");
        EXPECT_EQ(get(b, 4, 4), 38 + c.sampleBytes);
        EXPECT_EQ(std::string(b.data() + 8, 8), "WAVEfmt ");
        EXPECT_EQ(get(b, 16, 4), 18u);
        EXPECT_EQ(get(b, 20, 2), 1u);      // PCM
        EXPECT_EQ(get(b, 22, 2), 1u);      // mono
        EXPECT_EQ(get(b, 24, 4), 8000u);   // samples per second
        EXPECT_EQ(get(b, 28, 4), 16000u);  // bytes per second
        EXPECT_EQ(get(b, 32, 2), 2u);      // block alignment
        EXPECT_EQ(get(b, 34, 2), 16u);     // bits per sample
        EXPECT_EQ(get(b, 36, 2), 0u);      // extra size
        EXPECT_EQ(std::string(b.data() + 38, 4), "data");
        EXPECT_EQ(get(b, 42, 4), c.sampleBytes);
        EXPECT_EQ(Bytes(b.begin() + 46, b.end()), pcm);
        // What the writer wrote, the reader reads back.
        EXPECT_EQ(readAll(b).data, pcm);
    }
}

TEST(WavWriter, UnwritablePlaceIsRefused)
{
    TempDir dir;
    platform::WavWriter writer;
    EXPECT_FALSE(writer.open(dir / "missing" / "sound.wav", platform::pcmFormat(8000, 1, 16), {}));
    EXPECT_FALSE(writer.append(Bytes(2, 0)));
}

TEST(WavParsing, AcceptsWholePlainPcmAndRejectsTheRest)
{
    const Bytes pcm = samples(800);
    const struct {
        const char* name;
        Bytes file;
        bool usable;
    } cases[] = {
        {"8 kHz mono 16 bit", riff({chunk("fmt ", formatRecord()), chunk("data", pcm)}), true},
        {"stereo 8 bit", riff({chunk("fmt ", formatRecord(1, 2, 8000, 8)), chunk("data", pcm)}),
         true},
        {"compressed", riff({chunk("fmt ", formatRecord(6)), chunk("data", pcm)}), false},
        {"24 bit", riff({chunk("fmt ", formatRecord(1, 1, 8000, 24)), chunk("data", pcm)}), false},
        {"six channels", riff({chunk("fmt ", formatRecord(1, 6)), chunk("data", pcm)}), false},
        {"absurd rate", riff({chunk("fmt ", formatRecord(1, 1, 5000000)), chunk("data", pcm)}),
         false},
        {"data longer than the file",
         riff({chunk("fmt ", formatRecord()), chunk("data", pcm, 4000)}), false},
        {"no samples", riff({chunk("fmt ", formatRecord()), chunk("data", {})}), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto sound = platform::parseWav(c.file);
        ASSERT_EQ(sound.has_value(), c.usable);
        if (sound) {
            EXPECT_EQ(sound->data, pcm);
        }
    }
}

TEST(WavEncoding, ToneFileLayoutRoundTrips)
{
    const std::vector<std::int16_t> tone{0, 1000, -1000, 32767, -32768};
    const Bytes file = platform::encodeWav(platform::pcmFormat(8000, 1, 16), tone);
    ASSERT_EQ(file.size(), 44 + tone.size() * 2);
    EXPECT_EQ(get(file, 4, 4), file.size() - 8);
    EXPECT_EQ(get(file, 16, 4), 16u);
    const auto sound = platform::parseWav(file);
    ASSERT_TRUE(sound);
    ASSERT_EQ(sound->data.size(), tone.size() * 2);
    for (std::size_t i = 0; i < tone.size(); ++i) {
        EXPECT_EQ(static_cast<std::int16_t>(get(sound->data, 2 * i, 2)), tone[i]);
    }
}

}
}
