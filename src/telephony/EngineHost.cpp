#include "telephony/EngineHost.h"

namespace orvanta {

EngineHost::~EngineHost()
{
    shutdown();
}

bool EngineHost::load()
{
    return library_.isLoaded() || library_.load(path_);
}

int EngineHost::init(int packetTime, int sipPort)
{
    const int result = call(&EngineApi::init, packetTime, sipPort);
    // A refused start of an engine that already runs leaves it running.
    running_ = library_.isLoaded() && (result == 0 || running_);
    return result;
}

int EngineHost::shutdown()
{
    if (!running_) {
        return -1;
    }
    running_ = false;
    return call(&EngineApi::shutdown);
}

int EngineHost::registerAccount(const char* accountUri, const char* identityUri, const char* realm,
                                const char* user, const char* password, const char* proxyUri,
                                int flag, int rereg, int rtrp, int keep)
{
    return call(&EngineApi::registerAccount, accountUri, identityUri, realm, user, password,
                proxyUri, flag, rereg, rtrp, keep);
}

int EngineHost::makeCall(int accountId, const char* targetUri)
{
    return call(&EngineApi::makeCall, accountId, targetUri);
}

int EngineHost::answerCall(int callId, int code)
{
    return call(&EngineApi::answerCall, callId, code);
}

int EngineHost::releaseCall(int callId)
{
    return call(&EngineApi::releaseCall, callId);
}

int EngineHost::holdCall(int callId)
{
    return call(&EngineApi::holdCall, callId);
}

int EngineHost::retrieveCall(int callId)
{
    return call(&EngineApi::retrieveCall, callId);
}

int EngineHost::xferCall(int callId, const char* targetUri)
{
    return call(&EngineApi::xferCall, callId, targetUri);
}

int EngineHost::callConference(int callId)
{
    return call(&EngineApi::callConference, callId);
}

int EngineHost::dialDtmf(int callId, const char* digit, int mode)
{
    return call(&EngineApi::dialDtmf, callId, digit, mode);
}

int EngineHost::callRecordingStart(int callId, const char* wavPath)
{
    return call(&EngineApi::callRecordingStart, callId, wavPath);
}

int EngineHost::callRecordingStop()
{
    return call(&EngineApi::callRecordingStop);
}

int EngineHost::setCodecPriority(const char* codec, int priority)
{
    return call(&EngineApi::setCodecPriority, codec, priority);
}

int EngineHost::getNumOfCodecs()
{
    return call(&EngineApi::getNumOfCodecs);
}

int EngineHost::getCodec(int index, char* buffer, int capacity)
{
    return call(&EngineApi::getCodec, index, buffer, capacity);
}

int EngineHost::sendMessage(int accountId, const char* recipientUri, const char* text)
{
    return call(&EngineApi::sendMessage, accountId, recipientUri, text);
}

int EngineHost::setLocalSipPort(int port)
{
    return call(&EngineApi::setLocalSipPort, port);
}

int EngineHost::setFirstMediaPort(int port)
{
    return call(&EngineApi::setFirstMediaPort, port);
}

int EngineHost::setStunServer(const char* host, int port)
{
    return call(&EngineApi::setStunServer, host, port);
}

int EngineHost::setSipEncryption(int on, int k1, int k0)
{
    return call(&EngineApi::setSipEncryption, on, k1, k0);
}

int EngineHost::setRtpEncryption(int on, int k1, int k0, int flag, int p1, int p2, int p0)
{
    return call(&EngineApi::setRtpEncryption, on, k1, k0, flag, p1, p2, p0);
}

int EngineHost::newSetSipEncryption(int on, int k1, int k0, int k2)
{
    return call(&EngineApi::newSetSipEncryption, on, k1, k0, k2);
}

int EngineHost::setNewRtpEncryption(int on, int k1, int k0, int k2, int flag, int p1, int p2,
                                    int p0)
{
    return call(&EngineApi::setNewRtpEncryption, on, k1, k0, k2, flag, p1, p2, p0);
}

int EngineHost::setSipEncryption2(int on, const char* key)
{
    return call(&EngineApi::setSipEncryption2, on, key);
}

int EngineHost::setRtpEncryption2(int on, const char* key)
{
    return call(&EngineApi::setRtpEncryption2, on, key);
}

void EngineHost::setCallbacks(const EngineCallbacks& callbacks)
{
    if (!library_.isLoaded()) {
        return;
    }
    const EngineApi& api = library_.api();
    api.setRegStateCallback(callbacks.registration);
    api.setCallStateCallback(callbacks.callState);
    api.setCallIncomingCallback(callbacks.incoming);
    api.setDtmfDigitCallback(callbacks.dtmf);
    api.setCallHoldConfirmCallback(callbacks.holdConfirm);
    api.setMessageReceivedCallback(callbacks.message);
}

}
