#include "platform/AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace orvanta::platform {

namespace {

// mkostemp replaces the six X with letters and digits.
constexpr std::string_view kTemporarySuffix = ".XXXXXX";

bool isTemporarySuffix(std::string_view suffix)
{
    return suffix.size() == kTemporarySuffix.size() && suffix.front() == '.' &&
           std::all_of(suffix.begin() + 1, suffix.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
           });
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

void syncFolder(const std::filesystem::path& folder)
{
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

}

bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         const std::function<void()>& beforeReplace)
{
    std::string temporary = path.string() + std::string(kTemporarySuffix);
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    // mkostemp creates the file with mode 0600.
    const bool ok = writeAll(fd, bytes) && fsync(fd) == 0;
    const bool closed = close(fd) == 0;
    if (ok && closed && beforeReplace) {
        beforeReplace();
    }
    if (!closed || !ok || rename(temporary.c_str(), path.c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
    }
    syncFolder(path.parent_path());
    return true;
}

int removeStaleTemporaryFiles(const std::filesystem::path& folder,
                              const std::function<bool(const std::string& fileName)>& isOurs)
{
    int removed = 0;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (name.size() <= kTemporarySuffix.size() ||
            !isTemporarySuffix(
                std::string_view(name).substr(name.size() - kTemporarySuffix.size())) ||
            !isOurs(name.substr(0, name.size() - kTemporarySuffix.size()))) {
            continue;
        }
        std::error_code ignored;
        if (entry->symlink_status(ignored).type() == std::filesystem::file_type::regular &&
            std::filesystem::remove(entry->path(), ignored)) {
            ++removed;
        }
    }
    return removed;
}

}
