#include "audio/SoundLevels.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace orvanta {

int peakLevel(std::span<const char> pcm)
{
    int peak = 0;
    for (std::size_t i = 0; i + 1 < pcm.size(); i += 2) {
        const auto sample = static_cast<std::int16_t>(
            static_cast<unsigned char>(pcm[i]) | (static_cast<unsigned char>(pcm[i + 1]) << 8));
        peak = std::max(peak, std::abs(static_cast<int>(sample)));
    }
    return peak;
}

}
