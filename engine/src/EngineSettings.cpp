#include "EngineSettings.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

namespace orvanta::engine {

namespace {

const char* variable(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

}

EngineSettings EngineSettings::fromEnvironment()
{
    EngineSettings settings;
    if (const char* value = variable("ORVANTA_ENGINE_NULL_AUDIO"))
        settings.nullAudio = std::strcmp(value, "0") != 0;
    if (const char* value = variable("ORVANTA_ENGINE_LOG"))
        settings.logFile = value;
    if (const char* value = variable("ORVANTA_ENGINE_REGISTER_TIMEOUT_MS")) {
        long long ms = 0;
        const char* end = value + std::strlen(value);
        const auto parsed = std::from_chars(value, end, ms);
        if (parsed.ec == std::errc() && parsed.ptr == end && ms >= 100 && ms <= 600000)
            settings.registerTimeout = std::chrono::milliseconds(ms);
    }
    if (const char* value = variable("ORVANTA_ENGINE_BIND_ADDRESS"))
        settings.bindAddress = value;
    return settings;
}

}
