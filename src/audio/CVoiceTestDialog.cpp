#include "audio/CVoiceTestDialog.h"

#include "audio/AudioTexts.h"
#include "controls/MessageBox.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QSlider>
#include <QStyle>
#include <QToolButton>

namespace orvanta {

namespace {

const QSize kPanelSize(300, 300);

QIcon recordIcon()
{
    QPixmap dot(16, 16);
    dot.fill(Qt::transparent);
    QPainter painter(&dot);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(200, 30, 30));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(2, 2, 12, 12);
    return QIcon(dot);
}

void setButtonFace(QToolButton* button, const QIcon& icon, const QString& name)
{
    button->setIcon(icon);
    button->setToolTip(name);
    button->setAccessibleName(name);
}

QLabel* makeClock(const QString& role)
{
    auto* clock = new QLabel(formatElapsed({}));
    clock->setFont(QFont(QStringLiteral("Arial Black"), 14));
    // The name follows the text; the role says what it counts.
    clock->setAccessibleDescription(role);
    return clock;
}

QProgressBar* makeMeter(const QString& name)
{
    auto* meter = new QProgressBar;
    meter->setRange(0, VoiceTestModel::kMeterMaximum);
    meter->setTextVisible(false);
    meter->setAccessibleName(name);
    return meter;
}

}

CVoiceTestDialog::CVoiceTestDialog(VoiceTestModel& model, QWidget* parent)
        : SkinnedDialog(phoneBodyImage(kPanelSize, QColor(176, 206, 230), QColor(191, 239, 255)),
                        parent),
          model_(model)
{
    setWindowTitle(QStringLiteral("Voice Test"));
    buildControls();
    connect(&model_, &VoiceTestModel::changed, this, &CVoiceTestDialog::refresh);
    connect(&model_, &VoiceTestModel::problem, this,
            [this](const SoundProblem& problem) { showMessage(this, soundProblemText(problem)); });
    refresh();
}

void CVoiceTestDialog::buildControls()
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(26, 44, 26, 26);

    recordButton_ = new QToolButton;
    playButton_ = new QToolButton;
    closeButton_ = new QToolButton;
    setButtonFace(closeButton_, style()->standardIcon(QStyle::SP_TitleBarCloseButton),
                  QStringLiteral("Close"));
    recordClock_ = makeClock(QStringLiteral("Recording time"));
    playClock_ = makeClock(QStringLiteral("Playing time"));
    inputMeter_ = makeMeter(QStringLiteral("Input level"));
    outputMeter_ = makeMeter(QStringLiteral("Output level"));
    microphoneSlider_ = makeSlider(VolumeSlider::Microphone);
    speakerSlider_ = makeSlider(VolumeSlider::Speaker);

    auto* title = new QLabel(QStringLiteral("Voice Test"));
    title->setFont(QFont(QStringLiteral("Arial Black"), 12));
    grid->addWidget(title, 0, 0, 1, 2);
    grid->addWidget(closeButton_, 0, 2, Qt::AlignRight);
    grid->addWidget(recordButton_, 1, 0);
    grid->addWidget(recordClock_, 1, 1);
    grid->addWidget(inputMeter_, 1, 2);
    grid->addWidget(playButton_, 2, 0);
    grid->addWidget(playClock_, 2, 1);
    grid->addWidget(outputMeter_, 2, 2);
    grid->addWidget(new QLabel(QStringLiteral("Mic")), 3, 0);
    grid->addWidget(microphoneSlider_, 3, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Speaker")), 4, 0);
    grid->addWidget(speakerSlider_, 4, 1, 1, 2);

    connect(recordButton_, &QToolButton::clicked, &model_, &VoiceTestModel::pressRecord);
    connect(playButton_, &QToolButton::clicked, &model_, &VoiceTestModel::pressPlay);
    connect(closeButton_, &QToolButton::clicked, this, &QWidget::hide);
}

QSlider* CVoiceTestDialog::makeSlider(VolumeSlider kind)
{
    auto* slider = new QSlider(Qt::Horizontal);
    slider->setRange(0, VoiceTestModel::kSliderMaximum);
    slider->setPageStep(VoiceTestModel::kSliderMaximum / 10);
    slider->setAccessibleName(kind == VolumeSlider::Microphone ? QStringLiteral("Mic")
                                                               : QStringLiteral("Speaker"));
    // Keyboard, mouse and screen readers all end in valueChanged; moves made
    // by refresh() are the model's own and go nowhere.
    connect(slider, &QSlider::valueChanged, this, [this, kind](int value) {
        if (!refreshing_) {
            model_.moveSlider(kind, value);
        }
    });
    return slider;
}

void CVoiceTestDialog::refresh()
{
    refreshing_ = true;
    const bool recording = model_.isRecording();
    const bool playing = model_.isPlaying();
    setButtonFace(recordButton_,
                  recording ? style()->standardIcon(QStyle::SP_MediaStop) : recordIcon(),
                  recording ? QStringLiteral("Stop recording") : QStringLiteral("Record"));
    setButtonFace(playButton_,
                  style()->standardIcon(playing ? QStyle::SP_MediaStop : QStyle::SP_MediaPlay),
                  playing ? QStringLiteral("Stop playing") : QStringLiteral("Play"));
    recordButton_->setVisible(model_.recordButtonVisible());
    playButton_->setVisible(model_.playButtonVisible());
    recordClock_->setText(formatElapsed(model_.recordClock()));
    playClock_->setText(formatElapsed(model_.playClock()));
    inputMeter_->setValue(model_.inputMeter());
    outputMeter_->setValue(model_.outputMeter());
    microphoneSlider_->setValue(model_.sliderPosition(VolumeSlider::Microphone));
    speakerSlider_->setValue(model_.sliderPosition(VolumeSlider::Speaker));
    refreshing_ = false;
}

void CVoiceTestDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();  // the panel is closed with its own button
        return;
    }
    SkinnedDialog::keyPressEvent(event);
}

void CVoiceTestDialog::showEvent(QShowEvent* event)
{
    SkinnedDialog::showEvent(event);
    if (placed_) {
        return;
    }
    placed_ = true;
    // The screen's centre, 150 pixels to the right.
    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center() + QPoint(150, 0));
        move(frame.topLeft());
    }
}

void CVoiceTestDialog::hideEvent(QHideEvent* event)
{
    model_.panelHidden();
    SkinnedDialog::hideEvent(event);
}

}
