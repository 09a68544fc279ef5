#pragma once

#include "platform/SoundDevices.h"
#include "platform/Wav.h"

#include <string>
#include <variant>
#include <vector>

// The messages the four audio threads exchange. Buffers travel inside the
// message; whoever receives one last frees it (by dropping the pointer).
namespace orvanta {

class CPlaySound;
class CWriteSoundFile;

// Capture thread (CRecordSound).
struct RecStart {};
struct RecStop {};
struct RecSetPlayer {
    CPlaySound* player = nullptr;
};
// Also ends the writer thread.
struct RecQuit {};
struct RecSetWriter {
    CWriteSoundFile* writer = nullptr;
};
// The input device for the next start; empty means the default one.
struct RecSetDevice {
    std::string device;
};
// From the device: a full buffer.
struct WimData {
    platform::WaveBufferPtr buffer;
};
using RecordMessage =
    std::variant<RecStart, RecStop, RecSetPlayer, RecQuit, RecSetWriter, RecSetDevice, WimData>;

// Playback thread (CPlaySound).
struct PlayStart {};
struct PlayStop {};
struct PlayBuffer {
    platform::WaveBufferPtr buffer;
};
struct PlayQuit {};
// The output device for the next start; empty means the default one.
struct PlaySetDevice {
    std::string device;
};
// From the device: a buffer it is done with.
struct WomDone {
    platform::WaveBufferPtr buffer;
};
using PlayMessage = std::variant<PlayStart, PlayStop, PlayBuffer, PlayQuit, PlaySetDevice, WomDone>;

// WAV writer thread (CWriteSoundFile).
struct WriteOpen {
    platform::WavFormat format;
    std::vector<char> extra;  // the format's extra bytes
};
struct WriteData {
    platform::WaveBufferPtr buffer;
};
struct WriteClose {};
using WriteMessage = std::variant<WriteOpen, WriteData, WriteClose, RecQuit>;

// WAV file player thread (CPlayMMSound).
struct FilePlay {};
struct FileStop {};
struct FileSetPlayer {
    CPlaySound* player = nullptr;
};
struct FileQuit {};
using FilePlayMessage = std::variant<FilePlay, FileStop, FileSetPlayer, FileQuit>;

}
