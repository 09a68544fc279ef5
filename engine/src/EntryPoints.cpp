// The C entry points: argument checks and id allocation on the caller's
// thread, everything else queued for the engine thread.

#include "Callbacks.h"
#include "EngineThread.h"
#include "LinphoneEngine.h"

#include "orvanta/engine.h"

#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace orvanta::engine {

Callbacks& callbacks()
{
    static Callbacks instance;
    return instance;
}

namespace {

// Bounds every text argument: SIP URIs, names, passwords and message bodies.
constexpr size_t kMaxText = 4096;

struct Runtime {
    std::unique_ptr<LinphoneEngine> engine;
    std::unique_ptr<EngineThread> thread;
};

std::mutex runtimeMutex;
std::shared_ptr<Runtime> runtime;
std::atomic<int> nextCallId{1};
std::atomic<int> nextAccountId{1};
std::atomic<bool> encryptionOn{false};
std::mutex networkMutex;
NetworkOptions network;

// The service's key material. Only the on/off switch acts (TLS signalling and
// mandatory SRTP); the numbers and the key text are kept as given.
struct EncryptionKeys {
    std::vector<int> numbers;
    std::string text;
};
std::mutex keysMutex;
EncryptionKeys keys;

std::shared_ptr<Runtime> current()
{
    std::lock_guard lock(runtimeMutex);
    return runtime;
}

// Queues work for the engine; false when no engine is running.
bool post(std::function<void(LinphoneEngine&)> work)
{
    auto running = current();
    if (!running)
        return false;
    LinphoneEngine* engine = running->engine.get();
    return running->thread->post([engine, work = std::move(work)] { work(*engine); });
}

bool validText(const char* text, bool mayBeEmpty = false)
{
    if (!text)
        return false;
    const size_t length = strnlen(text, kMaxText + 1);
    return length <= kMaxText && (mayBeEmpty || length > 0);
}

std::string textOrEmpty(const char* text)
{
    return validText(text, true) ? std::string(text) : std::string();
}

int status(bool ok)
{
    return ok ? 0 : -1;
}

int setEncryption(int on, std::vector<int> numbers, const char* text = nullptr)
{
    encryptionOn = on != 0;
    std::lock_guard lock(keysMutex);
    keys.numbers = std::move(numbers);
    if (text)
        keys.text = textOrEmpty(text);
    return 0;
}

}

}

using namespace orvanta::engine;

extern "C" {

ORVANTA_API int dll_init(int size, int sprt)
{
    std::lock_guard lock(runtimeMutex);
    if (runtime)
        return -1;
    // Encryption is chosen anew for every start.
    encryptionOn = false;
    auto fresh = std::make_shared<Runtime>();
    fresh->engine = std::make_unique<LinphoneEngine>(EngineSettings::fromEnvironment(), nextCallId);
    fresh->thread = std::make_unique<EngineThread>();
    LinphoneEngine* engine = fresh->engine.get();
    EngineThread* thread = fresh->thread.get();
    StartOptions options{size, sprt, {}};
    {
        std::lock_guard networkLock(networkMutex);
        options.network = network;
    }
    const auto setup = [engine, thread, options] {
        if (!engine->start(options))
            return false;
        thread->useSleeper(engine->sleeper());
        return true;
    };
    if (!fresh->thread->start(
            setup, {[engine] { engine->iterate(); }, [engine] { return engine->nextWait(); }}))
        return -1;
    runtime = std::move(fresh);
    return 0;
}

ORVANTA_API int dll_shutdown(void)
{
    std::shared_ptr<Runtime> stopping;
    {
        std::lock_guard lock(runtimeMutex);
        // A callback cannot stop the thread it runs on.
        if (!runtime || runtime->thread->isCurrentThread())
            return -1;
        stopping = std::move(runtime);
    }
    LinphoneEngine* engine = stopping->engine.get();
    stopping->thread->stop([engine] { engine->shutdown(); });
    return 0;
}

ORVANTA_API int dll_registerAccount(const char* accountUri, const char* identityUri,
                                    const char* realm, const char* user, const char* password,
                                    const char* proxyUri, int /*flag*/, int rereg, int rtrp,
                                    int keep)
{
    if (!validText(accountUri) || !validText(user) || !validText(password, true))
        return -1;
    AccountRequest request;
    request.accountUri = accountUri;
    request.identityUri = textOrEmpty(identityUri);
    request.realm = textOrEmpty(realm);
    request.user = user;
    request.password = password;
    request.proxyUri = textOrEmpty(proxyUri);
    request.expiresSeconds = rereg > 0 ? rereg : 3600;
    request.firstRtpPort = rtrp > 0 && rtrp <= 65535 ? rtrp : 0;
    request.keepAliveSeconds = keep > 0 && keep <= 3600 ? keep : 0;
    request.encrypted = encryptionOn.load();
    const int accountId = nextAccountId.fetch_add(1);
    if (!post([accountId, request](LinphoneEngine& engine) {
            engine.registerAccount(accountId, request);
        }))
        return -1;
    return accountId;
}

ORVANTA_API int dll_makeCall(int accountId, const char* targetUri)
{
    if (accountId <= 0 || !validText(targetUri))
        return -1;
    const int callId = nextCallId.fetch_add(1);
    std::string target = targetUri;
    if (!post([callId, accountId, target](LinphoneEngine& engine) {
            engine.makeCall(callId, accountId, target);
        }))
        return -1;
    return callId;
}

ORVANTA_API int dll_answerCall(int callId, int code)
{
    return status(
        post([callId, code](LinphoneEngine& engine) { engine.answerCall(callId, code); }));
}

ORVANTA_API int dll_releaseCall(int callId)
{
    return status(post([callId](LinphoneEngine& engine) { engine.releaseCall(callId); }));
}

ORVANTA_API int dll_holdCall(int callId)
{
    return status(post([callId](LinphoneEngine& engine) { engine.holdCall(callId); }));
}

ORVANTA_API int dll_retrieveCall(int callId)
{
    return status(post([callId](LinphoneEngine& engine) { engine.retrieveCall(callId); }));
}

ORVANTA_API int dll_xferCall(int callId, const char* targetUri)
{
    if (!validText(targetUri))
        return -1;
    const int legId = nextCallId.fetch_add(1);
    std::string target = targetUri;
    return status(post([callId, legId, target](LinphoneEngine& engine) {
        engine.transferCall(callId, legId, target);
    }));
}

ORVANTA_API int dll_callConference(int /*callId*/)
{
    auto running = current();
    if (!running || running->engine->registeredAccounts() == 0)
        return -1;
    return status(post([](LinphoneEngine& engine) { engine.conference(); }));
}

ORVANTA_API int dll_dialDtmf(int callId, const char* digit, int /*mode*/)
{
    if (!digit || digit[0] == '\0' || !std::strchr("0123456789*#ABCDabcd", digit[0]))
        return -1;
    const char tone = static_cast<char>(digit[0] >= 'a' ? digit[0] - 'a' + 'A' : digit[0]);
    return status(post([callId, tone](LinphoneEngine& engine) { engine.sendDtmf(callId, tone); }));
}

ORVANTA_API int dll_callRecording_start(int callId, const char* wavPath)
{
    if (!validText(wavPath))
        return -1;
    std::string path = wavPath;
    return status(
        post([callId, path](LinphoneEngine& engine) { engine.startRecording(callId, path); }));
}

ORVANTA_API int dll_callRecording_stop(void)
{
    return status(post([](LinphoneEngine& engine) { engine.stopRecording(); }));
}

ORVANTA_API int dll_setCodecPriority(const char* codec, int priority)
{
    if (!validText(codec))
        return -1;
    std::string name = codec;
    return status(post(
        [name, priority](LinphoneEngine& engine) { engine.setCodecPriority(name, priority); }));
}

ORVANTA_API int dll_sendMessage(int accountId, const char* recipientUri, const char* text)
{
    if (!validText(recipientUri) || !validText(text, true))
        return -1;
    std::string recipient = recipientUri;
    std::string body = text;
    return status(post([accountId, recipient, body](LinphoneEngine& engine) {
        engine.sendMessage(accountId, recipient, body);
    }));
}

ORVANTA_API int dll_setSIPEncryptionConfiguration(int on, int k1, int k0)
{
    return setEncryption(on, {k1, k0});
}

ORVANTA_API int dll_setRTPEncryptionConfiguration(int on, int k1, int k0, int flag, int p1, int p2,
                                                  int p0)
{
    return setEncryption(on, {k1, k0, flag, p1, p2, p0});
}

ORVANTA_API int dll_new_setSIPEncryptionConfiguration(int on, int k1, int k0, int k2)
{
    return setEncryption(on, {k1, k0, k2});
}

ORVANTA_API int dll_set_new_RTPEncryptionConfiguration(int on, int k1, int k0, int k2, int flag,
                                                       int p1, int p2, int p0)
{
    return setEncryption(on, {k1, k0, k2, flag, p1, p2, p0});
}

ORVANTA_API int dll_setSIPEncryptionConfiguration2(int on, const char* key)
{
    return setEncryption(on, {}, key);
}

ORVANTA_API int dll_setRTPEncryptionConfiguration2(int on, const char* key)
{
    return setEncryption(on, {}, key);
}

ORVANTA_API int dll_setLocalSipPort(int port)
{
    if (port < -1 || port > 65535)
        return -1;
    std::lock_guard lock(networkMutex);
    network.sipPort = port >= 0 ? std::optional<int>(port) : std::nullopt;
    return 0;
}

ORVANTA_API int dll_setFirstMediaPort(int port)
{
    if (port < -1 || port > 65535)
        return -1;
    std::lock_guard lock(networkMutex);
    network.firstRtpPort = port >= 0 ? std::optional<int>(port) : std::nullopt;
    return 0;
}

ORVANTA_API int dll_setStunServer(const char* host, int port)
{
    const std::string name = textOrEmpty(host);
    if (name.size() > 255 || port < 0 || port > 65535 ||
        name.find_first_of(" \t\r\n:;<>\"") != std::string::npos)
        return -1;
    std::lock_guard lock(networkMutex);
    network.stunHost = name;
    network.stunPort = port > 0 ? port : 3478;
    return 0;
}

ORVANTA_API int dll_getNumOfCodecs(void)
{
    auto running = current();
    return running ? static_cast<int>(running->engine->codecNames().size()) : 0;
}

ORVANTA_API int dll_getCodec(int index, char* buffer, int capacity)
{
    auto running = current();
    if (!running || index < 0)
        return -1;
    const auto names = running->engine->codecNames();
    if (static_cast<size_t>(index) >= names.size())
        return -1;
    const std::string& name = names[static_cast<size_t>(index)];
    if (buffer && capacity > 0) {
        const size_t copied = std::min(name.size(), static_cast<size_t>(capacity) - 1);
        std::memcpy(buffer, name.data(), copied);
        buffer[copied] = '\0';
    }
    return static_cast<int>(name.size());
}

ORVANTA_API void onRegStateCallback(OrvantaRegStateCallback callback)
{
    callbacks().registration = callback;
}

ORVANTA_API void onCallStateCallback(OrvantaCallStateCallback callback)
{
    callbacks().callState = callback;
}

ORVANTA_API void onCallIncoming(OrvantaCallIncomingCallback callback)
{
    callbacks().incoming = callback;
}

ORVANTA_API void onDtmfDigitCallback(OrvantaDtmfDigitCallback callback)
{
    callbacks().dtmf = callback;
}

ORVANTA_API void onCallHoldConfirmCallback(OrvantaCallHoldConfirmCallback callback)
{
    callbacks().holdConfirm = callback;
}

ORVANTA_API void onMessageReceivedCallback(OrvantaMessageReceivedCallback callback)
{
    callbacks().message = callback;
}
}
