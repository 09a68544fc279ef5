#pragma once

#include "audio/MessageLoop.h"
#include "audio/SoundMessages.h"
#include "platform/Wav.h"

#include <filesystem>

namespace orvanta {

// The WAV writer thread: builds the recording file from the buffers the
// capture thread copies to it. The file is always the one it was made
// with, whatever a request names; every recording replaces it.
class CWriteSoundFile {
public:
    explicit CWriteSoundFile(std::filesystem::path file);
    ~CWriteSoundFile();
    CWriteSoundFile(const CWriteSoundFile&) = delete;
    CWriteSoundFile& operator=(const CWriteSoundFile&) = delete;

    void post(WriteMessage message) { loop_.post(std::move(message)); }
    bool waitUntilIdle(std::chrono::milliseconds limit) { return loop_.waitUntilIdle(limit); }

private:
    bool handle(WriteMessage& message);

    const std::filesystem::path file_;
    platform::WavWriter writer_;
    MessageLoop<WriteMessage> loop_;
};

}
