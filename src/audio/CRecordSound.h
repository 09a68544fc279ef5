#pragma once

#include "audio/MessageLoop.h"
#include "audio/SoundLevels.h"
#include "audio/SoundMessages.h"

#include <memory>

namespace orvanta {

// The capture thread: records 16-bit mono at a fixed rate from the input
// device (the default one unless told otherwise) in 125 ms buffers, 25 of
// them queued. Each full buffer goes on to the player, played at once, and
// a copy to the writer.
class CRecordSound {
public:
    static constexpr int kBufferCount = 25;

    CRecordSound(platform::SoundDevices& devices, SoundLevels& levels, int samplesPerSecond);
    ~CRecordSound();
    CRecordSound(const CRecordSound&) = delete;
    CRecordSound& operator=(const CRecordSound&) = delete;

    void post(RecordMessage message) { loop_.post(std::move(message)); }
    bool waitUntilIdle(std::chrono::milliseconds limit) { return loop_.waitUntilIdle(limit); }

    const platform::WavFormat& format() const { return format_; }
    // Block alignment × 1000: 2000 bytes, 125 ms at 8000 Hz.
    std::size_t bufferBytes() const { return format_.blockAlign * std::size_t{1000}; }

private:
    bool handle(RecordMessage& message);
    void start();
    void stop();
    void captured(platform::WaveBufferPtr buffer);
    void queueFreshBuffer();

    platform::SoundDevices& devices_;
    SoundLevels& levels_;
    const platform::WavFormat format_;
    std::string device_;
    CPlaySound* player_ = nullptr;
    CWriteSoundFile* writer_ = nullptr;
    std::unique_ptr<platform::CaptureDevice> input_;  // open while capturing
    bool capturing_ = false;
    MessageLoop<RecordMessage> loop_;
};

}
