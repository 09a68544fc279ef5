#pragma once

#include "platform/DynamicLibrary.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orvanta::test {

// Test-side handle on the scripted engine library. Loading the same path as
// the code under test yields the same loaded instance, so what that code
// calls is recorded here and what is fired here reaches its callbacks.
class ScriptedEngine {
public:
    static constexpr const char* kFileName = "libOrvantaScripted.so";

    struct Call {
        std::string name;                              // "dll_makeCall", ...
        std::vector<std::optional<std::string>> args;  // integers as decimal text; nullopt for NULL

        int intArg(size_t index) const;
        std::string textArg(size_t index) const;  // empty for NULL
        bool isNull(size_t index) const { return index < args.size() && !args[index]; }
    };

    // Loads the library (default: build/bin/libOrvantaScripted.so).
    bool load(const std::filesystem::path& path = {});
    const std::string& error() const { return error_; }
    std::filesystem::path path() const { return path_; }

    // Recorded entry-point calls, oldest first.
    std::vector<Call> calls() const;
    std::vector<Call> callsTo(const std::string& entryPoint) const;
    // Forgets recorded calls and chosen results.
    void reset();

    // The result entryPoint returns from now on / for its next call.
    void setResult(const std::string& entryPoint, int result);
    void queueResult(const std::string& entryPoint, int result);

    // Callbacks are delivered in order on the engine's own thread.
    void fireRegistration(int accountId, int sipCode);
    void fireCallState(int callId, int state);
    void fireIncoming(int callId, const std::string& callerUri);
    void fireDtmf(int callId, int digit);
    void fireHoldConfirm(int callId);
    void fireMessage(const std::string& senderUri, const std::string& text);
    // True once every fired event was delivered.
    bool waitIdle(std::chrono::milliseconds timeout = std::chrono::milliseconds(2000));

    bool hasCallback(const std::string& setterName) const;

private:
    template <typename Function>
    Function bind(const char* name);

    platform::DynamicLibrary library_;
    std::filesystem::path path_;
    std::string error_;

    void (*reset_)() = nullptr;
    int (*recordCount_)() = nullptr;
    int (*recordName_)(int, char*, int) = nullptr;
    int (*recordArgCount_)(int) = nullptr;
    int (*recordArg_)(int, int, char*, int) = nullptr;
    void (*setResult_)(const char*, int) = nullptr;
    void (*queueResult_)(const char*, int) = nullptr;
    void (*fireRegState_)(int, int) = nullptr;
    void (*fireCallState_)(int, int) = nullptr;
    void (*fireIncoming_)(int, const char*) = nullptr;
    void (*fireDtmf_)(int, int) = nullptr;
    void (*fireHoldConfirm_)(int) = nullptr;
    void (*fireMessage_)(const char*, const char*) = nullptr;
    int (*waitIdle_)(int) = nullptr;
    int (*hasCallback_)(const char*) = nullptr;
};

}
