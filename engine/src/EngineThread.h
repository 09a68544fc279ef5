#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

namespace orvanta::engine {

// How the engine thread waits between rounds. sleep runs on the engine
// thread only; wake may be called from any thread, also while no sleep is
// in progress: the next sleep then returns at once.
class Sleeper {
public:
    virtual ~Sleeper() = default;
    virtual void sleep(std::chrono::milliseconds limit) = 0;
    virtual void wake() = 0;
};

// Waits on a condition variable: the thread's own sleeper until the engine
// installs a better one.
class PlainSleeper final : public Sleeper {
public:
    void sleep(std::chrono::milliseconds limit) override;
    void wake() override;

private:
    std::mutex mutex_;
    std::condition_variable woken_;
    bool pending_ = false;
};

// The one thread that owns the SIP core: it runs queued commands in order,
// then a round of the core's work, then sleeps until a command arrives, the
// sleeper is woken, or the time the engine asked for has passed. Everything
// the core touches happens here, because the core is not thread-safe.
class EngineThread {
public:
    using Command = std::function<void()>;
    struct Rounds {
        // Runs after the commands of each wake-up.
        Command round;
        // How long the thread may sleep after a round.
        std::function<std::chrono::milliseconds()> nextWait;
    };

    EngineThread() = default;
    ~EngineThread();
    EngineThread(const EngineThread&) = delete;
    EngineThread& operator=(const EngineThread&) = delete;

    // Starts the thread and runs setup on it. With waitForSetup the call
    // returns setup's result; otherwise it returns true at once, commands
    // posted meanwhile run after a successful setup, and a failed setup
    // drops them and calls onSetupFailed on the thread.
    bool start(std::function<bool()> setup, Rounds rounds, bool waitForSetup = true,
               Command onSetupFailed = {});

    // Only from setup, on the thread: the sleeper used from then on. It must
    // outlive the thread.
    void useSleeper(Sleeper* sleeper);

    // Queues a command; false when the thread no longer accepts work.
    bool post(Command command);
    // Ends the current sleep early (any thread, callbacks included).
    void wake();

    // Runs teardown on the thread after the commands already queued, then
    // ends the thread and waits for it. A thread whose setup is still running
    // finishes it first.
    void stop(Command teardown);

    bool isCurrentThread() const;

private:
    void run(std::function<bool()> setup, Command onSetupFailed, std::promise<bool>* started);

    Rounds rounds_;
    std::thread thread_;
    std::mutex mutex_;
    std::deque<Command> queue_;
    bool accepting_ = false;
    bool stopping_ = false;
    PlainSleeper plainSleeper_;
    std::atomic<Sleeper*> sleeper_{&plainSleeper_};
    std::atomic<std::thread::id> threadId_{};
};

}
