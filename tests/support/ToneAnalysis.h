#pragma once

#include <cmath>
#include <cstdint>
#include <numbers>
#include <span>
#include <vector>

namespace orvanta::test {

// Relative power of one frequency in the samples (Goertzel).
template <typename Sample>
double tonePower(std::span<const Sample> samples, int samplesPerSecond, int hz)
{
    const double k = 2 * std::cos(2 * std::numbers::pi * hz / samplesPerSecond);
    double a = 0;
    double b = 0;
    for (Sample s : samples) {
        const double c = static_cast<double>(s) + k * a - b;
        b = a;
        a = c;
    }
    return a * a + b * b - k * a * b;
}

// A sine of the given level (0..1 of full scale).
inline std::vector<std::int16_t> sineWave(int hz, int milliseconds, int samplesPerSecond,
                                          double level)
{
    std::vector<std::int16_t> samples(static_cast<std::size_t>(samplesPerSecond) *
                                      static_cast<std::size_t>(milliseconds) / 1000);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<std::int16_t>(std::lround(
            level * 32767 *
            std::sin(2 * std::numbers::pi * hz * static_cast<double>(i) / samplesPerSecond)));
    }
    return samples;
}

}
