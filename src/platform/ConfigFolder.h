#pragma once

#include <filesystem>
#include <vector>

namespace orvanta::platform {

// The user's folder of settings files that are not record files:
// $XDG_CONFIG_HOME/orvanta, else ~/.config/orvanta.
std::filesystem::path userConfigFolder();

// The machine's folders of such files, most important first: orvanta in
// each folder of $XDG_CONFIG_DIRS, else /etc/xdg/orvanta.
std::vector<std::filesystem::path> systemConfigFolders();

}
