// A stand-in for the SIP engine: records every entry-point call, returns
// results chosen by the test and fires callbacks on its own thread when told.

#include "ScriptedControl.h"

#include "orvanta/engine.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr size_t kMaxText = 4096;

using Arg = std::optional<std::string>;

struct Record {
    std::string name;
    std::vector<Arg> args;
};

Arg text(const char* value)
{
    if (!value)
        return std::nullopt;
    return std::string(value, strnlen(value, kMaxText));
}

Arg number(long value)
{
    return std::to_string(value);
}

int copyOut(const std::string& value, char* buffer, int capacity)
{
    if (buffer && capacity > 0) {
        const size_t copied = std::min(value.size(), static_cast<size_t>(capacity) - 1);
        std::memcpy(buffer, value.data(), copied);
        buffer[copied] = '\0';
    }
    return static_cast<int>(value.size());
}

// One thread delivering events in order, like a real engine's thread.
class EventThread {
public:
    ~EventThread()
    {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        if (thread_.joinable())
            thread_.join();
    }

    void post(std::function<void()> event)
    {
        {
            std::lock_guard lock(mutex_);
            if (!thread_.joinable())
                thread_ = std::thread([this] { run(); });
            queue_.push_back(std::move(event));
            ++pending_;
        }
        changed_.notify_all();
    }

    bool waitIdle(std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [this] { return pending_ == 0; });
    }

private:
    void run()
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (queue_.empty())
                return;
            auto event = std::move(queue_.front());
            queue_.pop_front();
            lock.unlock();
            event();
            lock.lock();
            --pending_;
            changed_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> queue_;
    size_t pending_ = 0;
    bool stopping_ = false;
    std::thread thread_;
};

class ScriptedState {
public:
    int record(const char* name, std::vector<Arg> args)
    {
        std::lock_guard lock(mutex_);
        records_.push_back({name, std::move(args)});
        auto& queued = queuedResults_[name];
        if (!queued.empty()) {
            const int result = queued.front();
            queued.pop_front();
            return result;
        }
        const auto fixed = fixedResults_.find(name);
        if (fixed != fixedResults_.end())
            return fixed->second;
        if (std::strcmp(name, "dll_registerAccount") == 0)
            return nextAccountId_++;
        if (std::strcmp(name, "dll_makeCall") == 0)
            return nextCallId_++;
        return 0;
    }

    void reset()
    {
        std::lock_guard lock(mutex_);
        records_.clear();
        queuedResults_.clear();
        fixedResults_.clear();
        nextAccountId_ = 1;
        nextCallId_ = 1;
    }

    std::optional<Record> recordAt(int index)
    {
        std::lock_guard lock(mutex_);
        if (index < 0 || static_cast<size_t>(index) >= records_.size())
            return std::nullopt;
        return records_[static_cast<size_t>(index)];
    }

    int recordCount()
    {
        std::lock_guard lock(mutex_);
        return static_cast<int>(records_.size());
    }

    void setResult(const std::string& name, int result)
    {
        std::lock_guard lock(mutex_);
        fixedResults_[name] = result;
    }

    void queueResult(const std::string& name, int result)
    {
        std::lock_guard lock(mutex_);
        queuedResults_[name].push_back(result);
    }

    std::atomic<OrvantaRegStateCallback> regState{nullptr};
    std::atomic<OrvantaCallStateCallback> callState{nullptr};
    std::atomic<OrvantaCallIncomingCallback> incoming{nullptr};
    std::atomic<OrvantaDtmfDigitCallback> dtmf{nullptr};
    std::atomic<OrvantaCallHoldConfirmCallback> holdConfirm{nullptr};
    std::atomic<OrvantaMessageReceivedCallback> message{nullptr};
    EventThread events;

private:
    std::mutex mutex_;
    std::vector<Record> records_;
    std::map<std::string, std::deque<int>> queuedResults_;
    std::map<std::string, int> fixedResults_;
    int nextAccountId_ = 1;
    int nextCallId_ = 1;
};

ScriptedState& state()
{
    static ScriptedState instance;
    return instance;
}

const std::vector<std::string>& codecNames()
{
    static const std::vector<std::string> names{"PCMU/8000/1", "PCMA/8000/1", "G729/8000/1",
                                                "GSM/8000/1"};
    return names;
}

template <typename Callback, typename... Args>
void deliver(std::atomic<Callback>& slot, Args... args)
{
    state().events.post([&slot, args...] {
        if (auto callback = slot.load())
            callback(args...);
    });
}

}

extern "C" {

ORVANTA_API int dll_init(int size, int sprt)
{
    return state().record("dll_init", {number(size), number(sprt)});
}

ORVANTA_API int dll_registerAccount(const char* accountUri, const char* identityUri,
                                    const char* realm, const char* user, const char* password,
                                    const char* proxyUri, int flag, int rereg, int rtrp, int keep)
{
    return state().record("dll_registerAccount",
                          {text(accountUri), text(identityUri), text(realm), text(user),
                           text(password), text(proxyUri), number(flag), number(rereg),
                           number(rtrp), number(keep)});
}

ORVANTA_API int dll_makeCall(int accountId, const char* targetUri)
{
    return state().record("dll_makeCall", {number(accountId), text(targetUri)});
}

ORVANTA_API int dll_answerCall(int callId, int code)
{
    return state().record("dll_answerCall", {number(callId), number(code)});
}

ORVANTA_API int dll_releaseCall(int callId)
{
    return state().record("dll_releaseCall", {number(callId)});
}

ORVANTA_API int dll_holdCall(int callId)
{
    return state().record("dll_holdCall", {number(callId)});
}

ORVANTA_API int dll_retrieveCall(int callId)
{
    return state().record("dll_retrieveCall", {number(callId)});
}

ORVANTA_API int dll_xferCall(int callId, const char* targetUri)
{
    return state().record("dll_xferCall", {number(callId), text(targetUri)});
}

ORVANTA_API int dll_callConference(int callId)
{
    return state().record("dll_callConference", {number(callId)});
}

ORVANTA_API int dll_dialDtmf(int callId, const char* digit, int mode)
{
    return state().record("dll_dialDtmf", {number(callId), text(digit), number(mode)});
}

ORVANTA_API int dll_callRecording_start(int callId, const char* wavPath)
{
    return state().record("dll_callRecording_start", {number(callId), text(wavPath)});
}

ORVANTA_API int dll_callRecording_stop(void)
{
    return state().record("dll_callRecording_stop", {});
}

ORVANTA_API int dll_setCodecPriority(const char* codec, int priority)
{
    return state().record("dll_setCodecPriority", {text(codec), number(priority)});
}

ORVANTA_API int dll_sendMessage(int accountId, const char* recipientUri, const char* message)
{
    return state().record("dll_sendMessage",
                          {number(accountId), text(recipientUri), text(message)});
}

ORVANTA_API int dll_shutdown(void)
{
    return state().record("dll_shutdown", {});
}

ORVANTA_API int dll_setSIPEncryptionConfiguration(int on, int k1, int k0)
{
    return state().record("dll_setSIPEncryptionConfiguration",
                          {number(on), number(k1), number(k0)});
}

ORVANTA_API int dll_setRTPEncryptionConfiguration(int on, int k1, int k0, int flag, int p1, int p2,
                                                  int p0)
{
    return state().record(
        "dll_setRTPEncryptionConfiguration",
        {number(on), number(k1), number(k0), number(flag), number(p1), number(p2), number(p0)});
}

ORVANTA_API int dll_new_setSIPEncryptionConfiguration(int on, int k1, int k0, int k2)
{
    return state().record("dll_new_setSIPEncryptionConfiguration",
                          {number(on), number(k1), number(k0), number(k2)});
}

ORVANTA_API int dll_set_new_RTPEncryptionConfiguration(int on, int k1, int k0, int k2, int flag,
                                                       int p1, int p2, int p0)
{
    return state().record("dll_set_new_RTPEncryptionConfiguration",
                          {number(on), number(k1), number(k0), number(k2), number(flag), number(p1),
                           number(p2), number(p0)});
}

ORVANTA_API int dll_setSIPEncryptionConfiguration2(int on, const char* key)
{
    return state().record("dll_setSIPEncryptionConfiguration2", {number(on), text(key)});
}

ORVANTA_API int dll_setRTPEncryptionConfiguration2(int on, const char* key)
{
    return state().record("dll_setRTPEncryptionConfiguration2", {number(on), text(key)});
}

ORVANTA_API int dll_setLocalSipPort(int port)
{
    return state().record("dll_setLocalSipPort", {number(port)});
}

ORVANTA_API int dll_setFirstMediaPort(int port)
{
    return state().record("dll_setFirstMediaPort", {number(port)});
}

ORVANTA_API int dll_setStunServer(const char* host, int port)
{
    return state().record("dll_setStunServer", {text(host), number(port)});
}

ORVANTA_API int dll_getNumOfCodecs(void)
{
    state().record("dll_getNumOfCodecs", {});
    return static_cast<int>(codecNames().size());
}

ORVANTA_API int dll_getCodec(int index, char* buffer, int capacity)
{
    state().record("dll_getCodec", {number(index), number(capacity)});
    if (index < 0 || static_cast<size_t>(index) >= codecNames().size())
        return -1;
    return copyOut(codecNames()[static_cast<size_t>(index)], buffer, capacity);
}

ORVANTA_API void onRegStateCallback(OrvantaRegStateCallback callback)
{
    state().regState = callback;
}

ORVANTA_API void onCallStateCallback(OrvantaCallStateCallback callback)
{
    state().callState = callback;
}

ORVANTA_API void onCallIncoming(OrvantaCallIncomingCallback callback)
{
    state().incoming = callback;
}

ORVANTA_API void onDtmfDigitCallback(OrvantaDtmfDigitCallback callback)
{
    state().dtmf = callback;
}

ORVANTA_API void onCallHoldConfirmCallback(OrvantaCallHoldConfirmCallback callback)
{
    state().holdConfirm = callback;
}

ORVANTA_API void onMessageReceivedCallback(OrvantaMessageReceivedCallback callback)
{
    state().message = callback;
}

// ---- control ----

SCRIPTED_API void scripted_reset(void)
{
    state().reset();
}

SCRIPTED_API int scripted_recordCount(void)
{
    return state().recordCount();
}

SCRIPTED_API int scripted_recordName(int index, char* buffer, int capacity)
{
    const auto record = state().recordAt(index);
    return record ? copyOut(record->name, buffer, capacity) : -1;
}

SCRIPTED_API int scripted_recordArgCount(int index)
{
    const auto record = state().recordAt(index);
    return record ? static_cast<int>(record->args.size()) : -1;
}

SCRIPTED_API int scripted_recordArg(int index, int arg, char* buffer, int capacity)
{
    const auto record = state().recordAt(index);
    if (!record || arg < 0 || static_cast<size_t>(arg) >= record->args.size())
        return -1;
    const auto& value = record->args[static_cast<size_t>(arg)];
    return value ? copyOut(*value, buffer, capacity) : -2;
}

SCRIPTED_API void scripted_setResult(const char* entryPoint, int result)
{
    if (entryPoint)
        state().setResult(entryPoint, result);
}

SCRIPTED_API void scripted_queueResult(const char* entryPoint, int result)
{
    if (entryPoint)
        state().queueResult(entryPoint, result);
}

SCRIPTED_API void scripted_fireRegState(int accountId, int sipCode)
{
    deliver(state().regState, accountId, sipCode);
}

SCRIPTED_API void scripted_fireCallState(int callId, int callState)
{
    deliver(state().callState, callId, callState);
}

SCRIPTED_API void scripted_fireIncoming(int callId, const char* callerUri)
{
    auto& slot = state().incoming;
    state().events.post([&slot, callId, caller = text(callerUri).value_or("")] {
        if (auto callback = slot.load())
            callback(callId, caller.c_str());
    });
}

SCRIPTED_API void scripted_fireDtmf(int callId, int digit)
{
    deliver(state().dtmf, callId, digit);
}

SCRIPTED_API void scripted_fireHoldConfirm(int callId)
{
    deliver(state().holdConfirm, callId);
}

SCRIPTED_API void scripted_fireMessage(const char* senderUri, const char* message)
{
    auto& slot = state().message;
    state().events.post(
        [&slot, sender = text(senderUri).value_or(""), body = text(message).value_or("")] {
            if (auto callback = slot.load())
                callback(sender.c_str(), body.c_str());
        });
}

SCRIPTED_API int scripted_waitIdle(int timeoutMs)
{
    return state().events.waitIdle(std::chrono::milliseconds(std::max(timeoutMs, 0))) ? 1 : 0;
}

SCRIPTED_API int scripted_hasCallback(const char* setterName)
{
    if (!setterName)
        return 0;
    const std::string name = setterName;
    auto& s = state();
    if (name == "onRegStateCallback")
        return s.regState.load() != nullptr;
    if (name == "onCallStateCallback")
        return s.callState.load() != nullptr;
    if (name == "onCallIncoming")
        return s.incoming.load() != nullptr;
    if (name == "onDtmfDigitCallback")
        return s.dtmf.load() != nullptr;
    if (name == "onCallHoldConfirmCallback")
        return s.holdConfirm.load() != nullptr;
    if (name == "onMessageReceivedCallback")
        return s.message.load() != nullptr;
    return 0;
}
}
