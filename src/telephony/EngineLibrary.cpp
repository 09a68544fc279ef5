#include "telephony/EngineLibrary.h"

namespace orvanta {

namespace {

template <typename Function>
void bind(const platform::DynamicLibrary& library, const char* name, Function& slot,
          std::vector<std::string>& missing)
{
    slot = library.resolve<Function>(name);
    if (!slot) {
        missing.emplace_back(name);
    }
}

}

bool EngineLibrary::load(const std::filesystem::path& path)
{
    unload();
    missing_.clear();
    if (!library_.load(path.string())) {
        error_ = library_.error();
        return false;
    }
    EngineApi& a = api_;
    auto& m = missing_;
    bind(library_, "dll_init", a.init, m);
    bind(library_, "dll_registerAccount", a.registerAccount, m);
    bind(library_, "dll_makeCall", a.makeCall, m);
    bind(library_, "dll_answerCall", a.answerCall, m);
    bind(library_, "dll_releaseCall", a.releaseCall, m);
    bind(library_, "dll_holdCall", a.holdCall, m);
    bind(library_, "dll_retrieveCall", a.retrieveCall, m);
    bind(library_, "dll_xferCall", a.xferCall, m);
    bind(library_, "dll_callConference", a.callConference, m);
    bind(library_, "dll_dialDtmf", a.dialDtmf, m);
    bind(library_, "dll_callRecording_start", a.callRecordingStart, m);
    bind(library_, "dll_callRecording_stop", a.callRecordingStop, m);
    bind(library_, "dll_setCodecPriority", a.setCodecPriority, m);
    bind(library_, "dll_sendMessage", a.sendMessage, m);
    bind(library_, "dll_shutdown", a.shutdown, m);
    bind(library_, "dll_setSIPEncryptionConfiguration", a.setSipEncryption, m);
    bind(library_, "dll_setRTPEncryptionConfiguration", a.setRtpEncryption, m);
    bind(library_, "dll_new_setSIPEncryptionConfiguration", a.newSetSipEncryption, m);
    bind(library_, "dll_set_new_RTPEncryptionConfiguration", a.setNewRtpEncryption, m);
    bind(library_, "dll_setSIPEncryptionConfiguration2", a.setSipEncryption2, m);
    bind(library_, "dll_setRTPEncryptionConfiguration2", a.setRtpEncryption2, m);
    bind(library_, "dll_getNumOfCodecs", a.getNumOfCodecs, m);
    bind(library_, "dll_getCodec", a.getCodec, m);
    bind(library_, "dll_setLocalSipPort", a.setLocalSipPort, m);
    bind(library_, "dll_setFirstMediaPort", a.setFirstMediaPort, m);
    bind(library_, "dll_setStunServer", a.setStunServer, m);
    bind(library_, "onRegStateCallback", a.setRegStateCallback, m);
    bind(library_, "onCallStateCallback", a.setCallStateCallback, m);
    bind(library_, "onCallIncoming", a.setCallIncomingCallback, m);
    bind(library_, "onDtmfDigitCallback", a.setDtmfDigitCallback, m);
    bind(library_, "onCallHoldConfirmCallback", a.setCallHoldConfirmCallback, m);
    bind(library_, "onMessageReceivedCallback", a.setMessageReceivedCallback, m);
    if (!missing_.empty()) {
        error_ = "missing entry points:";
        for (const std::string& name : missing_) {
            error_ += " " + name;
        }
        unload();
        return false;
    }
    error_.clear();
    return true;
}

void EngineLibrary::unload()
{
    library_.unload();
    api_ = EngineApi{};
}

}
