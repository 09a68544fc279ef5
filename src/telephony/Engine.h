#pragma once

#include "orvanta/engine.h"

namespace orvanta {

// The engine's callbacks, set in one go.
struct EngineCallbacks {
    OrvantaRegStateCallback registration = nullptr;
    OrvantaCallStateCallback callState = nullptr;
    OrvantaCallIncomingCallback incoming = nullptr;
    OrvantaDtmfDigitCallback dtmf = nullptr;
    OrvantaCallHoldConfirmCallback holdConfirm = nullptr;
    OrvantaMessageReceivedCallback message = nullptr;
};

// The SIP engine as the dialer drives it: the library's entry points under
// their own names, plus loading. EngineHost binds it to libOrvanta.so;
// unit tests use an instance-based fake. Every call on an engine that is not
// loaded is refused with -1.
class Engine {
public:
    virtual ~Engine() = default;

    // Loads the library once per run; false when it is missing.
    virtual bool load() = 0;
    virtual bool isLoaded() const = 0;
    // Between init and shutdown.
    virtual bool isRunning() const = 0;

    virtual int init(int packetTime, int sipPort) = 0;
    virtual int registerAccount(const char* accountUri, const char* identityUri, const char* realm,
                                const char* user, const char* password, const char* proxyUri,
                                int flag, int rereg, int rtrp, int keep) = 0;
    virtual int makeCall(int accountId, const char* targetUri) = 0;
    virtual int answerCall(int callId, int code) = 0;
    virtual int releaseCall(int callId) = 0;
    virtual int holdCall(int callId) = 0;
    virtual int retrieveCall(int callId) = 0;
    virtual int xferCall(int callId, const char* targetUri) = 0;
    virtual int callConference(int callId) = 0;
    virtual int dialDtmf(int callId, const char* digit, int mode) = 0;
    virtual int callRecordingStart(int callId, const char* wavPath) = 0;
    virtual int callRecordingStop() = 0;
    virtual int setCodecPriority(const char* codec, int priority) = 0;
    virtual int getNumOfCodecs() = 0;
    virtual int getCodec(int index, char* buffer, int capacity) = 0;
    virtual int sendMessage(int accountId, const char* recipientUri, const char* text) = 0;
    // The network settings of the next init; -1 for a port gives init's and
    // the registration's values back, an empty host turns STUN off.
    virtual int setLocalSipPort(int port) = 0;
    virtual int setFirstMediaPort(int port) = 0;
    virtual int setStunServer(const char* host, int port) = 0;
    // Harmless when the engine does not run.
    virtual int shutdown() = 0;

    virtual int setSipEncryption(int on, int k1, int k0) = 0;
    virtual int setRtpEncryption(int on, int k1, int k0, int flag, int p1, int p2, int p0) = 0;
    virtual int newSetSipEncryption(int on, int k1, int k0, int k2) = 0;
    virtual int setNewRtpEncryption(int on, int k1, int k0, int k2, int flag, int p1, int p2,
                                    int p0) = 0;
    virtual int setSipEncryption2(int on, const char* key) = 0;
    virtual int setRtpEncryption2(int on, const char* key) = 0;

    virtual void setCallbacks(const EngineCallbacks& callbacks) = 0;

    // Ready for a fresh start: a running engine is shut down; the library
    // stays loaded (the engine supports a new start in one process).
    bool restart()
    {
        shutdown();
        return load();
    }
};

}
