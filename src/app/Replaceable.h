#pragma once

#include <memory>
#include <utility>

namespace orvanta {

// The replacement a test gave, else the real part made from args.
template <typename Part, typename... Args>
std::unique_ptr<Part> orReal(std::unique_ptr<Part> replacement, Args&&... args)
{
    return replacement ? std::move(replacement)
                       : std::make_unique<Part>(std::forward<Args>(args)...);
}

}
