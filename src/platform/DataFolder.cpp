#include "platform/DataFolder.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <sys/stat.h>

namespace orvanta::platform {

namespace {

constexpr std::string_view kRecordFileEnding = "_Orvanta.bin";

std::filesystem::path environmentPath(const char* name)
{
    const char* value = std::getenv(name);
    return (value && *value) ? std::filesystem::path(value) : std::filesystem::path();
}

bool isDirectory(const std::filesystem::path& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// mkdir -p; returns 0 or the errno of the step that failed.
int makeDirectories(const std::filesystem::path& path)
{
    if (isDirectory(path)) {
        return 0;
    }
    const std::filesystem::path parent = path.parent_path();
    if (!parent.empty() && parent != path) {
        if (int error = makeDirectories(parent)) {
            return error;
        }
    }
    if (mkdir(path.c_str(), 0700) == 0 || (errno == EEXIST && isDirectory(path))) {
        return 0;
    }
    return errno == EEXIST ? ENOTDIR : errno;
}

}

std::filesystem::path dataFolderPath()
{
    if (auto explicitFolder = environmentPath("ORVANTA_DATA_DIR"); !explicitFolder.empty()) {
        return explicitFolder;
    }
    if (auto dataHome = environmentPath("XDG_DATA_HOME"); !dataHome.empty()) {
        return dataHome / "Orvanta";
    }
    return environmentPath("HOME") / ".local" / "share" / "Orvanta";
}

bool prepareDataFolder()
{
    if (int error = makeDirectories(dataFolderPath())) {
        std::printf("CreateDirectory failed (%d)\n", error);
        std::fflush(stdout);
        return false;
    }
    return true;
}

std::filesystem::path recordFilePath(const char* kind)
{
    return dataFolderPath() / (std::string(kind) + std::string(kRecordFileEnding));
}

bool isRecordFileName(const std::string& fileName)
{
    return fileName.size() > kRecordFileEnding.size() && fileName.ends_with(kRecordFileEnding);
}

}
