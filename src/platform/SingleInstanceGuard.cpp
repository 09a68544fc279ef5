#include "platform/SingleInstanceGuard.h"

#include "platform/RuntimeFolder.h"

#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

namespace orvanta::platform {

SingleInstanceGuard::SingleInstanceGuard(const std::string& name)
{
    const std::filesystem::path path = runtimeFolder() / (name + ".lock");
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
