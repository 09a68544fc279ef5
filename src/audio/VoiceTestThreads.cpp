#include "audio/VoiceTestThreads.h"

#include "platform/DataFolder.h"

namespace orvanta {

std::filesystem::path VoiceTestThreads::defaultSoundFile()
{
    return platform::dataFolderPath() / kSoundFileName;
}

VoiceTestThreads::VoiceTestThreads(platform::SoundDevices& devices, std::filesystem::path soundFile,
                                   QObject* parent)
        : QObject(parent), soundFile_(std::move(soundFile)),
          playback_(devices, levels_, kSamplesPerSecond,
                    [this](const SoundProblem& p) { emit problem(p); }),
          writer_(soundFile_), capture_(devices, levels_, kSamplesPerSecond),
          filePlayer_(soundFile_, [this](const SoundProblem& p) { emit problem(p); })
{
    capture_.post(RecSetPlayer{&playback_});
    capture_.post(RecSetWriter{&writer_});
}

VoiceTestThreads::~VoiceTestThreads() = default;

void VoiceTestThreads::useDevices(const std::string& input, const std::string& output)
{
    capture_.post(RecSetDevice{input});
    playback_.post(PlaySetDevice{output});
}

}
