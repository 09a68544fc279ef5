#pragma once

#include "telephony/Engine.h"
#include "telephony/EngineLibrary.h"

#include <filesystem>

namespace orvanta {

// The engine library for the whole run: loaded once from the application's
// folder, started and shut down as sign-ins come and go.
class EngineHost : public Engine {
public:
    explicit EngineHost(std::filesystem::path libraryPath) : path_(std::move(libraryPath)) {}
    ~EngineHost() override;
    EngineHost(const EngineHost&) = delete;
    EngineHost& operator=(const EngineHost&) = delete;

    // False when the library is missing or lacks entry points (error() says
    // which).
    bool load() override;
    bool isLoaded() const override { return library_.isLoaded(); }
    bool isRunning() const override { return running_; }
    const std::string& error() const { return library_.error(); }

    int init(int packetTime, int sipPort) override;
    int registerAccount(const char* accountUri, const char* identityUri, const char* realm,
                        const char* user, const char* password, const char* proxyUri, int flag,
                        int rereg, int rtrp, int keep) override;
    int makeCall(int accountId, const char* targetUri) override;
    int answerCall(int callId, int code) override;
    int releaseCall(int callId) override;
    int holdCall(int callId) override;
    int retrieveCall(int callId) override;
    int xferCall(int callId, const char* targetUri) override;
    int callConference(int callId) override;
    int dialDtmf(int callId, const char* digit, int mode) override;
    int callRecordingStart(int callId, const char* wavPath) override;
    int callRecordingStop() override;
    int setCodecPriority(const char* codec, int priority) override;
    int getNumOfCodecs() override;
    int getCodec(int index, char* buffer, int capacity) override;
    int sendMessage(int accountId, const char* recipientUri, const char* text) override;
    int setLocalSipPort(int port) override;
    int setFirstMediaPort(int port) override;
    int setStunServer(const char* host, int port) override;
    int shutdown() override;

    int setSipEncryption(int on, int k1, int k0) override;
    int setRtpEncryption(int on, int k1, int k0, int flag, int p1, int p2, int p0) override;
    int newSetSipEncryption(int on, int k1, int k0, int k2) override;
    int setNewRtpEncryption(int on, int k1, int k0, int k2, int flag, int p1, int p2,
                            int p0) override;
    int setSipEncryption2(int on, const char* key) override;
    int setRtpEncryption2(int on, const char* key) override;

    void setCallbacks(const EngineCallbacks& callbacks) override;

private:
    // Calls the bound entry point, or refuses when the library is not loaded.
    template <typename Function, typename... Args>
    int call(Function EngineApi::*entry, Args... args) const
    {
        if (!library_.isLoaded()) {
            return -1;
        }
        return (library_.api().*entry)(args...);
    }

    std::filesystem::path path_;
    EngineLibrary library_;
    bool running_ = false;
};

}
