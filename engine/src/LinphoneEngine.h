#pragma once

#include "CodecPriorities.h"
#include "EngineSettings.h"
#include "MainLoopSleeper.h"

#include <linphone/core.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace orvanta::engine {

struct AccountRequest {
    std::string accountUri;
    std::string identityUri;
    std::string realm;
    std::string user;
    std::string password;
    std::string proxyUri;
    int expiresSeconds = 3600;
    int firstRtpPort = 0;
    int keepAliveSeconds = 0;
    bool encrypted = false;
};

// The SIP core and everything attached to it. Every method runs on the
// engine thread; the application's callbacks are called from here.
class LinphoneEngine {
public:
    // nextCallId hands out call ids; the entry points draw from it too, so
    // ids reserved by a caller never collide with ids made up here.
    LinphoneEngine(EngineSettings settings, std::atomic<int>& nextCallId);
    ~LinphoneEngine();
    LinphoneEngine(const LinphoneEngine&) = delete;
    LinphoneEngine& operator=(const LinphoneEngine&) = delete;

    bool start(const StartOptions& options);
    // One round of the core's work; then the engine thread may sleep for
    // nextWait(), in sleeper() when there is one.
    void iterate();
    std::chrono::milliseconds nextWait() const;
    Sleeper* sleeper() const { return sleeper_.get(); }
    // Ends every call, unregisters and stops the core, all within a bound.
    void shutdown();

    void registerAccount(int accountId, const AccountRequest& request);
    void makeCall(int callId, int accountId, const std::string& target);
    void answerCall(int callId, int code);
    void releaseCall(int callId);
    void holdCall(int callId);
    void retrieveCall(int callId);
    void transferCall(int callId, int legId, const std::string& target);
    void conference();
    void sendDtmf(int callId, char digit);
    void startRecording(int callId, const std::filesystem::path& target);
    void stopRecording();
    void setCodecPriority(const std::string& codec, int priority);
    void sendMessage(int accountId, const std::string& recipient, const std::string& text);

    // Read from any thread.
    int registeredAccounts() const { return registeredAccounts_.load(); }
    std::vector<std::string> codecNames() const;

private:
    struct Call {
        LinphoneCall* call = nullptr;
        bool incoming = false;
        bool ringingReported = false;
        bool answeredReported = false;
        bool connectedReported = false;
        bool ended = false;
        std::filesystem::path recordFile;
    };
    struct TransferLeg {
        int legId = 0;
        LinphoneCall* original = nullptr;
        bool connected = false;
        bool ended = false;
        std::chrono::steady_clock::time_point deadline;
    };
    struct Account {
        LinphoneAccount* account = nullptr;
        bool awaitingResult = false;
        bool timeoutReported = false;
        bool registered = false;
        std::chrono::steady_clock::time_point deadline;
    };
    struct Recording {
        int callId = 0;
        std::filesystem::path target;
    };

    static LinphoneEngine* from(LinphoneCore* core);
    static void onCallStateChanged(LinphoneCore*, LinphoneCall*, LinphoneCallState, const char*);
    static void onRegistrationChanged(LinphoneCore*, LinphoneAccount*, LinphoneRegistrationState,
                                      const char*);
    static void onTransferStateChanged(LinphoneCore*, LinphoneCall*, LinphoneCallState);
    static void onDtmfReceived(LinphoneCore*, LinphoneCall*, int);
    static void onMessageReceived(LinphoneCore*, LinphoneChatRoom*, LinphoneChatMessage*);

    void callStateChanged(LinphoneCall* call, LinphoneCallState state);
    void registrationChanged(LinphoneAccount* account, LinphoneRegistrationState state);
    void transferStateChanged(LinphoneCall* call, LinphoneCallState state);
    void reportCallEnded(int callId, Call& record);
    void endTransferLegsOf(LinphoneCall* original);
    void finishRecording(int callId);
    void checkRegistrationDeadlines();
    void checkTransferDeadlines();

    LinphoneConfig* makeConfig(int sipPort) const;
    void configureNetwork(const NetworkOptions& network);
    void applyRtpPorts(int firstPort);
    void configureAudio();
    void configureLogging();
    void applyCodecOrder();
    void applyEncryption(bool encrypted);
    void updateRegisteredCount();
    LinphoneCallParams* callParams(LinphoneCall* call, int callId);
    void endSleep() const;
    Call* findCall(int callId);
    int idOf(LinphoneCall* call) const;
    Account* findAccount(int accountId);
    void reportCallEndedWithoutCall(int callId);
    template <typename Condition>
    void iterateUntil(Condition done, std::chrono::milliseconds limit);

    EngineSettings settings_;
    std::unique_ptr<MainLoopSleeper> sleeper_;
    bool noSoundDevices_ = false;
    std::optional<int> firstRtpPortOverride_;
    bool stunOn_ = false;
    std::atomic<int>& nextCallId_;
    LinphoneCore* core_ = nullptr;
    LinphoneCoreCbs* coreCallbacks_ = nullptr;
    std::filesystem::path workDir_;
    std::map<int, Call> calls_;
    std::vector<TransferLeg> transferLegs_;
    std::map<int, Account> accounts_;
    std::optional<Recording> recording_;
    int pendingOutgoingId_ = 0;
    bool encrypted_ = false;
    bool shuttingDown_ = false;
    CodecPriorities priorities_;
    std::atomic<int> registeredAccounts_{0};
    mutable std::mutex codecNamesMutex_;
    std::vector<std::string> codecNames_;
};

}
