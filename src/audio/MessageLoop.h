#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace orvanta {

// A thread with its own queue of typed messages, handled one at a time in
// the order posted. Messages left in the queue when the thread ends are
// destroyed with it (and whatever they own with them).
template <typename Message>
class MessageLoop {
public:
    // Handles one message; false ends the thread.
    using Handler = std::function<bool(Message&)>;

    MessageLoop() = default;
    ~MessageLoop()
    {
        if (thread_.joinable()) {
            thread_.join();
        }
    }
    MessageLoop(const MessageLoop&) = delete;
    MessageLoop& operator=(const MessageLoop&) = delete;

    void start(Handler handler)
    {
        thread_ = std::thread([this, handler = std::move(handler)] { run(handler); });
    }

    void post(Message message)
    {
        {
            std::lock_guard lock(mutex_);
            queue_.push_back(std::move(message));
        }
        wake_.notify_all();
    }

    // Posts the message that ends the thread and waits for the end.
    void stop(Message quit)
    {
        if (!thread_.joinable()) {
            return;
        }
        post(std::move(quit));
        thread_.join();
    }

    // True once every message posted so far has been handled.
    bool waitUntilIdle(std::chrono::milliseconds limit)
    {
        std::unique_lock lock(mutex_);
        return wake_.wait_for(lock, limit, [this] { return queue_.empty() && !busy_; });
    }

private:
    void run(const Handler& handler)
    {
        for (;;) {
            Message message;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [this] { return !queue_.empty(); });
                message = std::move(queue_.front());
                queue_.pop_front();
                busy_ = true;
            }
            const bool goOn = handler(message);
            {
                std::lock_guard lock(mutex_);
                busy_ = false;
            }
            wake_.notify_all();
            if (!goOn) {
                return;
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Message> queue_;
    bool busy_ = false;
    std::thread thread_;
};

}
