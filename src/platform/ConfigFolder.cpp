#include "platform/ConfigFolder.h"

#include <cstdlib>
#include <string>
#include <string_view>

namespace orvanta::platform {

namespace {

// Relative entries are invalid in the XDG variables and are ignored.
bool usable(std::string_view path)
{
    return !path.empty() && path.front() == '/';
}

}

std::filesystem::path userConfigFolder()
{
    if (const char* home = std::getenv("XDG_CONFIG_HOME"); home && usable(home)) {
        return std::filesystem::path(home) / "orvanta";
    }
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home ? home : "") / ".config" / "orvanta";
}

std::vector<std::filesystem::path> systemConfigFolders()
{
    std::vector<std::filesystem::path> folders;
    const char* dirs = std::getenv("XDG_CONFIG_DIRS");
    std::string_view rest = dirs ? dirs : "";
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const std::string_view entry = rest.substr(0, colon);
        if (usable(entry)) {
            folders.push_back(std::filesystem::path(entry) / "orvanta");
        }
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    if (folders.empty()) {
        folders.push_back("/etc/xdg/orvanta");
    }
    return folders;
}

}
