#pragma once

#include "telephony/EngineLibrary.h"

#include <filesystem>

namespace orvanta {

// The engine library for the whole run: loaded once from the application's
// folder, started and shut down as sign-ins come and go.
class EngineHost {
public:
    explicit EngineHost(std::filesystem::path libraryPath) : path_(std::move(libraryPath)) {}
    ~EngineHost();
    EngineHost(const EngineHost&) = delete;
    EngineHost& operator=(const EngineHost&) = delete;

    // Loads the library when it is not loaded yet; false when it is missing
    // or lacks entry points (error() says which).
    bool load();
    bool isLoaded() const { return library_.isLoaded(); }
    const std::string& error() const { return library_.error(); }
    const EngineApi& api() const { return library_.api(); }

    // Starts the engine (dll_init); remembers that it runs.
    void init(int packetTime, int sipPort);
    bool isRunning() const { return running_; }

    // Stops a running engine; harmless when none runs.
    void shutdown();

    // Prepares for a fresh start: a running engine is shut down. The library
    // itself stays loaded: the engine supports a new start in one process.
    bool reload();

private:
    std::filesystem::path path_;
    EngineLibrary library_;
    bool running_ = false;
};

}
