#pragma once

#include "platform/SoundDevices.h"

#include <functional>

namespace orvanta {

// What the audio threads report to the user.
enum class SoundProblemKind {
    OutputNotOpened,  // with the server's error code and text
    FileNotOpened,
    FileNotWave,           // no RIFF chunk of form "WAVE"
    FileWithoutFormat,     // no "fmt " chunk
    FileFormatUnreadable,  // the format record cannot be read
    FileFormatCut,         // the "fmt " chunk runs past the end
    FileWithoutData,       // no "data" chunk
    FileUnreadable,        // a read failed while playing
};

struct SoundProblem {
    SoundProblemKind kind = SoundProblemKind::OutputNotOpened;
    platform::SoundOpenError error;  // OutputNotOpened only
};

// Called on the thread that met the problem.
using SoundProblemReport = std::function<void(const SoundProblem&)>;

}
