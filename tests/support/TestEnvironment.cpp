#include "support/TestEnvironment.h"

#include <cstdlib>
#include <stdexcept>
#include <unistd.h>

namespace orvanta::test {

void prepareProcessEnvironment()
{
    for (const char* name : {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "all_proxy",
                             "ALL_PROXY", "no_proxy", "NO_PROXY"}) {
        unsetenv(name);
    }
}

std::filesystem::path binDir()
{
    return ORVANTA_TEST_BIN_DIR;
}

std::filesystem::path sourceDir()
{
    return ORVANTA_TEST_SOURCE_DIR;
}

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "orvanta-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        throw std::runtime_error("mkdtemp failed");
    }
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}
