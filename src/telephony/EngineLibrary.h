#pragma once

#include "orvanta/engine.h"
#include "platform/DynamicLibrary.h"

#include <filesystem>
#include <string>
#include <vector>

namespace orvanta {

// Every entry point of the SIP engine, resolved by name.
struct EngineApi {
    decltype(&::dll_init) init = nullptr;
    decltype(&::dll_registerAccount) registerAccount = nullptr;
    decltype(&::dll_makeCall) makeCall = nullptr;
    decltype(&::dll_answerCall) answerCall = nullptr;
    decltype(&::dll_releaseCall) releaseCall = nullptr;
    decltype(&::dll_holdCall) holdCall = nullptr;
    decltype(&::dll_retrieveCall) retrieveCall = nullptr;
    decltype(&::dll_xferCall) xferCall = nullptr;
    decltype(&::dll_callConference) callConference = nullptr;
    decltype(&::dll_dialDtmf) dialDtmf = nullptr;
    decltype(&::dll_callRecording_start) callRecordingStart = nullptr;
    decltype(&::dll_callRecording_stop) callRecordingStop = nullptr;
    decltype(&::dll_setCodecPriority) setCodecPriority = nullptr;
    decltype(&::dll_sendMessage) sendMessage = nullptr;
    decltype(&::dll_shutdown) shutdown = nullptr;
    decltype(&::dll_setSIPEncryptionConfiguration) setSipEncryption = nullptr;
    decltype(&::dll_setRTPEncryptionConfiguration) setRtpEncryption = nullptr;
    decltype(&::dll_new_setSIPEncryptionConfiguration) newSetSipEncryption = nullptr;
    decltype(&::dll_set_new_RTPEncryptionConfiguration) setNewRtpEncryption = nullptr;
    decltype(&::dll_setSIPEncryptionConfiguration2) setSipEncryption2 = nullptr;
    decltype(&::dll_setRTPEncryptionConfiguration2) setRtpEncryption2 = nullptr;
    decltype(&::dll_getNumOfCodecs) getNumOfCodecs = nullptr;
    decltype(&::dll_getCodec) getCodec = nullptr;
    decltype(&::dll_setLocalSipPort) setLocalSipPort = nullptr;
    decltype(&::dll_setFirstMediaPort) setFirstMediaPort = nullptr;
    decltype(&::dll_setStunServer) setStunServer = nullptr;
    decltype(&::onRegStateCallback) setRegStateCallback = nullptr;
    decltype(&::onCallStateCallback) setCallStateCallback = nullptr;
    decltype(&::onCallIncoming) setCallIncomingCallback = nullptr;
    decltype(&::onDtmfDigitCallback) setDtmfDigitCallback = nullptr;
    decltype(&::onCallHoldConfirmCallback) setCallHoldConfirmCallback = nullptr;
    decltype(&::onMessageReceivedCallback) setMessageReceivedCallback = nullptr;
};

// The engine library loaded from a path, with all its entry points bound.
// Loading succeeds only when every entry point is present, so no caller ever
// calls into a missing one.
class EngineLibrary {
public:
    static constexpr const char* kFileName = "libOrvanta.so";

    bool load(const std::filesystem::path& path);
    void unload();
    bool isLoaded() const { return library_.isLoaded(); }

    const EngineApi& api() const { return api_; }
    // Why the last load failed: the loader's error or the missing names.
    const std::string& error() const { return error_; }
    const std::vector<std::string>& missingEntryPoints() const { return missing_; }

private:
    platform::DynamicLibrary library_;
    EngineApi api_;
    std::string error_;
    std::vector<std::string> missing_;
};

}
