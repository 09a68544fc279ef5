#include "EngineThread.h"

namespace orvanta::engine {

void PlainSleeper::sleep(std::chrono::milliseconds limit)
{
    std::unique_lock lock(mutex_);
    woken_.wait_for(lock, limit, [this] { return pending_; });
    pending_ = false;
}

void PlainSleeper::wake()
{
    {
        std::lock_guard lock(mutex_);
        pending_ = true;
    }
    woken_.notify_one();
}

EngineThread::~EngineThread()
{
    if (thread_.joinable())
        stop({});
}

bool EngineThread::start(std::function<bool()> setup, Rounds rounds, bool waitForSetup,
                         Command onSetupFailed)
{
    rounds_ = std::move(rounds);
    {
        // Commands may queue while setup runs; they wait for its outcome.
        std::lock_guard lock(mutex_);
        accepting_ = true;
        stopping_ = false;
    }
    if (!waitForSetup) {
        thread_ = std::thread(
            [this, setup = std::move(setup), onSetupFailed = std::move(onSetupFailed)]() mutable {
                run(std::move(setup), std::move(onSetupFailed), nullptr);
            });
        return true;
    }
    // The thread owns nothing on this stack but the promise, which this call
    // keeps alive until the result is in.
    std::promise<bool> started;
    auto result = started.get_future();
    thread_ = std::thread([this, setup = std::move(setup), &started]() mutable {
        run(std::move(setup), {}, &started);
    });
    if (result.get())
        return true;
    thread_.join();
    return false;
}

void EngineThread::useSleeper(Sleeper* sleeper)
{
    sleeper_ = sleeper ? sleeper : &plainSleeper_;
}

void EngineThread::run(std::function<bool()> setup, Command onSetupFailed,
                       std::promise<bool>* started)
{
    threadId_ = std::this_thread::get_id();
    const bool ok = setup();
    if (!ok) {
        {
            std::lock_guard lock(mutex_);
            accepting_ = false;
            queue_.clear();
        }
        if (onSetupFailed)
            onSetupFailed();
    }
    if (started)
        started->set_value(ok);
    if (!ok)
        return;

    for (;;) {
        std::deque<Command> batch;
        bool stopping = false;
        {
            std::lock_guard lock(mutex_);
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
            sleeper_ = &plainSleeper_;
            return;
        }
        rounds_.round();
        const auto wait = rounds_.nextWait();
        {
            std::lock_guard lock(mutex_);
            if (!queue_.empty() || stopping_)
                continue;
        }
        if (wait.count() > 0)
            sleeper_.load()->sleep(wait);
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
    wake();
    return true;
}

void EngineThread::wake()
{
    sleeper_.load()->wake();
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
    wake();
    if (thread_.joinable() && !isCurrentThread())
        thread_.join();
}

bool EngineThread::isCurrentThread() const
{
    return threadId_.load() == std::this_thread::get_id();
}

}
