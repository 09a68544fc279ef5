#include "audio/AudioDeviceChoice.h"
#include "audio/AudioPageModel.h"
#include "audio/PulseVolume.h"
#include "audio/RouteFollowers.h"
#include "audio/VoiceTestModel.h"
#include "platform/Wav.h"
#include "support/EventWait.h"
#include "support/PrivatePulseAudio.h"
#include "support/ToneAnalysis.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace orvanta::test {
namespace {

using namespace std::chrono_literals;
using platform::SoundServerState;

constexpr int kRate = 8000;

std::uint32_t le(const std::vector<char>& b, std::size_t at, int bytes)
{
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    }
    return v;
}

// The tone stands out of everything else the samples hold.
void expectTone(std::span<const std::int16_t> samples, int hz)
{
    ASSERT_GT(samples.size(), std::size_t{kRate / 2});
    const double tone = tonePower(samples, kRate, hz);
    for (int other : {300, 600, 1500, 2500}) {
        EXPECT_GT(tone, 50 * tonePower(samples, kRate, other)) << hz << " vs " << other;
    }
}

// Somewhere in the samples lies a second in which the tone stands out.
bool holdsTone(std::span<const std::int16_t> samples, int hz)
{
    for (std::size_t at = 0; at + kRate <= samples.size(); at += kRate / 4) {
        const auto part = samples.subspan(at, kRate);
        const double tone = tonePower(part, kRate, hz);
        bool standsOut = true;
        for (int other : {300, 600, 1500, 2500}) {
            standsOut = standsOut && tone > 50 * tonePower(part, kRate, other);
        }
        if (standsOut) {
            return true;
        }
    }
    return false;
}

// The sink our playback stream plays on, from pactl's listing; -1 if none.
int sinkOfOurPlayback(PrivatePulseAudio& pulse)
{
    for (const QString& block : pulse.pactl({"list", "sink-inputs"}).split("Sink Input #")) {
        if (block.contains("Orvanta playback")) {
            const auto m = QRegularExpression(QStringLiteral("Sink: (\\d+)")).match(block);
            return m.hasMatch() ? m.captured(1).toInt() : -1;
        }
    }
    return -1;
}

int sinkIndex(PrivatePulseAudio& pulse, const QString& name)
{
    for (const QString& line : pulse.pactl({"list", "short", "sinks"}).split('\n')) {
        if (line.section('\t', 1, 1) == name) {
            return line.section('\t', 0, 0).toInt();
        }
    }
    return -1;
}

struct FakeMainWindow : VolumeSliderMirror {
    bool sliderMirroringEnabled() const override { return true; }
    void moveMainWindowSlider(VolumeSlider slider, int position) override
    {
        (slider == VolumeSlider::Speaker ? speaker : microphone) = position;
    }
    int speaker = -1;
    int microphone = -1;
};

// The voice test on a sound server of the test's own.
class VoiceTestOnServer : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pulse.running()) << pulse.log().toStdString();
        server = std::make_unique<platform::SoundServer>(pulse.address());
        ASSERT_TRUE(eventually([&] { return server->view().state == SoundServerState::Ready; }));
        speaker = std::make_unique<CVolumeOutWave>(*server);
        microphone = std::make_unique<CVolumeInXXX>(*server);
        // The recording goes to the data folder, wherever the dialer started.
        ::setenv("ORVANTA_DATA_DIR", (dir / "data").c_str(), 1);
        threads = std::make_unique<VoiceTestThreads>(server->devices(),
                                                     VoiceTestThreads::defaultSoundFile());
        model = std::make_unique<VoiceTestModel>(*threads, *speaker, *microphone);
        model->setSliderMirror(&mainWindow);
        QObject::connect(model.get(), &VoiceTestModel::problem, [](const SoundProblem& p) {
            ADD_FAILURE() << "problem " << static_cast<int>(p.kind) << " " << p.error.text;
        });
    }

    void TearDown() override { ::unsetenv("ORVANTA_DATA_DIR"); }

    std::filesystem::path toneFile(int hz, int milliseconds)
    {
        const auto path = dir / ("tone-" + std::to_string(hz) + ".wav");
        const std::vector<char> bytes = platform::encodeWav(platform::pcmFormat(kRate, 1, 16),
                                                            sineWave(hz, milliseconds, kRate, 0.4));
        std::ofstream(path, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    std::vector<std::int16_t> recordedSamples()
    {
        const std::vector<char> b = soundFileBytes();
        std::vector<std::int16_t> samples(b.size() > 46 ? (b.size() - 46) / 2 : 0);
        for (std::size_t i = 0; i < samples.size(); ++i) {
            samples[i] = static_cast<std::int16_t>(le(b, 46 + 2 * i, 2));
        }
        return samples;
    }

    std::vector<char> soundFileBytes()
    {
        std::ifstream in(dir / "data" / "sound.wav", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    // Records while the tone plays into the microphone; what the speaker
    // heard meanwhile.
    std::vector<std::int16_t> recordTone(int hz, std::chrono::milliseconds length)
    {
        auto feed = pulse.feedMicrophone(toneFile(hz, 20000));
        auto heard = pulse.listen("spk.monitor");
        model->pressRecord();
        QTest::qWait(static_cast<int>(length.count()));
        model->pressRecord();
        EXPECT_TRUE(threads->capture().waitUntilIdle(5s));
        EXPECT_TRUE(threads->writer().waitUntilIdle(5s));
        return PrivatePulseAudio::samplesOf(heard->stop());
    }

    TempDir dir;
    PrivatePulseAudio pulse;
    std::unique_ptr<platform::SoundServer> server;
    std::unique_ptr<CVolumeOutWave> speaker;
    std::unique_ptr<CVolumeInXXX> microphone;
    std::unique_ptr<VoiceTestThreads> threads;
    std::unique_ptr<VoiceTestModel> model;
    FakeMainWindow mainWindow;
};

TEST_F(VoiceTestOnServer, RecordsTheToneFedIntoTheMicrophoneAndIsHeardLive)
{
    const std::vector<std::int16_t> heard = recordTone(1000, 3500ms);
    EXPECT_GE(model->recordedLength().seconds, 3);

    const std::vector<char> b = soundFileBytes();
    ASSERT_GE(b.size(), 46u);
    const std::uint32_t n = le(b, 42, 4);
    EXPECT_EQ(std::string(b.data(), 4), "RIFF");
    EXPECT_EQ(le(b, 4, 4), 38 + n);
    EXPECT_EQ(std::string(b.data() + 8, 8), "WAVEfmt ");
    EXPECT_EQ(le(b, 16, 4), 18u);
    EXPECT_EQ(le(b, 20, 2), 1u);
    EXPECT_EQ(le(b, 22, 2), 1u);
    EXPECT_EQ(le(b, 24, 4), 8000u);
    EXPECT_EQ(le(b, 28, 4), 16000u);
    EXPECT_EQ(le(b, 32, 2), 2u);
    EXPECT_EQ(le(b, 34, 2), 16u);
    EXPECT_EQ(le(b, 36, 2), 0u);
    EXPECT_EQ(std::string(b.data() + 38, 4), "data");
    EXPECT_EQ(b.size(), 46 + n);
    EXPECT_EQ(n % 2000, 0u);
    // Most of the time recorded reached the file.
    EXPECT_GE(n, 2u * 16000);

    // The last second is surely inside the tone.
    const std::vector<std::int16_t> recorded = recordedSamples();
    ASSERT_EQ(recorded.size(), n / 2);
    expectTone(std::span(recorded).last(kRate), 1000);
    EXPECT_TRUE(holdsTone(heard, 1000)) << heard.size() << " samples heard";
}

TEST_F(VoiceTestOnServer, PlaybackReachesTheSpeaker)
{
    recordTone(700, 2500ms);
    ASSERT_FALSE(model->recordedLength().isZero());
    auto heard = pulse.listen("spk.monitor");
    model->pressPlay();
    ASSERT_TRUE(model->isPlaying());
    ASSERT_TRUE(eventually([&] { return !model->isPlaying(); }, 6s));
    QTest::qWait(1000);
    const std::vector<std::int16_t> samples = PrivatePulseAudio::samplesOf(heard->stop());
    EXPECT_TRUE(holdsTone(samples, 700)) << samples.size() << " samples heard";
}

// pactl's percentage of one device's volume ("front-left: 32768 /  50% /").
int pactlPercent(PrivatePulseAudio& pulse, const QString& what, const QString& device)
{
    const QString out = pulse.pactl({what, device});
    const auto match = QRegularExpression(QStringLiteral("(\\d+)%")).match(out);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

TEST_F(VoiceTestOnServer, VolumesSetHereShowInTheMixerAndTheMixersMoveOurSliders)
{
    const struct {
        const char* name;
        VolumeSlider slider;
        const char* get;
        const char* set;
        const char* device;
    } controls[] = {
        {"speaker", VolumeSlider::Speaker, "get-sink-volume", "set-sink-volume", "spk"},
        {"microphone", VolumeSlider::Microphone, "get-source-volume", "set-source-volume", "mic"},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.name);
        model->moveSlider(c.slider, 32768);
        EXPECT_TRUE(eventually([&] { return pactlPercent(pulse, c.get, c.device) == 50; }));
        model->moveSlider(c.slider, 65535);
        EXPECT_TRUE(eventually([&] { return pactlPercent(pulse, c.get, c.device) == 100; }));

        // Out of range is ignored, not clipped.
        model->moveSlider(c.slider, 32768);
        EXPECT_TRUE(eventually([&] { return pactlPercent(pulse, c.get, c.device) == 50; }));
        (c.slider == VolumeSlider::Speaker ? static_cast<IVolume&>(*speaker)
                                           : static_cast<IVolume&>(*microphone))
            .SetVolume(70000);
        QTest::qWait(100);
        EXPECT_EQ(pactlPercent(pulse, c.get, c.device), 50);

        pulse.pactl({c.set, c.device, "25%"});
        EXPECT_TRUE(eventually([&] { return model->sliderPosition(c.slider) == 16384; }));
        const int mirrored =
            c.slider == VolumeSlider::Speaker ? mainWindow.speaker : mainWindow.microphone;
        EXPECT_EQ(mirrored, 65535 - 16384);
    }
}

std::vector<std::string> namesOf(const std::vector<platform::SoundDeviceInfo>& devices)
{
    std::vector<std::string> names;
    for (const auto& d : devices) {
        names.push_back(d.name);
    }
    return names;
}

TEST_F(VoiceTestOnServer, DeviceListsFollowPlugAndUnplugAndLeaveOutMonitors)
{
    using Names = std::vector<std::string>;
    EXPECT_EQ(namesOf(server->view().outputs), (Names{"spk", "micfeed"}));
    EXPECT_EQ(namesOf(server->view().inputs), (Names{"mic"}));
    EXPECT_EQ(server->view().defaultOutput, "spk");
    EXPECT_EQ(server->view().defaultInput, "mic");

    const int usb = pulse.loadModule("module-null-sink", "sink_name=usb");
    ASSERT_GE(usb, 0);
    EXPECT_TRUE(eventually([&] {
        return namesOf(server->view().outputs) == Names{"spk", "micfeed", "usb"};
    }));
    pulse.pactl({"unload-module", QString::number(usb)});
    EXPECT_TRUE(eventually([&] {
        return namesOf(server->view().outputs) == Names{"spk", "micfeed"};
    }));
}

// Of two speaker controls only the newer hears of the mixer; when it goes,
// the older one hears again.
TEST_F(VoiceTestOnServer, OnlyTheNewestSpeakerControlHearsOfChanges)
{
    const int before = model->sliderPosition(VolumeSlider::Speaker);
    auto newer = std::make_unique<CVolumeOutWave>(*server);
    std::vector<int> heard;
    newer->SetChangeCallback([&](IVolume&, int value) { heard.push_back(value); });
    pulse.pactl({"set-sink-volume", "spk", "30%"});
    ASSERT_TRUE(eventually([&] { return !heard.empty(); }));
    EXPECT_EQ(heard.back(), fromServerVolume(platform::kNormalVolume * 3 / 10));
    QTest::qWait(100);
    EXPECT_EQ(model->sliderPosition(VolumeSlider::Speaker), before);

    newer.reset();
    pulse.pactl({"set-sink-volume", "spk", "60%"});
    EXPECT_TRUE(eventually([&] {
        return model->sliderPosition(VolumeSlider::Speaker) ==
               fromServerVolume(platform::kNormalVolume * 6 / 10);
    }));
}

TEST_F(VoiceTestOnServer, AChosenSpeakerUnpluggedMidRecordingFallsBackAndReturns)
{
    const int headset = pulse.loadModule("module-null-sink", "sink_name=headset");
    ASSERT_GE(headset, 0);
    AudioDeviceChoice devices(*server);
    std::vector<AudioNoticeKind> notices;
    QObject::connect(&devices, &AudioDeviceChoice::notice,
                     [&](const AudioDeviceNotice& n) { notices.push_back(n.kind); });
    ASSERT_TRUE(eventually([&] {
        return server->view().find(platform::SoundDirection::Output, "headset") != nullptr;
    }));
    AudioChoices choice;
    choice[AudioRole::Output] = {"headset", "Headset"};
    devices.setChoices(choice);
    followRoutes(devices, *threads);
    followRoute(devices, AudioRole::Output, *speaker);
    AudioPageModel page(devices);
    int pageRefreshes = 0;
    QObject::connect(&page, &AudioPageModel::changed, [&] { ++pageRefreshes; });
    auto headsetRow = [&] {
        for (const DeviceEntry& e : page.entries(AudioRole::Output)) {
            if (e.device == "headset") {
                return std::optional<bool>(e.connected);
            }
        }
        return std::optional<bool>();
    };
    EXPECT_EQ(headsetRow(), true);
    EXPECT_EQ(devices.route(AudioRole::Output).device, "headset");

    auto feed = pulse.feedMicrophone(toneFile(1000, 20000));
    model->pressRecord();
    const int headsetSink = sinkIndex(pulse, "headset");
    ASSERT_GE(headsetSink, 0);
    EXPECT_TRUE(eventually([&] { return sinkOfOurPlayback(pulse) == headsetSink; }));

    pulse.pactl({"unload-module", QString::number(headset)});
    ASSERT_TRUE(eventually([&] { return !notices.empty(); }));
    EXPECT_EQ(notices, std::vector{AudioNoticeKind::FellBack});
    EXPECT_EQ(devices.route(AudioRole::Output).status, RouteStatus::FallenBack);
    // The live playback carries on on the default speaker.
    EXPECT_TRUE(eventually([&] { return sinkOfOurPlayback(pulse) == sinkIndex(pulse, "spk"); }));
    EXPECT_TRUE(speaker->IsAvailable());  // now the default speaker's volume
    // An open Audio page shows the choice as not connected, still selected.
    EXPECT_GT(pageRefreshes, 0);
    EXPECT_EQ(headsetRow(), false);
    EXPECT_EQ(
        page.entries(
                AudioRole::Output)[static_cast<std::size_t>(page.selectedIndex(AudioRole::Output))]
            .device,
        "headset");

    ASSERT_GE(pulse.loadModule("module-null-sink", "sink_name=headset"), 0);
    ASSERT_TRUE(eventually([&] { return notices.size() == 2; }));
    EXPECT_EQ(notices[1], AudioNoticeKind::Returned);
    EXPECT_EQ(devices.route(AudioRole::Output).device, "headset");
    model->pressRecord();
    EXPECT_TRUE(threads->capture().waitUntilIdle(5s));
}

// The sound server goes away mid-recording and comes back: nothing hangs,
// and the next recording works.
TEST_F(VoiceTestOnServer, SurvivesTheServerGoingAndComingBack)
{
    {
        auto feed = pulse.feedMicrophone(toneFile(1000, 20000));
        model->pressRecord();
        QTest::qWait(500);
        pulse.stop();
    }
    ASSERT_TRUE(eventually([&] { return server->view().state == SoundServerState::NotAvailable; }));
    EXPECT_FALSE(speaker->IsAvailable());
    const auto stopAt = std::chrono::steady_clock::now();
    model->pressRecord();
    EXPECT_TRUE(threads->capture().waitUntilIdle(2s));
    EXPECT_TRUE(threads->playback().waitUntilIdle(2s));
    EXPECT_LT(std::chrono::steady_clock::now() - stopAt, 1s);

    ASSERT_TRUE(pulse.start()) << pulse.log().toStdString();
    ASSERT_TRUE(eventually([&] { return server->view().state == SoundServerState::Ready; }, 10s));
    EXPECT_TRUE(speaker->IsAvailable());
    recordTone(1000, 2500ms);
    const std::vector<std::int16_t> recorded = recordedSamples();
    ASSERT_GE(recorded.size(), std::size_t{kRate});
    expectTone(std::span(recorded).last(kRate), 1000);
}

}
}
