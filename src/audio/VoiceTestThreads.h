#pragma once

#include "audio/CPlayMMSound.h"
#include "audio/CPlaySound.h"
#include "audio/CRecordSound.h"
#include "audio/CWriteSoundFile.h"
#include "audio/SoundLevels.h"
#include "audio/SoundProblem.h"

#include <QObject>
#include <filesystem>

namespace orvanta {

// The voice test's four audio threads, wired together: captured buffers go
// to the playback thread (heard at once) and copies to the writer.
class VoiceTestThreads : public QObject {
    Q_OBJECT

public:
    static constexpr int kSamplesPerSecond = 8000;
    static constexpr const char* kSoundFileName = "sound.wav";

    // The recording's place: kSoundFileName in the data folder.
    static std::filesystem::path defaultSoundFile();

    // soundFile: where the recording goes, normally defaultSoundFile().
    VoiceTestThreads(platform::SoundDevices& devices, std::filesystem::path soundFile,
                     QObject* parent = nullptr);
    ~VoiceTestThreads() override;

    CRecordSound& capture() { return capture_; }
    CPlaySound& playback() { return playback_; }
    CWriteSoundFile& writer() { return writer_; }
    CPlayMMSound& filePlayer() { return filePlayer_; }
    const SoundLevels& levels() const { return levels_; }
    const std::filesystem::path& soundFile() const { return soundFile_; }

    // Devices for the next start of each direction; empty means the default.
    void useDevices(const std::string& input, const std::string& output);

signals:
    // From the audio threads, for the user.
    void problem(const orvanta::SoundProblem& problem);

private:
    const std::filesystem::path soundFile_;
    SoundLevels levels_;
    // Destroyed in reverse: the file player and the capture thread still
    // post to the playback thread and the writer while they stop.
    CPlaySound playback_;
    CWriteSoundFile writer_;
    CRecordSound capture_;
    CPlayMMSound filePlayer_;
};

}
