#pragma once

#include "telephony/Engine.h"

#include <string>
#include <vector>

namespace orvanta::test {

// An engine that writes one line per entry-point call into its own journal,
// for tests of code that drives the engine: "makeCall(11,\"sip:1@h\")".
class FakeEngine : public Engine {
public:
    std::vector<std::string> journal;
    int nextCallId = 1;      // makeCall returns it, then the next one
    int accountHandle = 11;  // what registerAccount returns
    bool loadable = true;    // load() succeeds
    EngineCallbacks callbacks;

    bool load() override { return loaded_ = loaded_ || loadable; }
    bool isLoaded() const override { return loaded_; }
    bool isRunning() const override { return running_; }

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
    int getNumOfCodecs() override { return 0; }
    int getCodec(int, char*, int) override { return -1; }
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

    void setCallbacks(const EngineCallbacks& set) override;

    // The journal lines that start with name, e.g. "makeCall".
    std::vector<std::string> callsTo(const std::string& name) const;

private:
    template <typename... Args>
    int note(const char* name, Args... args);

    bool loaded_ = false;
    bool running_ = false;
};

}
