#pragma once

#include "audio/FreeSlots.h"
#include "audio/MessageLoop.h"
#include "audio/SoundLevels.h"
#include "audio/SoundMessages.h"
#include "audio/SoundProblem.h"

#include <memory>

namespace orvanta {

// The playback thread: plays the buffers posted to it on the output device
// (the default one unless told otherwise), 16-bit mono at a fixed rate.
// Its free slots pace file playback: the file player takes one per buffer
// and every buffer done with gives one back.
class CPlaySound {
public:
    static constexpr int kFreeSlots = 3;

    CPlaySound(platform::SoundDevices& devices, SoundLevels& levels, int samplesPerSecond,
               SoundProblemReport problems);
    ~CPlaySound();
    CPlaySound(const CPlaySound&) = delete;
    CPlaySound& operator=(const CPlaySound&) = delete;

    void post(PlayMessage message) { loop_.post(std::move(message)); }
    bool waitUntilIdle(std::chrono::milliseconds limit) { return loop_.waitUntilIdle(limit); }
    FreeSlots& freeSlots() { return freeSlots_; }

private:
    bool handle(PlayMessage& message);
    void start();
    void stop();
    void play(platform::WaveBufferPtr buffer);
    void done(platform::WaveBufferPtr buffer);

    platform::SoundDevices& devices_;
    SoundLevels& levels_;
    const int samplesPerSecond_;
    const SoundProblemReport problems_;
    FreeSlots freeSlots_{kFreeSlots};
    std::string device_;
    std::unique_ptr<platform::PlaybackDevice> output_;  // open while playing
    MessageLoop<PlayMessage> loop_;
};

}
