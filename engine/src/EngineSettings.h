#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace orvanta::engine {

// Process-level settings read from the environment when the engine starts.
struct EngineSettings {
    // ORVANTA_ENGINE_NULL_AUDIO=1: no sound devices at all.
    bool nullAudio = false;
    // ORVANTA_ENGINE_LOG=<file>: the SIP stack's debug log goes there.
    std::string logFile;
    // ORVANTA_ENGINE_REGISTER_TIMEOUT_MS: how long a registration may stay
    // unanswered before it is reported as 408.
    std::chrono::milliseconds registerTimeout{15000};
    // ORVANTA_ENGINE_BIND_ADDRESS: local address for SIP (default: all).
    std::string bindAddress;

    static EngineSettings fromEnvironment();
};

// The network settings the application set for the next start; each one
// left unset keeps what dll_init and dll_registerAccount ask for.
struct NetworkOptions {
    std::optional<int> sipPort;       // 0: any free port
    std::optional<int> firstRtpPort;  // 0: any free port
    std::string stunHost;             // empty: no STUN
    int stunPort = 3478;
};

// What dll_init and the setters asked for.
struct StartOptions {
    int packetTimeMs = 0;
    int sipPort = 0;
    NetworkOptions network;
};

}
