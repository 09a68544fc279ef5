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

// The one thread that owns the SIP core: it runs queued commands in order and
// calls a periodic tick between them. Everything the core touches happens
// here, because the core is not thread-safe.
class EngineThread {
public:
    using Command = std::function<void()>;

    explicit EngineThread(std::chrono::milliseconds tickInterval);
    ~EngineThread();
    EngineThread(const EngineThread&) = delete;
    EngineThread& operator=(const EngineThread&) = delete;

    // Starts the thread, runs setup on it and waits for its result. When
    // setup fails the thread ends and start returns false.
    bool start(std::function<bool()> setup, Command tick);

    // Queues a command; false when the thread no longer accepts work.
    bool post(Command command);

    // Runs teardown on the thread after the commands already queued, then
    // ends the thread and waits for it.
    void stop(Command teardown);

    bool isCurrentThread() const;

private:
    void run(std::function<bool()> setup, std::promise<bool>& started);

    const std::chrono::milliseconds tickInterval_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable wakeUp_;
    std::deque<Command> queue_;
    Command tick_;
    bool accepting_ = false;
    bool stopping_ = false;
    std::atomic<std::thread::id> threadId_{};
};

}
