#pragma once

#include "platform/SoundDevices.h"

#include <deque>
#include <mutex>
#include <vector>

namespace orvanta::test {

// Sound devices driven by the test: capture buffers fill when the test
// says, played buffers are kept (and handed back when the test says, or at
// once).
class FakeSoundDevices : public platform::SoundDevices {
public:
    using Bytes = std::vector<char>;

    // Knobs, set before use.
    int captureOpenFailures = 0;  // so many capture opens fail first
    bool playbackOpenFails = false;
    bool holdPlayed = false;  // played buffers stay until releasePlayed()
    void setHoldPlayed(bool hold)
    {
        std::lock_guard lock(mutex_);
        holdPlayed = hold;
    }

    platform::SoundOpenResult<platform::CaptureDevice>
    openCapture(const std::string& device, int samplesPerSecond,
                platform::WaveBufferReturn filled) override;
    platform::SoundOpenResult<platform::PlaybackDevice>
    openPlayback(const std::string& device, int samplesPerSecond,
                 platform::WaveBufferReturn played) override;

    // The capture device's next queued buffers, filled with the byte value.
    void deliverFull(int count, char value);
    // Part of the front buffer, which stays queued.
    void deliverPartial(std::size_t bytes, char value);
    // Held played buffers go back, oldest first.
    void releasePlayed(int count);

    struct Seen {
        int captureOpens = 0;
        int playbackOpens = 0;
        std::vector<std::string> captureDevices;
        std::vector<std::string> playbackDevices;
        std::size_t captureQueued = 0;  // buffers the open capture device holds
        bool capturing = false;
        bool playbackOpen = false;
        int playbackResets = 0;
        std::vector<Bytes> played;  // in the order written
        std::size_t playedHeld = 0;
    };
    Seen seen() const;

private:
    class Capture;
    class Playback;

    mutable std::mutex mutex_;
    Seen seen_;
    Capture* capture_ = nullptr;
    Playback* playback_ = nullptr;
};

}
