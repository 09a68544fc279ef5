#pragma once

#include "telephony/EngineLibrary.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace orvanta::test {

// Everything the engine reported through its callbacks, in order, with the
// thread each callback ran on.
class EngineEvents {
public:
    enum class Kind { Registration, CallState, Incoming, Dtmf, HoldConfirmed, Message };
    struct Event {
        Kind kind;
        int id = 0;        // account or call id
        int value = 0;     // SIP code, call state or digit
        std::string text;  // caller or sender URI
        std::string body;  // message text
        std::thread::id thread;
    };

    static EngineEvents& instance();
    // Installs the recording callbacks into a loaded engine.
    static void install(const EngineApi& api);

    void record(Event event);
    void clear();
    std::vector<Event> all() const;

    // The first registration result for accountId.
    std::optional<int> waitForRegistration(int accountId, std::chrono::milliseconds timeout);
    // The registration result number index (0-based) of accountId.
    std::optional<int> waitForRegistrationNumber(int accountId, size_t index,
                                                 std::chrono::milliseconds timeout);
    bool waitForCallState(int callId, int state, std::chrono::milliseconds timeout);
    // The first call reporting `state` whose id is not in `exclude`.
    std::optional<int> waitForAnyCallState(int state, const std::vector<int>& exclude,
                                           std::chrono::milliseconds timeout);
    std::optional<Event> waitFor(Kind kind, std::chrono::milliseconds timeout);
    std::vector<int> callStates(int callId) const;
    // True when nothing at all was recorded during the given time.
    bool quietFor(std::chrono::milliseconds time);

private:
    template <typename Predicate>
    std::optional<Event> waitMatching(Predicate predicate, std::chrono::milliseconds timeout);

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Event> events_;
};

}
