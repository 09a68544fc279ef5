// The sound's place in the dialer without a sound server: the voice test
// panel and the "Audio" page open from their commands, the main window's
// volume sliders and the panel's follow each other, and a missing sound
// card is said once while the window opens all the same.
#include "MainWindowHarness.h"
#include "audio/CAudioPage.h"
#include "audio/CVoiceTestDialog.h"
#include "records/RecordFile.h"

#include <QPushButton>
#include <QSlider>
#include <QToolButton>

namespace {

using namespace orvanta;

constexpr int kTop = 65535;

class AudioWiring : public testing::Test {
protected:
    void SetUp() override
    {
        harness_.buildOnScriptedEngine(scripted_);
        harness_.openWithSavedAccount(QStringLiteral("alice"), QStringLiteral("pw"));
    }

    QWidget* opened(WindowId id) const { return harness_.windows->coordinator().existing(id); }
    CVoiceTestDialog* voiceTestPanel() const
    {
        return qobject_cast<CVoiceTestDialog*>(opened(WindowId::VoiceTest));
    }
    QSlider* mainSlider(VolumeSlider kind) const
    {
        return kind == VolumeSlider::Speaker ? harness_.face().speakerSlider()
                                             : harness_.face().microphoneSlider();
    }

    test::ScriptedEngine scripted_;
    MainWindowHarness harness_;
};

TEST_F(AudioWiring, CommandsAndTheVoiceTestButtonOpenTheirWindowsOnFirstUse)
{
    EXPECT_EQ(opened(WindowId::VoiceTest), nullptr);
    EXPECT_EQ(opened(WindowId::Audio), nullptr);

    harness_.click(QStringLiteral("Voice Test"));
    ASSERT_NE(voiceTestPanel(), nullptr);
    EXPECT_TRUE(voiceTestPanel()->isVisible());
    QTest::mouseClick(voiceTestPanel()->closeButton(), Qt::LeftButton);
    ASSERT_TRUE(harness_.model().run(CommandId::VoiceTest));
    EXPECT_TRUE(voiceTestPanel()->isVisible()) << "the same panel shows again";

    ASSERT_TRUE(harness_.model().run(CommandId::Audio));
    auto* page = qobject_cast<CAudioPage*>(opened(WindowId::Audio));
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->isVisible());
    QTest::mouseClick(page->cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(page->isVisible());
    EXPECT_TRUE(harness_.messages.empty());
}

TEST_F(AudioWiring, MainWindowAndVoiceTestSlidersMirrorEachOther)
{
    const struct {
        const char* name;
        VolumeSlider kind;
        QSlider* (CVoiceTestDialog::*panelSlider)() const;
    } sliders[] = {
        {"microphone", VolumeSlider::Microphone, &CVoiceTestDialog::microphoneSlider},
        {"speaker", VolumeSlider::Speaker, &CVoiceTestDialog::speakerSlider},
    };
    ASSERT_TRUE(harness_.model().run(CommandId::VoiceTest));
    VoiceTestModel& voiceTest = harness_.core->audio().voiceTest();
    for (const auto& s : sliders) {
        SCOPED_TRACE(s.name);
        QSlider* main = mainSlider(s.kind);
        QSlider* panel = (voiceTestPanel()->*s.panelSlider)();
        EXPECT_EQ(main->value(), kTop - VoiceTestModel::kDefaultSliderPosition);
        EXPECT_EQ(main->accessibleName(), s.kind == VolumeSlider::Speaker ? "Speaker" : "Mic");

        main->triggerAction(QAbstractSlider::SliderToMinimum);
        EXPECT_EQ(voiceTest.sliderPosition(s.kind), kTop);
        EXPECT_EQ(panel->value(), kTop);

        panel->setValue(20000);
        EXPECT_EQ(harness_.core->audio().sliders().position(s.kind), kTop - 20000);
        EXPECT_EQ(main->value(), kTop - 20000);
    }
}

TEST_F(AudioWiring, NoSoundServerIsSaidOnceAndTheWindowStaysOpen)
{
    ASSERT_TRUE(QTest::qWaitFor([this] { return harness_.soundCardNotices > 0; },
                                2 * SoundCardCheck::kBound.count()));
    QTest::qWait(200);
    EXPECT_EQ(harness_.soundCardNotices, 1);
    EXPECT_TRUE(harness_.window()->isVisible());
    EXPECT_TRUE(harness_.model().running());
}

// The chosen devices are read when the window opens, after start-up has
// found the data folder usable, not when the core is made.
TEST(AudioWiringStart, ChosenDevicesAreReadWhenTheWindowOpens)
{
    MainWindowHarness harness;
    AudioDeviceRecord saved;
    saved.ringerDevice = QStringLiteral("usb");
    saved.ringerDescription = QStringLiteral("USB Speaker");
    ASSERT_TRUE(saveRecordFile(kAudioDeviceRecordKind, saved));
    test::ScriptedEngine scripted;
    harness.buildOnScriptedEngine(scripted);
    AudioDeviceChoice& devices = harness.core->audio().devices();
    EXPECT_EQ(devices.choices()[AudioRole::Ringer], ChosenDevice{});

    harness.openWithSavedAccount(QStringLiteral("alice"), QStringLiteral("pw"));
    EXPECT_EQ(devices.choices()[AudioRole::Ringer], (ChosenDevice{"usb", "USB Speaker"}));
}

TEST(SoundCardDetected, NeedsAnAnsweringServerWithADevice)
{
    using platform::SoundServerState;
    const platform::SoundDeviceInfo device{"spk", "Speaker"};
    const struct {
        const char* name;
        SoundServerState state;
        bool withOutput;
        bool withInput;
        bool detected;
    } cases[] = {
        {"no server", SoundServerState::NotAvailable, false, false, false},
        {"no answer yet", SoundServerState::Connecting, true, true, false},
        {"no device", SoundServerState::Ready, false, false, false},
        {"speaker only", SoundServerState::Ready, true, false, true},
        {"microphone only", SoundServerState::Ready, false, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform::SoundServerView view;
        view.state = c.state;
        if (c.withOutput) {
            view.outputs.push_back(device);
        }
        if (c.withInput) {
            view.inputs.push_back(device);
        }
        EXPECT_EQ(soundCardDetected(view), c.detected);
    }
}

}
