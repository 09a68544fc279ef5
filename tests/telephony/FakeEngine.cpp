#include "FakeEngine.h"

namespace orvanta::test {

namespace {

std::string describe(const char* text)
{
    return text ? "\"" + std::string(text) + "\"" : "null";
}

std::string describe(int value)
{
    return std::to_string(value);
}

}

template <typename... Args>
int FakeEngine::note(const char* name, Args... args)
{
    std::string line = name;
    line += '(';
    bool first = true;
    ((line += (first ? "" : ","), line += describe(args), first = false), ...);
    line += ')';
    journal.push_back(line);
    return loaded_ ? 0 : -1;
}

std::vector<std::string> FakeEngine::callsTo(const std::string& name) const
{
    std::vector<std::string> found;
    for (const std::string& line : journal) {
        if (line.compare(0, name.size() + 1, name + "(") == 0) {
            found.push_back(line);
        }
    }
    return found;
}

int FakeEngine::init(int packetTime, int sipPort)
{
    const int result = note("init", packetTime, sipPort);
    running_ = result == 0;
    return result;
}

int FakeEngine::registerAccount(const char* accountUri, const char* identityUri, const char* realm,
                                const char* user, const char* password, const char* proxyUri,
                                int flag, int rereg, int rtrp, int keep)
{
    note("registerAccount", accountUri, identityUri, realm, user, password, proxyUri, flag, rereg,
         rtrp, keep);
    return running_ ? accountHandle : -1;
}

int FakeEngine::makeCall(int accountId, const char* targetUri)
{
    note("makeCall", accountId, targetUri);
    return loaded_ ? nextCallId++ : -1;
}

int FakeEngine::answerCall(int callId, int code)
{
    return note("answerCall", callId, code);
}

int FakeEngine::releaseCall(int callId)
{
    return note("releaseCall", callId);
}

int FakeEngine::holdCall(int callId)
{
    return note("holdCall", callId);
}

int FakeEngine::retrieveCall(int callId)
{
    return note("retrieveCall", callId);
}

int FakeEngine::xferCall(int callId, const char* targetUri)
{
    return note("xferCall", callId, targetUri);
}

int FakeEngine::callConference(int callId)
{
    return note("callConference", callId);
}

int FakeEngine::dialDtmf(int callId, const char* digit, int mode)
{
    return note("dialDtmf", callId, digit, mode);
}

int FakeEngine::callRecordingStart(int callId, const char* wavPath)
{
    return note("callRecordingStart", callId, wavPath);
}

int FakeEngine::callRecordingStop()
{
    return note("callRecordingStop");
}

int FakeEngine::setCodecPriority(const char* codec, int priority)
{
    return note("codec", codec, priority);
}

int FakeEngine::sendMessage(int accountId, const char* recipientUri, const char* text)
{
    return note("sendMessage", accountId, recipientUri, text);
}

int FakeEngine::setLocalSipPort(int port)
{
    return note("sipPort", port);
}

int FakeEngine::setFirstMediaPort(int port)
{
    return note("mediaPort", port);
}

int FakeEngine::setStunServer(const char* host, int port)
{
    return note("stun", host, port);
}

int FakeEngine::shutdown()
{
    if (!running_) {
        return -1;
    }
    running_ = false;
    return note("shutdown");
}

int FakeEngine::setSipEncryption(int on, int k1, int k0)
{
    return note("sip", on, k1, k0);
}

int FakeEngine::setRtpEncryption(int on, int k1, int k0, int flag, int p1, int p2, int p0)
{
    return note("rtp", on, k1, k0, flag, p1, p2, p0);
}

int FakeEngine::newSetSipEncryption(int on, int k1, int k0, int k2)
{
    return note("newSip", on, k1, k0, k2);
}

int FakeEngine::setNewRtpEncryption(int on, int k1, int k0, int k2, int flag, int p1, int p2,
                                    int p0)
{
    return note("newRtp", on, k1, k0, k2, flag, p1, p2, p0);
}

int FakeEngine::setSipEncryption2(int on, const char* key)
{
    return note("sip2", on, key);
}

int FakeEngine::setRtpEncryption2(int on, const char* key)
{
    return note("rtp2", on, key);
}

void FakeEngine::setCallbacks(const EngineCallbacks& set)
{
    callbacks = set;
    journal.push_back("callbacks");
}

}
