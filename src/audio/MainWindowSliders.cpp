#include "audio/MainWindowSliders.h"

#include <algorithm>

namespace orvanta {

namespace {

constexpr int kMaximum = VoiceTestModel::kSliderMaximum;

}

MainWindowSliders::MainWindowSliders(IVolume& microphone, IVolume& speaker,
                                     VoiceTestModel& voiceTest, QObject* parent)
        : QObject(parent), microphone_(microphone), speaker_(speaker), voiceTest_(voiceTest),
          microphonePosition_(kMaximum - voiceTest.sliderPosition(VolumeSlider::Microphone)),
          speakerPosition_(kMaximum - voiceTest.sliderPosition(VolumeSlider::Speaker))
{
    voiceTest_.setSliderMirror(this);
}

MainWindowSliders::~MainWindowSliders()
{
    voiceTest_.setSliderMirror(nullptr);
}

int& MainWindowSliders::positionOf(VolumeSlider slider)
{
    return slider == VolumeSlider::Speaker ? speakerPosition_ : microphonePosition_;
}

int MainWindowSliders::position(VolumeSlider slider) const
{
    return slider == VolumeSlider::Speaker ? speakerPosition_ : microphonePosition_;
}

void MainWindowSliders::moveSlider(VolumeSlider slider, int position)
{
    position = std::clamp(position, 0, kMaximum);
    positionOf(slider) = position;
    (slider == VolumeSlider::Speaker ? speaker_ : microphone_).SetVolume(kMaximum - position);
    voiceTest_.mirrorMainWindowSlider(slider, position);
}

void MainWindowSliders::moveMainWindowSlider(VolumeSlider slider, int position)
{
    positionOf(slider) = std::clamp(position, 0, kMaximum);
    emit changed();
}

}
