#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace orvanta::platform {

// Plays WAV files through PulseAudio on a worker thread of its own. Calls
// return at once; a new sound replaces the one playing. Without a reachable
// sound server, or with an unreadable file, it stays silent.
class SoundPlayer {
public:
    SoundPlayer();
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // device: the output to play on; empty, or one that is not there, means
    // the default one.
    void play(const std::filesystem::path& wav, bool loop = false, const std::string& device = {});
    void stop();
    // A sound is being handed to the server.
    bool isPlaying() const;

private:
    struct Request {
        std::filesystem::path file;
        bool loop = false;
        std::string device;
    };

    void run();
    void playOne(const Request& request, std::uint64_t generation);
    // Sleeps until deadline; false when a newer request or the end came first.
    bool waitUntil(std::chrono::steady_clock::time_point deadline, std::uint64_t generation);

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<Request> pending_;
    std::uint64_t generation_ = 0;  // counts play and stop requests
    bool playing_ = false;
    bool quit_ = false;
    std::thread worker_;
};

}
