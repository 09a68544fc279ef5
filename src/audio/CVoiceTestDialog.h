#pragma once

#include "audio/VoiceTestModel.h"
#include "controls/SkinnedDialog.h"

class QLabel;
class QProgressBar;
class QSlider;
class QToolButton;

namespace orvanta {

// The voice test panel: record and play buttons, their clocks, the level
// meters and the microphone and speaker sliders. Its logic lives in
// VoiceTestModel.
class CVoiceTestDialog : public SkinnedDialog {
    Q_OBJECT

public:
    explicit CVoiceTestDialog(VoiceTestModel& model, QWidget* parent = nullptr);

    // The controls, for keyboard, screen readers and tests.
    QToolButton* recordButton() const { return recordButton_; }
    QToolButton* playButton() const { return playButton_; }
    QToolButton* closeButton() const { return closeButton_; }
    QLabel* recordClock() const { return recordClock_; }
    QLabel* playClock() const { return playClock_; }
    QProgressBar* inputMeter() const { return inputMeter_; }
    QProgressBar* outputMeter() const { return outputMeter_; }
    QSlider* microphoneSlider() const { return microphoneSlider_; }
    QSlider* speakerSlider() const { return speakerSlider_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildControls();
    void refresh();
    QSlider* makeSlider(VolumeSlider kind);

    VoiceTestModel& model_;
    QToolButton* recordButton_ = nullptr;
    QToolButton* playButton_ = nullptr;
    QToolButton* closeButton_ = nullptr;
    QLabel* recordClock_ = nullptr;
    QLabel* playClock_ = nullptr;
    QProgressBar* inputMeter_ = nullptr;
    QProgressBar* outputMeter_ = nullptr;
    QSlider* microphoneSlider_ = nullptr;
    QSlider* speakerSlider_ = nullptr;
    bool refreshing_ = false;
    bool placed_ = false;
};

}
