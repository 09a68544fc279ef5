#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

namespace orvanta::platform {

// Replaces the file's content as one step: writes a temporary file beside
// it, flushes it to disk, then renames it over the old one. A crash at any
// point leaves either the old file or the new one. Returns false when any
// step failed; the old file is then untouched. The new file is readable and
// writable by its owner only: record files may hold credentials.
// beforeReplace runs after the new content is on disk and before the rename
// (tests use it to die at the worst moment).
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         const std::function<void()>& beforeReplace = {});

}
