#include "EngineThread.h"

namespace orvanta::engine {

EngineThread::EngineThread(std::chrono::milliseconds tickInterval) : tickInterval_(tickInterval) {}

EngineThread::~EngineThread()
{
    if (thread_.joinable())
        stop({});
}

bool EngineThread::start(std::function<bool()> setup, Command tick)
{
    tick_ = std::move(tick);
    // The thread owns the promise, so nothing it touches lives on this stack.
    std::promise<bool> started;
    auto result = started.get_future();
    thread_ = std::thread([this, setup = std::move(setup), started = std::move(started)]() mutable {
        run(std::move(setup), started);
    });
    if (result.get())
        return true;
    thread_.join();
    return false;
}

void EngineThread::run(std::function<bool()> setup, std::promise<bool>& started)
{
    threadId_ = std::this_thread::get_id();
    const bool ok = setup();
    {
        std::lock_guard lock(mutex_);
        accepting_ = ok;
    }
    started.set_value(ok);
    if (!ok)
        return;

    auto nextTick = std::chrono::steady_clock::now();
    for (;;) {
        std::deque<Command> batch;
        bool stopping = false;
        {
            std::unique_lock lock(mutex_);
            wakeUp_.wait_until(lock, nextTick, [this] { return !queue_.empty() || stopping_; });
            batch.swap(queue_);
            stopping = stopping_;
        }
        for (auto& command : batch)
            command();
        if (stopping) {
            // Commands posted by the ones just run (for example by a callback
            // during teardown) are dropped: the engine is gone.
            std::lock_guard lock(mutex_);
            queue_.clear();
            return;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= nextTick) {
            tick_();
            nextTick = now + tickInterval_;
        }
    }
}

bool EngineThread::post(Command command)
{
    {
        std::lock_guard lock(mutex_);
        if (!accepting_)
            return false;
        queue_.push_back(std::move(command));
    }
    wakeUp_.notify_one();
    return true;
}

void EngineThread::stop(Command teardown)
{
    {
        std::lock_guard lock(mutex_);
        if (accepting_ && teardown)
            queue_.push_back(std::move(teardown));
        accepting_ = false;
        stopping_ = true;
    }
    wakeUp_.notify_one();
    if (thread_.joinable() && !isCurrentThread())
        thread_.join();
}

bool EngineThread::isCurrentThread() const
{
    return threadId_.load() == std::this_thread::get_id();
}

}
