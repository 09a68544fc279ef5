#pragma once

#include "audio/MessageLoop.h"
#include "audio/SoundMessages.h"
#include "audio/SoundProblem.h"

#include <atomic>
#include <filesystem>
#include <thread>

namespace orvanta {

// The WAV file player thread: reads the recording back in blocks of 200 ms
// (for the voice test's format) on a reading loop of its own and feeds them
// to the playback thread, one block per free slot, so at most three are in
// flight. The file's format only sizes the blocks: the playback thread
// plays everything in its own fixed format.
class CPlayMMSound {
public:
    // Blocks stay bounded whatever a file's format record claims.
    static constexpr std::size_t kMaxBlockBytes = 64 * 1024;

    CPlayMMSound(std::filesystem::path file, SoundProblemReport problems);
    ~CPlayMMSound();
    CPlayMMSound(const CPlayMMSound&) = delete;
    CPlayMMSound& operator=(const CPlayMMSound&) = delete;

    void post(FilePlayMessage message) { loop_.post(std::move(message)); }
    bool waitUntilIdle(std::chrono::milliseconds limit) { return loop_.waitUntilIdle(limit); }
    // The reading loop is still handing blocks on.
    bool isReading() const { return reading_; }

    // channels × bits per sample × block alignment × 100, at most the data
    // there is and kMaxBlockBytes.
    static std::size_t blockBytes(const platform::WavFormat& format, std::uint64_t dataBytes);

private:
    bool handle(FilePlayMessage& message);
    void play();
    void stop();
    void report(SoundProblemKind kind) const;

    const std::filesystem::path file_;
    const SoundProblemReport problems_;
    CPlaySound* player_ = nullptr;
    std::atomic<bool> reading_{false};
    // Owns the open file while it runs; joined before anything else
    // touches the file again.
    std::jthread reader_;
    MessageLoop<FilePlayMessage> loop_;
};

}
