#include "peers/EngineEvents.h"

namespace orvanta::test {

namespace {

int onRegistration(int accountId, int code)
{
    EngineEvents::instance().record(
        {EngineEvents::Kind::Registration, accountId, code, {}, {}, {}});
    return 1;
}

int onCallState(int callId, int state)
{
    EngineEvents::instance().record({EngineEvents::Kind::CallState, callId, state, {}, {}, {}});
    return 1;
}

int onIncoming(int callId, const char* caller)
{
    EngineEvents::instance().record(
        {EngineEvents::Kind::Incoming, callId, 0, caller ? caller : "", {}, {}});
    return 1;
}

int onDtmf(int callId, int digit)
{
    EngineEvents::instance().record({EngineEvents::Kind::Dtmf, callId, digit, {}, {}, {}});
    return 1;
}

int onHold(int callId)
{
    EngineEvents::instance().record({EngineEvents::Kind::HoldConfirmed, callId, 0, {}, {}, {}});
    return 1;
}

int onMessage(const char* sender, const char* text)
{
    EngineEvents::instance().record(
        {EngineEvents::Kind::Message, 0, 0, sender ? sender : "", text ? text : "", {}});
    return 1;
}

}

EngineEvents& EngineEvents::instance()
{
    static EngineEvents events;
    return events;
}

void EngineEvents::install(const EngineApi& api)
{
    api.setRegStateCallback(&onRegistration);
    api.setCallStateCallback(&onCallState);
    api.setCallIncomingCallback(&onIncoming);
    api.setDtmfDigitCallback(&onDtmf);
    api.setCallHoldConfirmCallback(&onHold);
    api.setMessageReceivedCallback(&onMessage);
}

void EngineEvents::record(Event event)
{
    event.thread = std::this_thread::get_id();
    {
        std::lock_guard lock(mutex_);
        events_.push_back(std::move(event));
    }
    changed_.notify_all();
}

void EngineEvents::clear()
{
    std::lock_guard lock(mutex_);
    events_.clear();
}

std::vector<EngineEvents::Event> EngineEvents::all() const
{
    std::lock_guard lock(mutex_);
    return events_;
}

template <typename Predicate>
std::optional<EngineEvents::Event> EngineEvents::waitMatching(Predicate predicate,
                                                              std::chrono::milliseconds timeout)
{
    std::unique_lock lock(mutex_);
    std::optional<Event> found;
    changed_.wait_for(lock, timeout, [&] {
        size_t position = 0;
        for (const auto& event : events_) {
            if (predicate(event, position++)) {
                found = event;
                return true;
            }
        }
        return false;
    });
    return found;
}

std::optional<int> EngineEvents::waitForRegistration(int accountId,
                                                     std::chrono::milliseconds timeout)
{
    return waitForRegistrationNumber(accountId, 0, timeout);
}

std::optional<int> EngineEvents::waitForRegistrationNumber(int accountId, size_t index,
                                                           std::chrono::milliseconds timeout)
{
    size_t seen = 0;
    const auto event = waitMatching(
        [&](const Event& e, size_t position) {
            if (position == 0)
                seen = 0;
            return e.kind == Kind::Registration && e.id == accountId && seen++ == index;
        },
        timeout);
    if (!event)
        return std::nullopt;
    return event->value;
}

bool EngineEvents::waitForCallState(int callId, int state, std::chrono::milliseconds timeout)
{
    return waitMatching(
               [&](const Event& e, size_t) {
                   return e.kind == Kind::CallState && e.id == callId && e.value == state;
               },
               timeout)
        .has_value();
}

std::optional<int> EngineEvents::waitForAnyCallState(int state, const std::vector<int>& exclude,
                                                     std::chrono::milliseconds timeout)
{
    auto event = waitMatching(
        [&](const Event& e, size_t) {
            if (e.kind != Kind::CallState || e.value != state)
                return false;
            for (int id : exclude) {
                if (id == e.id)
                    return false;
            }
            return true;
        },
        timeout);
    if (!event)
        return std::nullopt;
    return event->id;
}

std::optional<EngineEvents::Event> EngineEvents::waitFor(Kind kind,
                                                         std::chrono::milliseconds timeout)
{
    return waitMatching([&](const Event& e, size_t) { return e.kind == kind; }, timeout);
}

std::vector<int> EngineEvents::callStates(int callId) const
{
    std::lock_guard lock(mutex_);
    std::vector<int> states;
    for (const auto& e : events_) {
        if (e.kind == Kind::CallState && e.id == callId)
            states.push_back(e.value);
    }
    return states;
}

bool EngineEvents::quietFor(std::chrono::milliseconds time)
{
    const size_t before = all().size();
    std::this_thread::sleep_for(time);
    return all().size() == before;
}

}
