#pragma once

#include "platform/SoundDevices.h"

namespace orvanta::platform {

class PulseConnection;

// Capture and playback streams of 16-bit mono PCM on a PulseAudio
// connection. When a device goes away the server moves its streams to the
// default device; when the server goes, a playback stream hands back what
// it holds and later buffers at once, and a capture stream falls silent.
class PulseSoundDevices : public SoundDevices {
public:
    explicit PulseSoundDevices(PulseConnection& connection) : connection_(connection) {}

    SoundOpenResult<CaptureDevice> openCapture(const std::string& device, int samplesPerSecond,
                                               WaveBufferReturn filled) override;
    SoundOpenResult<PlaybackDevice> openPlayback(const std::string& device, int samplesPerSecond,
                                                 WaveBufferReturn played) override;

private:
    PulseConnection& connection_;
};

}
