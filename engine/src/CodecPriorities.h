#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orvanta::engine {

// Priorities the application gave to codecs by name ("PCMU/8000/1"). A codec
// with priority 0 is disabled; higher priorities come earlier in the offer;
// codecs without a priority keep their place after the prioritised ones.
class CodecPriorities {
public:
    struct Codec {
        std::string name;
        bool enabled = false;
    };

    // Names are matched without regard to case; a priority outside 0-255 is
    // clamped.
    void set(const std::string& name, int priority);
    std::optional<int> priorityOf(const std::string& name) const;

    // The codecs in offer order with their enabled state decided.
    std::vector<Codec> arrange(const std::vector<Codec>& available) const;

private:
    std::map<std::string, int> priorities_;
};

}
