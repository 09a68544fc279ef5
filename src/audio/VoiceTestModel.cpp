#include "audio/VoiceTestModel.h"

#include <algorithm>

namespace orvanta {

void ElapsedClock::tick()
{
    if (++seconds == 60) {
        seconds = 0;
        if (++minutes == 60) {
            minutes = 0;
            ++hours;
        }
    }
}

QString formatElapsed(const ElapsedClock& clock)
{
    return QString::asprintf("%02d:%02d:%02d", clock.hours, clock.minutes, clock.seconds);
}

namespace {

int meterOf(int level)
{
    return level * VoiceTestModel::kMeterMaximum / kFullScaleLevel;
}

}

VoiceTestModel::VoiceTestModel(VoiceTestThreads& threads, IVolume& speaker, IVolume& microphone,
                               QObject* parent)
        : QObject(parent), threads_(threads), speaker_(speaker), microphone_(microphone)
{
    // The sliders start where the volumes are, when the server tells.
    speakerPosition_ = initialPosition(speaker_);
    microphonePosition_ = initialPosition(microphone_);
    speaker_.SetChangeCallback(
        [this](IVolume&, int value) { volumeChanged(VolumeSlider::Speaker, value); });
    microphone_.SetChangeCallback(
        [this](IVolume&, int value) { volumeChanged(VolumeSlider::Microphone, value); });

    recordClockTimer_.setInterval(1000);
    playClockTimer_.setInterval(1000);
    inputMeterTimer_.setInterval(100);
    outputMeterTimer_.setInterval(100);
    connect(&recordClockTimer_, &QTimer::timeout, this, &VoiceTestModel::tickRecordClock);
    connect(&playClockTimer_, &QTimer::timeout, this, &VoiceTestModel::tickPlayClock);
    connect(&inputMeterTimer_, &QTimer::timeout, this, &VoiceTestModel::sampleInputMeter);
    connect(&outputMeterTimer_, &QTimer::timeout, this, &VoiceTestModel::sampleOutputMeter);
    connect(&threads_, &VoiceTestThreads::problem, this, &VoiceTestModel::problem);
}

VoiceTestModel::~VoiceTestModel()
{
    speaker_.SetChangeCallback({});
    microphone_.SetChangeCallback({});
}

int VoiceTestModel::initialPosition(const IVolume& control)
{
    const int volume = control.GetVolume();
    return volume < 0 ? kDefaultSliderPosition : volume;
}

void VoiceTestModel::pressRecord()
{
    if (playing_) {
        return;  // the record button is hidden while playing
    }
    recording_ ? stopRecording() : startRecording();
    emit changed();
}

void VoiceTestModel::pressPlay()
{
    if (recording_) {
        return;  // the play button is hidden while recording
    }
    if (playing_) {
        stopPlaying();
    } else if (!recordedLength_.isZero()) {
        startPlaying();
    }
    emit changed();
}

void VoiceTestModel::panelHidden()
{
    if (recording_) {
        stopRecording();
    } else if (playing_) {
        stopPlaying();
    } else {
        return;
    }
    emit changed();
}

void VoiceTestModel::startRecording()
{
    threads_.capture().post(RecStart{});
    recording_ = true;
    clock_ = {};
    recordClockShown_ = {};
    recordClockTimer_.start();
    inputMeterTimer_.start();
}

void VoiceTestModel::stopRecording()
{
    threads_.capture().post(RecStop{});
    recording_ = false;
    recordedOnce_ = true;
    recordClockTimer_.stop();
    inputMeterTimer_.stop();
    inputMeter_ = 0;
    recordedLength_ = clock_;
    clock_ = {};
}

void VoiceTestModel::startPlaying()
{
    threads_.filePlayer().post(FileSetPlayer{&threads_.playback()});
    threads_.filePlayer().post(FilePlay{});
    playing_ = true;
    clock_ = {};
    playClockShown_ = {};
    playClockTimer_.start();
    outputMeterTimer_.start();
}

void VoiceTestModel::stopPlaying()
{
    threads_.filePlayer().post(FileStop{});
    playing_ = false;
    playClockTimer_.stop();
    outputMeterTimer_.stop();
    outputMeter_ = 0;
    clock_ = {};
}

void VoiceTestModel::tickRecordClock()
{
    if (!recording_) {
        return;
    }
    clock_.tick();
    recordClockShown_ = clock_;
    emit changed();
}

void VoiceTestModel::tickPlayClock()
{
    if (!playing_) {
        return;
    }
    clock_.tick();
    playClockShown_ = clock_;
    // Playback ends with the recorded length, even if the file holds more.
    if (clock_ == recordedLength_) {
        stopPlaying();
    }
    emit changed();
}

void VoiceTestModel::sampleInputMeter()
{
    inputMeter_ = meterOf(threads_.levels().input);
    emit changed();
}

void VoiceTestModel::sampleOutputMeter()
{
    outputMeter_ = meterOf(threads_.levels().output);
    emit changed();
}

int VoiceTestModel::sliderPosition(VolumeSlider slider) const
{
    return slider == VolumeSlider::Speaker ? speakerPosition_ : microphonePosition_;
}

void VoiceTestModel::moveSlider(VolumeSlider slider, int position)
{
    position = std::clamp(position, 0, kSliderMaximum);
    (slider == VolumeSlider::Speaker ? speakerPosition_ : microphonePosition_) = position;
    (slider == VolumeSlider::Speaker ? speaker_ : microphone_).SetVolume(position);
    mirrorToMainWindow(slider, position);
    emit changed();
}

void VoiceTestModel::mirrorMainWindowSlider(VolumeSlider slider, int mainPosition)
{
    const int position = kSliderMaximum - std::clamp(mainPosition, 0, kSliderMaximum);
    (slider == VolumeSlider::Speaker ? speakerPosition_ : microphonePosition_) = position;
    emit changed();
}

// A volume changed elsewhere (the desktop's mixer): both windows' sliders
// follow it.
void VoiceTestModel::volumeChanged(VolumeSlider slider, int value)
{
    (slider == VolumeSlider::Speaker ? speakerPosition_ : microphonePosition_) = value;
    mirrorToMainWindow(slider, value);
    emit changed();
}

void VoiceTestModel::mirrorToMainWindow(VolumeSlider slider, int position)
{
    if (mirror_ && mirror_->sliderMirroringEnabled()) {
        mirror_->moveMainWindowSlider(slider, kSliderMaximum - position);
    }
}

}
