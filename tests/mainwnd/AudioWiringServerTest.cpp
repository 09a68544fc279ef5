// The main window's volume sliders on a private sound server: a slider
// moved here sets the device's volume (the other way round: top is
// loudest), a change made in the mixer moves it, and a server with devices
// raises no sound-card notice.
#include "MainWindowHarness.h"
#include "support/EventWait.h"
#include "support/PrivatePulseAudio.h"

#include <QRegularExpression>
#include <QSlider>

namespace {

using namespace orvanta;
using namespace std::chrono_literals;

// pactl's percentage of one device's volume ("front-left: 32768 /  50% /").
int pactlPercent(test::PrivatePulseAudio& pulse, const QString& what, const QString& device)
{
    const QString out = pulse.pactl({what, device});
    const auto match = QRegularExpression(QStringLiteral("(\\d+)%")).match(out);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

class AudioWiringOnServer : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pulse_.running()) << pulse_.log().toStdString();
        setenv("PULSE_SERVER", pulse_.address().c_str(), 1);
        harness_.buildOnScriptedEngine(scripted_);
        QObject::connect(&harness_.core->audio().soundCardCheck(), &SoundCardCheck::checked,
                         [this](bool detected) { detected_ = detected; });
        harness_.openWithSavedAccount(QStringLiteral("alice"), QStringLiteral("pw"));
    }

    test::PrivatePulseAudio pulse_;  // outlives the dialer's sound server
    test::ScriptedEngine scripted_;
    MainWindowHarness harness_;
    std::optional<bool> detected_;
};

TEST_F(AudioWiringOnServer, SlidersSetTheVolumesAndFollowTheMixer)
{
    ASSERT_TRUE(test::eventually([this] { return detected_.has_value(); }, 5s));
    EXPECT_EQ(detected_, true);
    EXPECT_EQ(harness_.soundCardNotices, 0);
    EXPECT_TRUE(harness_.core->audio().microphoneAvailable());

    const struct {
        const char* name;
        QSlider* slider;
        const char* get;
        const char* set;
        const char* device;
    } sliders[] = {
        {"speaker", harness_.face().speakerSlider(), "get-sink-volume", "set-sink-volume", "spk"},
        {"microphone", harness_.face().microphoneSlider(), "get-source-volume", "set-source-volume",
         "mic"},
    };
    for (const auto& s : sliders) {
        SCOPED_TRACE(s.name);
        // The devices start at 100 %: the slider learns it from the server.
        EXPECT_TRUE(test::eventually([&] { return s.slider->value() == 0; }));
        s.slider->setValue(65535 - 32768);
        EXPECT_TRUE(test::eventually([&] { return pactlPercent(pulse_, s.get, s.device) == 50; }));
        s.slider->triggerAction(QAbstractSlider::SliderToMinimum);  // the top
        EXPECT_TRUE(test::eventually([&] { return pactlPercent(pulse_, s.get, s.device) == 100; }));

        pulse_.pactl({s.set, s.device, "25%"});
        EXPECT_TRUE(test::eventually([&] { return s.slider->value() == 65535 - 16384; }));
    }
}

}
