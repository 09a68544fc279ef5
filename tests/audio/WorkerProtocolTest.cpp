#include "FakeSoundDevices.h"
#include "audio/VoiceTestThreads.h"
#include "platform/Wav.h"
#include "support/EventWait.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace orvanta::test {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<char>;

constexpr std::size_t kBuffer = 2000;

// Every message posted so far, and all those they caused, handled.
void settle(VoiceTestThreads& t)
{
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(t.capture().waitUntilIdle(2s));
        ASSERT_TRUE(t.filePlayer().waitUntilIdle(2s));
        ASSERT_TRUE(t.playback().waitUntilIdle(2s));
        ASSERT_TRUE(t.writer().waitUntilIdle(2s));
    }
}

// "abc": a buffer of 'a's, one of 'b's, one of 'c's.
Bytes buffersOf(const std::string& values)
{
    Bytes bytes;
    for (char v : values) {
        bytes.insert(bytes.end(), kBuffer, v);
    }
    return bytes;
}

std::optional<Bytes> recordedSamples(const std::filesystem::path& file)
{
    platform::WavReader reader;
    if (reader.open(file) != platform::WavOpenResult::Opened) {
        return std::nullopt;
    }
    Bytes data(static_cast<std::size_t>(reader.availableDataBytes()));
    if (!data.empty()) {
        reader.read(data.data(), data.size());
    }
    return data;
}

class WorkerThreads : public testing::Test {
protected:
    // Fresh devices and threads.
    void make()
    {
        threads.reset();
        devicesHeld = std::make_unique<FakeSoundDevices>();
        threads = std::make_unique<VoiceTestThreads>(devices(), soundFile);
        outputProblems = 0;
        QObject::connect(threads.get(), &VoiceTestThreads::problem, [this](const SoundProblem& p) {
            if (p.kind == SoundProblemKind::OutputNotOpened) {
                ++outputProblems;
            }
        });
    }
    FakeSoundDevices& devices() { return *devicesHeld; }

    TempDir dir;
    std::filesystem::path soundFile = dir / "data" / "sound.wav";
    std::unique_ptr<FakeSoundDevices> devicesHeld;
    std::atomic<int> outputProblems{0};
    std::unique_ptr<VoiceTestThreads> threads;
};

enum class Step {
    Start,
    Stop,
    Deliver,         // the device fills its next buffer
    DeliverPartial,  // part of one
    NoWriter,
    PlayBufferAlone,  // a buffer sent straight to the player, with a slot taken
};

TEST_F(WorkerThreads, CaptureAndPlaybackFollowTheirMessages)
{
    using enum Step;
    const struct {
        const char* name;
        std::vector<Step> steps;
        int captureOpenFailures;
        bool playbackOpenFails;
        int captureOpens;
        int playbackOpens;
        std::string played;                   // buffers heard, by value
        std::optional<std::string> recorded;  // the file's buffers; none: no file
        int outputProblems;
    } cases[] = {
        {"a recording is heard live and written",
         {Start, Deliver, Deliver, Deliver, Stop},
         0,
         false,
         1,
         1,
         "abc",
         "abc",
         0},
        {"a second start while capturing is ignored",
         {Start, Start, Deliver, Stop},
         0,
         false,
         1,
         1,
         "a",
         "a",
         0},
        {"a stop while idle does nothing", {Stop}, 0, false, 0, 0, "", std::nullopt, 0},
        {"a buffer before the player started is dropped",
         {PlayBufferAlone},
         0,
         false,
         0,
         0,
         "",
         std::nullopt,
         0},
        {"without a writer capture is still heard",
         {NoWriter, Start, Deliver, Deliver, Stop},
         0,
         false,
         1,
         1,
         "ab",
         std::nullopt,
         0},
        {"an input that does not open leaves the next start to try again",
         {Start, Deliver, Start, Deliver, Stop},
         1,
         false,
         2,
         1,
         "b",
         "b",
         0},
        {"the buffer being filled at stop is dropped",
         {Start, Deliver, Deliver, DeliverPartial, Stop},
         0,
         false,
         1,
         1,
         "ab",
         "ab",
         0},
        {"an output that does not open is reported and the file still written",
         {Start, Deliver, Deliver, Stop},
         0,
         true,
         1,
         1,
         "",
         "ab",
         1},
        {"a new recording replaces the file",
         {Start, Deliver, Deliver, Stop, Start, Deliver, Stop},
         0,
         false,
         2,
         2,
         "abc",
         "c",
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(soundFile);
        make();
        devices().captureOpenFailures = c.captureOpenFailures;
        devices().playbackOpenFails = c.playbackOpenFails;
        char next = 'a';
        for (Step step : c.steps) {
            switch (step) {
            case Start:
                threads->capture().post(RecStart{});
                break;
            case Stop:
                threads->capture().post(RecStop{});
                break;
            case Deliver:
                devices().deliverFull(1, next++);
                break;
            case DeliverPartial:
                devices().deliverPartial(700, next++);
                break;
            case NoWriter:
                threads->capture().post(RecSetWriter{nullptr});
                break;
            case PlayBufferAlone: {
                ASSERT_TRUE(threads->playback().freeSlots().acquire({}));
                auto buffer = std::make_unique<platform::WaveBuffer>(kBuffer);
                buffer->data.assign(kBuffer, 'z');
                threads->playback().post(PlayBuffer{std::move(buffer)});
                break;
            }
            }
            settle(*threads);
        }
        const FakeSoundDevices::Seen seen = devices().seen();
        EXPECT_EQ(seen.captureOpens, c.captureOpens);
        EXPECT_EQ(seen.playbackOpens, c.playbackOpens);
        Bytes played;
        for (const Bytes& b : seen.played) {
            played.insert(played.end(), b.begin(), b.end());
        }
        EXPECT_EQ(played, buffersOf(c.played));
        const std::optional<Bytes> recorded = recordedSamples(soundFile);
        ASSERT_EQ(recorded.has_value(), c.recorded.has_value());
        if (recorded) {
            EXPECT_EQ(*recorded, buffersOf(*c.recorded));
        }
        EXPECT_EQ(outputProblems, c.outputProblems);
        // Every buffer handed back returned its slot; none was kept.
        EXPECT_EQ(threads->playback().freeSlots().available(), CPlaySound::kFreeSlots);
        EXPECT_FALSE(seen.capturing);
        threads.reset();
    }
}

TEST_F(WorkerThreads, CaptureKeepsItsBuffersQueuedWhileRunning)
{
    make();
    threads->capture().post(RecStart{});
    settle(*threads);
    EXPECT_EQ(devices().seen().captureQueued, std::size_t{CRecordSound::kBufferCount});
    devices().deliverFull(4, 'x');
    settle(*threads);
    EXPECT_EQ(devices().seen().captureQueued, std::size_t{CRecordSound::kBufferCount});
    EXPECT_EQ(threads->levels().input, 'x' | ('x' << 8));
    threads->capture().post(RecStop{});
    settle(*threads);
    EXPECT_EQ(devices().seen().captureQueued, 0u);
    EXPECT_EQ(devices().seen().playbackResets, 1);
}

TEST_F(WorkerThreads, DevicesFollowTheChoiceAtTheNextStart)
{
    make();
    threads->useDevices("usb-mic", "usb-speaker");
    threads->capture().post(RecStart{});
    settle(*threads);
    threads->capture().post(RecStop{});
    threads->useDevices("", "");
    threads->capture().post(RecStart{});
    settle(*threads);
    const auto seen = devices().seen();
    EXPECT_EQ(seen.captureDevices, (std::vector<std::string>{"usb-mic", ""}));
    EXPECT_EQ(seen.playbackDevices, (std::vector<std::string>{"usb-speaker", ""}));
}

// A file of count buffers of distinct values as the recorder writes it.
void writeRecording(const std::filesystem::path& path, const std::string& values)
{
    platform::WavWriter writer;
    ASSERT_TRUE(writer.open(path, platform::pcmFormat(8000, 1, 16), {true, {}}));
    writer.append(buffersOf(values));
    writer.close();
}

class FilePlayer : public WorkerThreads {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(soundFile.parent_path());
        make();
        QObject::connect(threads.get(), &VoiceTestThreads::problem, [this](const SoundProblem& p) {
            std::lock_guard lock(problemsMutex);
            problems.push_back(p.kind);
        });
    }

    void play()
    {
        threads->filePlayer().post(FileSetPlayer{&threads->playback()});
        threads->filePlayer().post(FilePlay{});
    }

    std::size_t playedCount() { return devices().seen().played.size(); }

    std::mutex problemsMutex;
    std::vector<SoundProblemKind> problems;
};

TEST_F(FilePlayer, KeepsAtMostThreeBlocksInFlight)
{
    devices().setHoldPlayed(true);
    writeRecording(soundFile, "abcdefghij");  // 20000 bytes: 6.25 blocks of 3200
    play();
    ASSERT_TRUE(eventually([&] { return playedCount() == 3; }));
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(playedCount(), 3u);  // the fourth waits for a slot
    devices().releasePlayed(1);
    ASSERT_TRUE(eventually([&] { return playedCount() == 4; }));
    devices().setHoldPlayed(false);
    devices().releasePlayed(3);
    ASSERT_TRUE(eventually([&] { return !threads->filePlayer().isReading(); }));
    // The reader hands its last blocks to the playback thread before it ends.
    ASSERT_TRUE(threads->playback().waitUntilIdle(2s));
    const auto seen = devices().seen();
    Bytes played;
    for (const Bytes& b : seen.played) {
        EXPECT_LE(b.size(), 3200u);
        played.insert(played.end(), b.begin(), b.end());
    }
    EXPECT_EQ(played, buffersOf("abcdefghij"));
    // The end of the data leaves the device open for the next file.
    EXPECT_TRUE(seen.playbackOpen);
}

TEST_F(FilePlayer, StopEndsAWaitForASlotAtOnce)
{
    devices().setHoldPlayed(true);
    writeRecording(soundFile, "abcdefghij");
    play();
    ASSERT_TRUE(eventually([&] { return playedCount() == 3; }));
    const auto begin = std::chrono::steady_clock::now();
    threads->filePlayer().post(FileStop{});
    ASSERT_TRUE(threads->filePlayer().waitUntilIdle(2s));
    EXPECT_LT(std::chrono::steady_clock::now() - begin, 500ms);
    EXPECT_FALSE(threads->filePlayer().isReading());
}

TEST_F(FilePlayer, PlayingAgainStartsFromTheBeginning)
{
    devices().setHoldPlayed(true);
    writeRecording(soundFile, "abcdefghij");
    play();
    ASSERT_TRUE(eventually([&] { return playedCount() == 3; }));
    play();
    ASSERT_TRUE(threads->filePlayer().waitUntilIdle(2s));
    devices().releasePlayed(3);
    ASSERT_TRUE(eventually([&] { return playedCount() == 6; }));
    const auto seen = devices().seen();
    EXPECT_EQ(seen.played[3], seen.played[0]);
}

TEST_F(FilePlayer, AShortFilePlaysAsOneShortBlock)
{
    writeRecording(soundFile, "a");
    play();
    ASSERT_TRUE(
        eventually([&] { return !threads->filePlayer().isReading() && playedCount() == 1; }));
    EXPECT_EQ(devices().seen().played[0], buffersOf("a"));
}

TEST_F(FilePlayer, ABrokenFileIsReportedAndPlaysNothing)
{
    const struct {
        const char* name;
        Bytes file;  // empty: no file at all
        std::optional<SoundProblemKind> problem;
    } cases[] = {
        {"no file", {}, SoundProblemKind::FileNotOpened},
        {"not a WAVE file", Bytes(100, 'x'), SoundProblemKind::FileNotWave},
        {"no format chunk", Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'},
         SoundProblemKind::FileWithoutFormat},
        {"an empty recording", {}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(soundFile);
        if (!c.file.empty()) {
            std::ofstream(soundFile, std::ios::binary)
                .write(c.file.data(), static_cast<std::streamsize>(c.file.size()));
        } else if (!c.problem) {
            writeRecording(soundFile, "");
        }
        {
            std::lock_guard lock(problemsMutex);
            problems.clear();
        }
        play();
        settle(*threads);
        std::lock_guard lock(problemsMutex);
        EXPECT_EQ(problems, c.problem ? std::vector{*c.problem} : std::vector<SoundProblemKind>{});
        EXPECT_EQ(playedCount(), 0u);
        EXPECT_FALSE(threads->filePlayer().isReading());
    }
}

TEST(FilePlayerBlocks, AreSizedByTheFormatAndBounded)
{
    const struct {
        const char* name;
        platform::WavFormat format;
        std::uint64_t data;
        std::size_t block;
    } cases[] = {
        {"the voice test's format: 200 ms", platform::pcmFormat(8000, 1, 16), 100000, 3200},
        {"less data than a block", platform::pcmFormat(8000, 1, 16), 1000, 1000},
        {"stereo 16 bit", platform::pcmFormat(44100, 2, 16), 100000, 12800},
        {"no channels", platform::pcmFormat(8000, 0, 16), 100000, 0},
        {"absurd format",
         {1, 65535, 8000, 0, 65535, 65535},
         1u << 30,
         CPlayMMSound::kMaxBlockBytes},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CPlayMMSound::blockBytes(c.format, c.data), c.block);
    }
}

}
}
