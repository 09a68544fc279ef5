#include "CodecPriorities.h"

#include <algorithm>
#include <cctype>

namespace orvanta::engine {

namespace {

std::string folded(const std::string& name)
{
    std::string result = name;
    for (auto& c : result)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

}

void CodecPriorities::set(const std::string& name, int priority)
{
    priorities_[folded(name)] = std::clamp(priority, 0, 255);
}

std::optional<int> CodecPriorities::priorityOf(const std::string& name) const
{
    const auto found = priorities_.find(folded(name));
    if (found == priorities_.end())
        return std::nullopt;
    return found->second;
}

std::vector<CodecPriorities::Codec>
CodecPriorities::arrange(const std::vector<Codec>& available) const
{
    struct Ranked {
        Codec codec;
        int rank;
    };
    std::vector<Ranked> ranked;
    ranked.reserve(available.size());
    for (const auto& codec : available) {
        const auto priority = priorityOf(codec.name);
        Ranked entry{codec, -1};
        if (priority) {
            entry.codec.enabled = *priority > 0;
            entry.rank = *priority;
        }
        ranked.push_back(entry);
    }
    // Prioritised codecs first (highest first), then the unlisted ones in
    // their original order, disabled ones last.
    auto key = [](const Ranked& r) {
        return r.rank > 0 ? 1000 - r.rank : (r.rank < 0 ? 2000 : 3000);
    };
    std::stable_sort(ranked.begin(), ranked.end(),
                     [&](const Ranked& a, const Ranked& b) { return key(a) < key(b); });
    std::vector<Codec> result;
    result.reserve(ranked.size());
    for (auto& r : ranked)
        result.push_back(std::move(r.codec));
    return result;
}

}
