#include "FakeSoundDevices.h"
#include "audio/AudioTexts.h"
#include "audio/CAudioPage.h"
#include "audio/CVoiceTestDialog.h"
#include "audio/PulseVolume.h"
#include "support/DataFolderFixture.h"

#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace orvanta::test {
namespace {

// The widgets on a server that is not there: lists hold the system default
// only, volumes are not available.
class AudioWidgets : public DataFolderFixture {
protected:
    platform::SoundServer server{"unix:" + (temp_ / "no-such-socket").string()};
};

class VoiceTestPanel : public AudioWidgets {
protected:
    FakeSoundDevices devices;
    VoiceTestThreads threads{devices, temp_ / "sound.wav"};
    CVolumeOutWave speaker{server};
    CVolumeInXXX microphone{server};
    VoiceTestModel model{threads, speaker, microphone};
    CVoiceTestDialog panel{model};
};

TEST_F(VoiceTestPanel, ButtonsDriveTheModelAndShowItsState)
{
    panel.show();

    EXPECT_EQ(panel.recordClock()->text(), "00:00:00");
    EXPECT_FALSE(panel.playButton()->isVisible());
    EXPECT_EQ(panel.recordButton()->accessibleName(), "Record");
    EXPECT_EQ(panel.microphoneSlider()->maximum(), 65535);
    EXPECT_EQ(panel.speakerSlider()->value(), VoiceTestModel::kDefaultSliderPosition);

    QTest::mouseClick(panel.recordButton(), Qt::LeftButton);
    EXPECT_TRUE(model.isRecording());
    EXPECT_EQ(panel.recordButton()->accessibleName(), "Stop recording");
    model.tickRecordClock();
    EXPECT_EQ(panel.recordClock()->text(), "00:00:01");
    QTest::mouseClick(panel.recordButton(), Qt::LeftButton);
    EXPECT_FALSE(model.isRecording());
    EXPECT_TRUE(panel.playButton()->isVisible());

    QTest::mouseClick(panel.playButton(), Qt::LeftButton);
    EXPECT_TRUE(model.isPlaying());
    EXPECT_FALSE(panel.recordButton()->isVisible());

    // Escape does not close the panel; its own button does, and stops play.
    QTest::keyClick(&panel, Qt::Key_Escape);
    EXPECT_TRUE(panel.isVisible());
    QTest::mouseClick(panel.closeButton(), Qt::LeftButton);
    EXPECT_FALSE(panel.isVisible());
    EXPECT_FALSE(model.isPlaying());
}

TEST_F(VoiceTestPanel, MovingASliderByKeyboardReachesTheModel)
{
    panel.show();
    panel.speakerSlider()->setFocus();
    QTest::keyClick(panel.speakerSlider(), Qt::Key_End);
    EXPECT_EQ(model.sliderPosition(VolumeSlider::Speaker), 65535);
    // The model moving it (the mixer, the main window) does not echo back.
    model.mirrorMainWindowSlider(VolumeSlider::Speaker, 65535);
    EXPECT_EQ(panel.speakerSlider()->value(), 0);
    EXPECT_EQ(model.sliderPosition(VolumeSlider::Speaker), 0);
}

TEST_F(AudioWidgets, AudioPageListsTheDefaultFirstAndEnablesApplyOnAPick)
{
    AudioDeviceChoice devices(server);
    AudioChoices choice;
    choice[AudioRole::Ringer] = {"usb", "USB Speaker"};
    devices.setChoices(choice);
    AudioPageModel model(devices);
    CAudioPage page(model);
    std::optional<bool> finished;
    QObject::connect(&page, &CAudioPage::finished, [&](bool ok) { finished = ok; });
    page.show();

    QComboBox* ringer = page.deviceList(AudioRole::Ringer);
    ASSERT_EQ(ringer->count(), 2);
    EXPECT_EQ(ringer->itemText(0), "System default");
    EXPECT_EQ(ringer->itemText(1), "USB Speaker (not connected)");
    EXPECT_EQ(ringer->currentIndex(), 1);
    EXPECT_EQ(page.deviceList(AudioRole::Input)->itemText(0), "System default");
    EXPECT_FALSE(page.applyButton()->isEnabled());

    ringer->setFocus();
    QTest::keyClick(ringer, Qt::Key_Home);  // picks the first row
    EXPECT_TRUE(page.applyButton()->isEnabled());
    QTest::keyClick(&page, Qt::Key_Return);  // swallowed: nothing closes
    EXPECT_FALSE(finished.has_value());

    QTest::mouseClick(page.okButton(), Qt::LeftButton);
    EXPECT_EQ(finished, true);
    EXPECT_EQ(devices.choices()[AudioRole::Ringer], ChosenDevice{});
}

TEST(AudioTexts, NamesEntriesAndNotices)
{
    EXPECT_EQ(deviceEntryText({}), "System default");
    EXPECT_EQ(deviceEntryText({"usb", "USB Headset", true}), "USB Headset");
    EXPECT_EQ(deviceEntryText({"usb", "USB Headset", false}), "USB Headset (not connected)");
    EXPECT_EQ(audioNoticeText({AudioRole::Output, AudioNoticeKind::FellBack, "USB Headset"}),
              "Speaker \"USB Headset\" is not connected: using the system default");
    EXPECT_EQ(audioNoticeText({AudioRole::Input, AudioNoticeKind::Returned, "USB Headset"}),
              "Microphone \"USB Headset\" is connected again");
    EXPECT_EQ(soundProblemText({SoundProblemKind::OutputNotOpened, {6, "Connection refused"}}),
              "WAVEOUT:6:Connection refused");
    EXPECT_EQ(soundProblemText({SoundProblemKind::OutputNotOpened, {26, std::string(300, 'x')}}),
              "WAVEOUT:1a:" + QString(260, 'x'));
}

}
}
