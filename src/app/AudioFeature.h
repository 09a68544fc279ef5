#pragma once

#include "audio/AudioDeviceChoice.h"
#include "audio/AudioPageModel.h"
#include "audio/MainWindowSliders.h"
#include "audio/PulseVolume.h"
#include "audio/SoundCardCheck.h"
#include "audio/VoiceTestModel.h"
#include "audio/VoiceTestThreads.h"
#include "platform/SoundServer.h"
#include "telephony/CallPorts.h"

namespace orvanta {

// The dialer's sound: the sound server, the user's choice of devices, the
// main window's volume controls and sliders, the voice test's threads,
// controls and model, the "Audio" page's model and the sound-card check.
// Declared in the order they depend on each other: the server goes last,
// after everything opened through it.
class AudioFeature : public MicrophoneProbe {
public:
    AudioFeature();
    AudioFeature(const AudioFeature&) = delete;
    AudioFeature& operator=(const AudioFeature&) = delete;

    platform::SoundServer& server() { return sound_; }
    AudioDeviceChoice& devices() { return devices_; }
    IVolume& mainMicrophone() { return mainMicrophone_; }
    IVolume& mainSpeaker() { return mainSpeaker_; }
    MainWindowSliders& sliders() { return sliders_; }
    VoiceTestThreads& voiceTestThreads() { return threads_; }
    VoiceTestModel& voiceTest() { return voiceTest_; }
    AudioPageModel& audioPage() { return audioPage_; }
    SoundCardCheck& soundCardCheck() { return soundCardCheck_; }

    // MicrophoneProbe: the main window's microphone control is there.
    bool microphoneAvailable() override { return mainMicrophone_.IsAvailable(); }

    // The main window opened: the device choice is read and the sound card
    // checked.
    void start();
    // The voice test's speaker and microphone switched on; its panel does
    // this when it first opens.
    void enableVoiceTestLines();

private:
    platform::SoundServer sound_;
    AudioDeviceChoice devices_{sound_};
    CVolumeOutWave mainSpeaker_{sound_};
    CVolumeInXXX mainMicrophone_{sound_};
    VoiceTestThreads threads_{sound_.devices(), VoiceTestThreads::defaultSoundFile()};
    // Made after the main window's controls: the newest hear the mixer.
    CVolumeOutWave testSpeaker_{sound_};
    CVolumeInXXX testMicrophone_{sound_};
    VoiceTestModel voiceTest_{threads_, testSpeaker_, testMicrophone_};
    MainWindowSliders sliders_{mainMicrophone_, mainSpeaker_, voiceTest_};
    AudioPageModel audioPage_{devices_};
    SoundCardCheck soundCardCheck_{sound_};
};

}
