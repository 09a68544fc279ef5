#pragma once

#include <filesystem>

namespace orvanta::platform {

// The per-user folder for locks and sockets of the running session:
// $XDG_RUNTIME_DIR, else a private folder per user below the system's
// temporary folder.
std::filesystem::path runtimeFolder();

}
