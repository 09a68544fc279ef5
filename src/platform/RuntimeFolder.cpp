#include "platform/RuntimeFolder.h"

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace orvanta::platform {

std::filesystem::path runtimeFolder()
{
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
        return runtime;
    }
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("orvanta-" + std::to_string(getuid()));
    mkdir(folder.c_str(), 0700);
    return folder;
}

}
