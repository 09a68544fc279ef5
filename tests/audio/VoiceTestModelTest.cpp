#include "audio/VoiceTestModel.h"
#include "FakeSoundDevices.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace orvanta::test {
namespace {

using namespace std::chrono_literals;

struct FakeVolume : IVolume {
    bool IsAvailable() const override { return volume >= 0; }
    void EnableLine() override {}
    void DisableLine() override {}
    int GetSteps() const override { return 65536; }
    int GetMinimum() const override { return 0; }
    int GetMaximum() const override { return 65535; }
    int GetVolume() const override { return volume; }
    void SetVolume(int value) override { set.push_back(value); }
    void SetChangeCallback(ChangeCallback c) override { callback = std::move(c); }
    // The desktop's mixer moved it.
    void changeElsewhere(int value)
    {
        volume = value;
        callback(*this, value);
    }

    int volume = -1;
    std::vector<int> set;
    ChangeCallback callback;
};

struct FakeMainWindow : VolumeSliderMirror {
    bool sliderMirroringEnabled() const override { return mirroring; }
    void moveMainWindowSlider(VolumeSlider slider, int position) override
    {
        moves.emplace_back(slider, position);
    }
    bool mirroring = true;
    std::vector<std::pair<VolumeSlider, int>> moves;
};

class VoiceTest : public testing::Test {
protected:
    VoiceTest() { model.setSliderMirror(&mainWindow); }

    void settle()
    {
        for (int i = 0; i < 3; ++i) {
            threads.capture().waitUntilIdle(2s);
            threads.filePlayer().waitUntilIdle(2s);
            threads.playback().waitUntilIdle(2s);
            threads.writer().waitUntilIdle(2s);
        }
    }

    void recordFor(int seconds)
    {
        model.pressRecord();
        for (int i = 0; i < seconds; ++i) {
            model.tickRecordClock();
        }
        model.pressRecord();
    }

    TempDir dir;
    FakeSoundDevices devices;
    VoiceTestThreads threads{devices, dir / "sound.wav"};
    FakeVolume speaker;
    FakeVolume microphone;
    FakeMainWindow mainWindow;
    VoiceTestModel model{threads, speaker, microphone};
};

TEST(ElapsedClock, CarriesAndShowsTwoDigitsEach)
{
    const struct {
        int ticks;
        const char* shown;
    } cases[] = {
        {0, "00:00:00"},    {1, "00:00:01"},    {9, "00:00:09"},     {10, "00:00:10"},
        {59, "00:00:59"},   {60, "00:01:00"},   {61, "00:01:01"},    {3599, "00:59:59"},
        {3600, "01:00:00"}, {3601, "01:00:01"}, {36000, "10:00:00"}, {360000, "100:00:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ticks);
        ElapsedClock clock;
        for (int i = 0; i < c.ticks; ++i) {
            clock.tick();
        }
        EXPECT_EQ(formatElapsed(clock), c.shown);
    }
}

TEST_F(VoiceTest, RecordingStartsCaptureAndItsClock)
{
    EXPECT_FALSE(model.playButtonVisible());  // nothing recorded yet
    model.pressRecord();
    settle();
    EXPECT_TRUE(model.isRecording());
    EXPECT_TRUE(devices.seen().capturing);
    model.tickRecordClock();
    model.tickRecordClock();
    EXPECT_EQ(model.recordClock(), (ElapsedClock{0, 0, 2}));
    EXPECT_FALSE(model.playButtonVisible());
    model.pressRecord();
    settle();
    EXPECT_FALSE(devices.seen().capturing);
    EXPECT_TRUE(model.playButtonVisible());
    EXPECT_EQ(model.recordedLength(), (ElapsedClock{0, 0, 2}));
    // The clock keeps showing how long the recording was.
    EXPECT_EQ(model.recordClock(), (ElapsedClock{0, 0, 2}));
}

TEST_F(VoiceTest, ARecordingShorterThanASecondCannotBePlayed)
{
    recordFor(0);
    EXPECT_TRUE(model.playButtonVisible());
    model.pressPlay();
    EXPECT_FALSE(model.isPlaying());
}

TEST_F(VoiceTest, PlaybackStopsByItselfAtTheRecordedLength)
{
    recordFor(2);
    model.pressPlay();
    EXPECT_TRUE(model.isPlaying());
    EXPECT_FALSE(model.recordButtonVisible());
    model.tickPlayClock();
    EXPECT_TRUE(model.isPlaying());
    model.tickPlayClock();
    EXPECT_FALSE(model.isPlaying());
    EXPECT_TRUE(model.recordButtonVisible());
    EXPECT_EQ(model.playClock(), (ElapsedClock{0, 0, 2}));
}

TEST_F(VoiceTest, RecordingAndPlayingExcludeEachOther)
{
    recordFor(1);
    model.pressPlay();
    model.pressRecord();  // hidden while playing
    EXPECT_FALSE(model.isRecording());
    model.pressPlay();
    model.pressRecord();
    model.pressPlay();  // hidden while recording
    EXPECT_FALSE(model.isPlaying());
    EXPECT_TRUE(model.isRecording());
}

TEST_F(VoiceTest, ClosingThePanelStopsWhatRuns)
{
    model.pressRecord();
    model.panelHidden();
    settle();
    EXPECT_FALSE(model.isRecording());
    EXPECT_FALSE(devices.seen().capturing);
}

TEST_F(VoiceTest, MetersShowTheLoudestSampleOfTheLatestBuffer)
{
    // Every byte of the buffer has this value: its samples are value * 257.
    const struct {
        const char* name;
        char value;
        int meter;
    } cases[] = {
        {"silence", 0x00, 0},
        {"a quarter", 0x20, 250},
        {"loud", 0x7F, 996},
        {"loud and negative", static_cast<char>(0x80), 996},
        {"quiet and negative", static_cast<char>(0xFF), 0},
    };
    model.pressRecord();
    settle();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        devices.deliverFull(1, c.value);
        settle();
        model.sampleInputMeter();
        EXPECT_EQ(model.inputMeter(), c.meter);
    }
    model.pressRecord();
    EXPECT_EQ(model.inputMeter(), 0);
}

TEST_F(VoiceTest, SlidersSetTheVolumesAndMirrorTheMainWindow)
{
    const struct {
        const char* name;
        VolumeSlider slider;
        int position;
        bool mirroring;
        std::vector<int> speakerSet;
        std::vector<int> microphoneSet;
        std::vector<std::pair<VolumeSlider, int>> mainMoves;
    } cases[] = {
        {"speaker",
         VolumeSlider::Speaker,
         40000,
         true,
         {40000},
         {},
         {{VolumeSlider::Speaker, 25535}}},
        {"microphone",
         VolumeSlider::Microphone,
         0,
         true,
         {},
         {0},
         {{VolumeSlider::Microphone, 65535}}},
        {"mirroring off", VolumeSlider::Speaker, 65535, false, {65535}, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        speaker.set.clear();
        microphone.set.clear();
        mainWindow.moves.clear();
        mainWindow.mirroring = c.mirroring;
        model.moveSlider(c.slider, c.position);
        EXPECT_EQ(model.sliderPosition(c.slider), c.position);
        EXPECT_EQ(speaker.set, c.speakerSet);
        EXPECT_EQ(microphone.set, c.microphoneSet);
        EXPECT_EQ(mainWindow.moves, c.mainMoves);
    }
}

TEST_F(VoiceTest, AVolumeChangedElsewhereMovesBothWindowsSliders)
{
    speaker.changeElsewhere(10000);
    EXPECT_EQ(model.sliderPosition(VolumeSlider::Speaker), 10000);
    ASSERT_EQ(mainWindow.moves.size(), 1u);
    EXPECT_EQ(mainWindow.moves[0], std::make_pair(VolumeSlider::Speaker, 55535));
    EXPECT_TRUE(speaker.set.empty());  // nothing sent back to the mixer

    model.mirrorMainWindowSlider(VolumeSlider::Microphone, 65535 - 1234);
    EXPECT_EQ(model.sliderPosition(VolumeSlider::Microphone), 1234);
}

TEST(VoiceTestSliders, StartAtTheVolumesWhenKnown)
{
    TempDir dir;
    FakeSoundDevices devices;
    VoiceTestThreads threads{devices, dir / "sound.wav"};
    FakeVolume speaker;
    speaker.volume = 50000;
    FakeVolume microphone;  // not available
    VoiceTestModel model{threads, speaker, microphone};
    EXPECT_EQ(model.sliderPosition(VolumeSlider::Speaker), 50000);
    EXPECT_EQ(model.sliderPosition(VolumeSlider::Microphone),
              VoiceTestModel::kDefaultSliderPosition);
}

}
}
