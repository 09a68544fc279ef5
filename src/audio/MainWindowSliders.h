#pragma once

#include "audio/IVolume.h"
#include "audio/VoiceTestModel.h"

#include <QObject>

namespace orvanta {

// The main window's microphone and speaker sliders without their controls.
// They run the other way round from the voice test's (a position p sets the
// volume 65535 - p), and the two windows' sliders follow each other.
class MainWindowSliders : public QObject, public VolumeSliderMirror {
    Q_OBJECT

public:
    MainWindowSliders(IVolume& microphone, IVolume& speaker, VoiceTestModel& voiceTest,
                      QObject* parent = nullptr);
    ~MainWindowSliders() override;

    int position(VolumeSlider slider) const;
    // The user moved one of the main window's sliders.
    void moveSlider(VolumeSlider slider, int position);

    // VolumeSliderMirror
    bool sliderMirroringEnabled() const override { return true; }
    void moveMainWindowSlider(VolumeSlider slider, int position) override;

signals:
    // A slider moved by the voice test or the desktop's mixer.
    void changed();

private:
    int& positionOf(VolumeSlider slider);

    IVolume& microphone_;
    IVolume& speaker_;
    VoiceTestModel& voiceTest_;
    int microphonePosition_;
    int speakerPosition_;
};

}
