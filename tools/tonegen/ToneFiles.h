#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// The dial pad tones and the ring sound, as 8 kHz 16-bit mono WAV files.
namespace orvanta::tones {

constexpr int kSampleRate = 8000;
constexpr int kToneMs = 200;

struct DtmfTone {
    const char* fileName;
    char key;
    int lowHz;
    int highHz;
};

const std::array<DtmfTone, 12>& dtmfTones();
constexpr const char* kRingFileName = "ring.wav";

// Two sine waves of equal level, with short ramps so the tone does not click.
std::vector<std::int16_t> dualTone(int lowHz, int highHz, int milliseconds);
// One ring cycle: a burst of two ringing bursts, then silence; played in a loop.
std::vector<std::int16_t> ringCycle();

// Writes the twelve tone files and the ring file into folder.
bool writeAll(const std::filesystem::path& folder, std::string& error);

}
