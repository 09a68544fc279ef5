#include "support/TestEnvironment.h"

#include <cstdlib>

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

}
