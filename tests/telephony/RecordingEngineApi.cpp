#include "RecordingEngineApi.h"

#include <sstream>

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

template <typename... Args>
int note(const char* name, Args... args)
{
    std::string line = name;
    line += '(';
    bool first = true;
    ((line += (first ? "" : ","), line += describe(args), first = false), ...);
    line += ')';
    engineJournal().push_back(line);
    return 0;
}

int& nextCallId()
{
    static int id = 1;
    return id;
}

}

void setNextCallId(int id)
{
    nextCallId() = id;
}

std::vector<std::string>& engineJournal()
{
    static std::vector<std::string> journal;
    return journal;
}

EngineApi recordingEngineApi()
{
    EngineApi a;
    a.init = [](int s, int p) { return note("init", s, p); };
    a.registerAccount = [](const char* u, const char* i, const char* r, const char* n,
                           const char* pw, const char* px, int f, int e, int rt, int k) {
        note("registerAccount", u, i, r, n, pw, px, f, e, rt, k);
        return 11;
    };
    a.setSipEncryption = [](int on, int k1, int k0) { return note("sip", on, k1, k0); };
    a.setRtpEncryption = [](int on, int k1, int k0, int f, int p1, int p2, int p0) {
        return note("rtp", on, k1, k0, f, p1, p2, p0);
    };
    a.newSetSipEncryption = [](int on, int k1, int k0, int k2) {
        return note("newSip", on, k1, k0, k2);
    };
    a.setNewRtpEncryption = [](int on, int k1, int k0, int k2, int f, int p1, int p2, int p0) {
        return note("newRtp", on, k1, k0, k2, f, p1, p2, p0);
    };
    a.setSipEncryption2 = [](int on, const char* key) { return note("sip2", on, key); };
    a.setRtpEncryption2 = [](int on, const char* key) { return note("rtp2", on, key); };
    a.setCodecPriority = [](const char* codec, int priority) {
        return note("codec", codec, priority);
    };
    a.makeCall = [](int account, const char* uri) {
        note("makeCall", account, uri);
        return nextCallId()++;
    };
    a.answerCall = [](int id, int code) { return note("answerCall", id, code); };
    a.releaseCall = [](int id) { return note("releaseCall", id); };
    a.holdCall = [](int id) { return note("holdCall", id); };
    a.retrieveCall = [](int id) { return note("retrieveCall", id); };
    a.xferCall = [](int id, const char* uri) { return note("xferCall", id, uri); };
    a.callConference = [](int id) { return note("callConference", id); };
    a.dialDtmf = [](int id, const char* digit, int mode) {
        return note("dialDtmf", id, digit, mode);
    };
    a.callRecordingStart = [](int id, const char* path) {
        return note("callRecordingStart", id, path);
    };
    a.callRecordingStop = [] { return note("callRecordingStop"); };
    return a;
}

}
