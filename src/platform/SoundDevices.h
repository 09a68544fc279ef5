#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Capture and playback of 16-bit mono PCM in buffers, the way the audio
// threads use a sound card: buffers are handed to a device and come back
// full (capture) or played (playback).
namespace orvanta::platform {

// A block of PCM bytes. Its owner is whoever holds the pointer; it travels
// with the message that carries it.
struct WaveBuffer {
    explicit WaveBuffer(std::size_t bufferCapacity) : capacity(bufferCapacity)
    {
        data.reserve(bufferCapacity);
    }
    std::size_t capacity;    // bytes it can take while capturing
    std::vector<char> data;  // bytes it holds
};

using WaveBufferPtr = std::unique_ptr<WaveBuffer>;

// Called when a device is done with a buffer: full for capture, handed to
// the sound server for playback. Runs on the sound layer's own thread (or
// on the caller's, inside reset), so it must only post the buffer on.
using WaveBufferReturn = std::function<void(WaveBufferPtr)>;

class CaptureDevice {
public:
    virtual ~CaptureDevice() = default;
    // Queues an empty buffer to be filled.
    virtual void addBuffer(WaveBufferPtr buffer) = 0;
    virtual bool start() = 0;
    // Stops capturing and hands back the buffers still queued, the one being
    // filled first.
    virtual std::vector<WaveBufferPtr> reset() = 0;
};

class PlaybackDevice {
public:
    virtual ~PlaybackDevice() = default;
    // Queues a buffer for playing; it comes back through WaveBufferReturn.
    virtual void write(WaveBufferPtr buffer) = 0;
    // Drops what is queued or not yet heard; queued buffers come back at once.
    virtual void reset() = 0;
};

struct SoundOpenError {
    int code = 0;
    std::string text;
};

template <typename Device>
struct SoundOpenResult {
    std::unique_ptr<Device> device;  // empty on failure
    SoundOpenError error;
};

// Opens devices at the given rate, 16-bit mono. device names a sound server
// device; empty means the system default. Opening waits for the server for
// a bounded time, so it is called from worker threads, never the GUI thread.
class SoundDevices {
public:
    virtual ~SoundDevices() = default;
    virtual SoundOpenResult<CaptureDevice>
    openCapture(const std::string& device, int samplesPerSecond, WaveBufferReturn filled) = 0;
    virtual SoundOpenResult<PlaybackDevice>
    openPlayback(const std::string& device, int samplesPerSecond, WaveBufferReturn played) = 0;
};

}
