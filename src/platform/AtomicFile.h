#pragma once

#include <filesystem>
#include <functional>
#include <string>
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

// A write killed before its rename leaves its temporary file behind:
// "<file name>.XXXXXX" with six letters or digits. Removes those directly in
// folder whose file name (the part before the suffix) isOurs accepts; other
// files, folders and links stay. Call it only while nothing else writes
// there. Returns how many were removed.
int removeStaleTemporaryFiles(const std::filesystem::path& folder,
                              const std::function<bool(const std::string& fileName)>& isOurs);

}
