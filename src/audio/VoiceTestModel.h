#pragma once

#include "audio/IVolume.h"
#include "audio/SoundProblem.h"
#include "audio/VoiceTestThreads.h"

#include <QObject>
#include <QString>
#include <QTimer>

namespace orvanta {

// Hours, minutes and seconds of a recording or a playback.
struct ElapsedClock {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;

    void tick();
    bool isZero() const { return hours == 0 && minutes == 0 && seconds == 0; }
    bool operator==(const ElapsedClock&) const = default;
};

// "00:00:00"; hours take more digits when they need them.
QString formatElapsed(const ElapsedClock& clock);

enum class VolumeSlider { Microphone, Speaker };

// The main window's half of the slider mirroring: its microphone and
// speaker sliders follow the voice test's, and the other way round.
class VolumeSliderMirror {
public:
    virtual ~VolumeSliderMirror() = default;
    virtual bool sliderMirroringEnabled() const = 0;
    // The main window's slider goes to this position (65535 - ours).
    virtual void moveMainWindowSlider(VolumeSlider slider, int position) = 0;
};

// The voice test without its controls: record (heard live) into the sound
// file, play it back, the two clocks, the two level meters and the two
// volume sliders. Recording and playing exclude each other.
class VoiceTestModel : public QObject {
    Q_OBJECT

public:
    static constexpr int kSliderMaximum = 65535;
    static constexpr int kDefaultSliderPosition = 32000;
    static constexpr int kMeterMaximum = 1000;

    VoiceTestModel(VoiceTestThreads& threads, IVolume& speaker, IVolume& microphone,
                   QObject* parent = nullptr);
    ~VoiceTestModel() override;

    void setSliderMirror(VolumeSliderMirror* mirror) { mirror_ = mirror; }

    // The buttons.
    void pressRecord();
    void pressPlay();
    // The user moved one of our sliders.
    void moveSlider(VolumeSlider slider, int position);
    // The main window's slider of that kind moved to mainPosition.
    void mirrorMainWindowSlider(VolumeSlider slider, int mainPosition);
    // The panel was closed: nothing records or plays unseen.
    void panelHidden();

    bool isRecording() const { return recording_; }
    bool isPlaying() const { return playing_; }
    bool recordButtonVisible() const { return !playing_; }
    // Hidden until a recording has been made, and while recording.
    bool playButtonVisible() const { return recordedOnce_ && !recording_; }
    const ElapsedClock& recordClock() const { return recordClockShown_; }
    const ElapsedClock& playClock() const { return playClockShown_; }
    const ElapsedClock& recordedLength() const { return recordedLength_; }
    int inputMeter() const { return inputMeter_; }
    int outputMeter() const { return outputMeter_; }
    int sliderPosition(VolumeSlider slider) const;

    // What the timers do; public so that the clock can be driven.
    void tickRecordClock();
    void tickPlayClock();
    void sampleInputMeter();
    void sampleOutputMeter();

signals:
    void changed();
    void problem(const orvanta::SoundProblem& problem);

private:
    void startRecording();
    void stopRecording();
    void startPlaying();
    void stopPlaying();
    void volumeChanged(VolumeSlider slider, int value);
    void mirrorToMainWindow(VolumeSlider slider, int position);
    static int initialPosition(const IVolume& control);

    VoiceTestThreads& threads_;
    IVolume& speaker_;
    IVolume& microphone_;
    VolumeSliderMirror* mirror_ = nullptr;

    bool recording_ = false;
    bool playing_ = false;
    bool recordedOnce_ = false;
    ElapsedClock clock_;
    ElapsedClock recordClockShown_;
    ElapsedClock playClockShown_;
    ElapsedClock recordedLength_;
    int inputMeter_ = 0;
    int outputMeter_ = 0;
    int microphonePosition_ = kDefaultSliderPosition;
    int speakerPosition_ = kDefaultSliderPosition;

    QTimer recordClockTimer_;
    QTimer playClockTimer_;
    QTimer inputMeterTimer_;
    QTimer outputMeterTimer_;
};

}
