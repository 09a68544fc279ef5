#include "platform/SingleInstanceGuard.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvanta::platform {

namespace {

std::filesystem::path lockFolder()
{
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
        return runtime;
    }
    // No session runtime folder: a private folder per user below /tmp.
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("orvanta-" + std::to_string(getuid()));
    mkdir(folder.c_str(), 0700);
    return folder;
}

}

SingleInstanceGuard::SingleInstanceGuard(const std::string& name)
{
    const std::filesystem::path path = lockFolder() / (name + ".lock");
    fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        return;
    }
    if (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        close(fd_);
        fd_ = -1;
    }
}

SingleInstanceGuard::~SingleInstanceGuard()
{
    if (fd_ >= 0) {
        close(fd_);
    }
}

}
