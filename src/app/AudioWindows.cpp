#include "app/AudioWindows.h"

#include "app/AudioFeature.h"
#include "app/WindowCoordinator.h"
#include "audio/AudioTexts.h"
#include "audio/CAudioPage.h"
#include "audio/CVoiceTestDialog.h"
#include "controls/MessageBox.h"
#include "mainwnd/CZebSoftPhoneDlg.h"

#include <QSignalBlocker>
#include <QSlider>

namespace orvanta {

namespace {

std::unique_ptr<QWidget> makeVoiceTestPanel(AudioFeature& audio)
{
    audio.enableVoiceTestLines();
    return std::make_unique<CVoiceTestDialog>(audio.voiceTest());
}

std::unique_ptr<QWidget> makeAudioPage(AudioFeature& audio)
{
    auto page = std::make_unique<CAudioPage>(audio.audioPage());
    page->setWindowTitle(QStringLiteral("Audio"));
    QObject::connect(page.get(), &CAudioPage::finished, page.get(), &QWidget::hide);
    return page;
}

void bindSlider(QSlider& slider, VolumeSlider kind, MainWindowSliders& sliders)
{
    auto show = [&slider, &sliders, kind] {
        const QSignalBlocker quiet(slider);
        slider.setValue(sliders.position(kind));
    };
    show();
    QObject::connect(&sliders, &MainWindowSliders::changed, &slider, show);
    QObject::connect(&slider, &QSlider::valueChanged, &sliders,
                     [&sliders, kind](int position) { sliders.moveSlider(kind, position); });
}

}

void addAudioCommands(CommandTable& commands, WindowCoordinator& windows, AudioFeature& audio)
{
    // The panel hides with the main window, like the side windows.
    windows.add(
        WindowId::VoiceTest, [&audio] { return makeVoiceTestPanel(audio); }, true);
    windows.add(WindowId::Audio, [&audio] { return makeAudioPage(audio); });
    commands.add({CommandId::VoiceTest, QStringLiteral("Voice Test"), kIdleLine,
                  [&windows] { windows.show(WindowId::VoiceTest); }});
    commands.add({CommandId::Audio, QStringLiteral("Audio"), kNoPrecondition,
                  [&windows] { windows.show(WindowId::Audio); }});
}

void bindAudioControls(CZebSoftPhoneDlg& window, AudioFeature& audio)
{
    MainWindowFace& face = window.face();
    MainWindowModel& model = window.model();
    bindSlider(*face.microphoneSlider(), VolumeSlider::Microphone, audio.sliders());
    bindSlider(*face.speakerSlider(), VolumeSlider::Speaker, audio.sliders());
    QObject::connect(&face, &MainWindowFace::voiceTestPressed, &model,
                     [&model] { model.run(CommandId::VoiceTest); });

    QObject::connect(&model, &MainWindowModel::opened, &window, [&audio] { audio.start(); });
    // The window opens regardless.
    QObject::connect(&audio.soundCardCheck(), &SoundCardCheck::checked, &window,
                     [&window](bool detected) {
                         if (!detected) {
                             showMessage(&window, QString::fromLatin1(kSoundCardMissing));
                         }
                     });
    QObject::connect(
        &audio.devices(), &AudioDeviceChoice::notice, &window,
        [&face](const AudioDeviceNotice& notice) { face.setBanner(audioNoticeText(notice)); });
}

}
