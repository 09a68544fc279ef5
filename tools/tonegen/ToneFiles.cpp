#include "ToneFiles.h"

#include "platform/Wav.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <numbers>

namespace orvanta::tones {

const std::array<DtmfTone, 12>& dtmfTones()
{
    static const std::array<DtmfTone, 12> tones{{
        {"Dtmf-1.wav", '1', 697, 1209},
        {"Dtmf-2.wav", '2', 697, 1336},
        {"Dtmf-3.wav", '3', 697, 1477},
        {"Dtmf-4.wav", '4', 770, 1209},
        {"Dtmf-5.wav", '5', 770, 1336},
        {"Dtmf-6.wav", '6', 770, 1477},
        {"Dtmf-7.wav", '7', 852, 1209},
        {"Dtmf-8.wav", '8', 852, 1336},
        {"Dtmf-9.wav", '9', 852, 1477},
        {"Dtmf-star.wav", '*', 941, 1209},
        {"Dtmf-0.wav", '0', 941, 1336},
        {"Dtmf-pound.wav", '#', 941, 1477},
    }};
    return tones;
}

std::vector<std::int16_t> dualTone(int lowHz, int highHz, int milliseconds)
{
    const int count = kSampleRate * milliseconds / 1000;
    const int ramp = kSampleRate * 5 / 1000;   // 5 ms
    constexpr double kLevel = 0.35 * 32767.0;  // each tone; the sum stays below full scale
    std::vector<std::int16_t> samples(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double envelope = std::min(
            {1.0, static_cast<double>(i) / ramp, static_cast<double>(count - 1 - i) / ramp});
        const double value = std::sin(2 * std::numbers::pi * lowHz * t) +
                             std::sin(2 * std::numbers::pi * highHz * t);
        samples[static_cast<std::size_t>(i)] =
            static_cast<std::int16_t>(std::lround(kLevel * envelope * value));
    }
    return samples;
}

std::vector<std::int16_t> ringCycle()
{
    // Two 400 ms bursts of 400 + 450 Hz, 200 ms apart, then 2 s of silence.
    std::vector<std::int16_t> cycle = dualTone(400, 450, 400);
    cycle.resize(cycle.size() + kSampleRate / 5, 0);
    const std::vector<std::int16_t> burst = dualTone(400, 450, 400);
    cycle.insert(cycle.end(), burst.begin(), burst.end());
    cycle.resize(cycle.size() + 2 * kSampleRate, 0);
    return cycle;
}

namespace {

bool writeFile(const std::filesystem::path& path, const std::vector<std::int16_t>& samples,
               std::string& error)
{
    const std::vector<char> bytes =
        platform::encodeWav(platform::pcmFormat(kSampleRate, 1, 16), samples);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        error = "cannot write " + path.string();
        return false;
    }
    return true;
}

}

bool writeAll(const std::filesystem::path& folder, std::string& error)
{
    for (const DtmfTone& tone : dtmfTones()) {
        if (!writeFile(folder / tone.fileName, dualTone(tone.lowHz, tone.highHz, kToneMs), error)) {
            return false;
        }
    }
    return writeFile(folder / kRingFileName, ringCycle(), error);
}

}
