#pragma once

#include <atomic>
#include <span>

namespace orvanta {

// The latest levels of both directions, written by the audio threads and
// read by the meters' timers.
struct SoundLevels {
    std::atomic<int> input{0};
    std::atomic<int> output{0};
};

inline constexpr int kFullScaleLevel = 32768;

// The loudest sample of a block of 16-bit little-endian PCM, 0..32768.
int peakLevel(std::span<const char> pcm);

}
