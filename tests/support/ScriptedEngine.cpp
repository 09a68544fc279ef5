#include "support/ScriptedEngine.h"

#include "support/TestEnvironment.h"

#include <stdexcept>

namespace orvanta::test {

int ScriptedEngine::Call::intArg(size_t index) const
{
    if (index >= args.size() || !args[index])
        throw std::out_of_range(name + ": no integer argument " + std::to_string(index));
    return std::stoi(*args[index]);
}

std::string ScriptedEngine::Call::textArg(size_t index) const
{
    if (index >= args.size())
        throw std::out_of_range(name + ": no argument " + std::to_string(index));
    return args[index].value_or(std::string());
}

template <typename Function>
Function ScriptedEngine::bind(const char* name)
{
    auto function = library_.resolve<Function>(name);
    if (!function && error_.empty())
        error_ = std::string("missing ") + name;
    return function;
}

bool ScriptedEngine::load(const std::filesystem::path& path)
{
    path_ = path.empty() ? binDir() / kFileName : path;
    error_.clear();
    if (!library_.load(path_.string())) {
        error_ = library_.error();
        return false;
    }
    reset_ = bind<decltype(reset_)>("scripted_reset");
    recordCount_ = bind<decltype(recordCount_)>("scripted_recordCount");
    recordName_ = bind<decltype(recordName_)>("scripted_recordName");
    recordArgCount_ = bind<decltype(recordArgCount_)>("scripted_recordArgCount");
    recordArg_ = bind<decltype(recordArg_)>("scripted_recordArg");
    setResult_ = bind<decltype(setResult_)>("scripted_setResult");
    queueResult_ = bind<decltype(queueResult_)>("scripted_queueResult");
    fireRegState_ = bind<decltype(fireRegState_)>("scripted_fireRegState");
    fireCallState_ = bind<decltype(fireCallState_)>("scripted_fireCallState");
    fireIncoming_ = bind<decltype(fireIncoming_)>("scripted_fireIncoming");
    fireDtmf_ = bind<decltype(fireDtmf_)>("scripted_fireDtmf");
    fireHoldConfirm_ = bind<decltype(fireHoldConfirm_)>("scripted_fireHoldConfirm");
    fireMessage_ = bind<decltype(fireMessage_)>("scripted_fireMessage");
    waitIdle_ = bind<decltype(waitIdle_)>("scripted_waitIdle");
    hasCallback_ = bind<decltype(hasCallback_)>("scripted_hasCallback");
    return error_.empty();
}

std::vector<ScriptedEngine::Call> ScriptedEngine::calls() const
{
    std::vector<Call> result;
    const int count = recordCount_();
    auto readText = [](auto reader) -> std::optional<std::string> {
        const int length = reader(nullptr, 0);
        if (length == -2)
            return std::nullopt;
        if (length < 0)
            return std::string();
        std::string text(static_cast<size_t>(length) + 1, '\0');
        reader(text.data(), length + 1);
        text.resize(static_cast<size_t>(length));
        return text;
    };
    for (int i = 0; i < count; ++i) {
        Call call;
        call.name = readText([&](char* buffer, int capacity) {
                        return recordName_(i, buffer, capacity);
                    }).value_or(std::string());
        const int argCount = recordArgCount_(i);
        for (int a = 0; a < argCount; ++a)
            call.args.push_back(readText(
                [&](char* buffer, int capacity) { return recordArg_(i, a, buffer, capacity); }));
        result.push_back(std::move(call));
    }
    return result;
}

std::vector<ScriptedEngine::Call> ScriptedEngine::callsTo(const std::string& entryPoint) const
{
    std::vector<Call> result;
    for (auto& call : calls()) {
        if (call.name == entryPoint)
            result.push_back(std::move(call));
    }
    return result;
}

void ScriptedEngine::reset()
{
    reset_();
}

void ScriptedEngine::setResult(const std::string& entryPoint, int result)
{
    setResult_(entryPoint.c_str(), result);
}

void ScriptedEngine::queueResult(const std::string& entryPoint, int result)
{
    queueResult_(entryPoint.c_str(), result);
}

void ScriptedEngine::fireRegistration(int accountId, int sipCode)
{
    fireRegState_(accountId, sipCode);
}

void ScriptedEngine::fireCallState(int callId, int state)
{
    fireCallState_(callId, state);
}

void ScriptedEngine::fireIncoming(int callId, const std::string& callerUri)
{
    fireIncoming_(callId, callerUri.c_str());
}

void ScriptedEngine::fireDtmf(int callId, int digit)
{
    fireDtmf_(callId, digit);
}

void ScriptedEngine::fireHoldConfirm(int callId)
{
    fireHoldConfirm_(callId);
}

void ScriptedEngine::fireMessage(const std::string& senderUri, const std::string& text)
{
    fireMessage_(senderUri.c_str(), text.c_str());
}

bool ScriptedEngine::waitIdle(std::chrono::milliseconds timeout)
{
    return waitIdle_(static_cast<int>(timeout.count())) == 1;
}

bool ScriptedEngine::hasCallback(const std::string& setterName) const
{
    return hasCallback_(setterName.c_str()) == 1;
}

}
