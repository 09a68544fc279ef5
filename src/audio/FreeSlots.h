#pragma once

#include <condition_variable>
#include <mutex>
#include <stop_token>

namespace orvanta {

// A counting semaphore that never counts past its initial value: returning
// a slot nobody took is harmless. Waiting ends early on a stop request.
class FreeSlots {
public:
    explicit FreeSlots(int slots) : free_(slots), most_(slots) {}

    // Takes a slot; false when stop was requested before one was free.
    bool acquire(std::stop_token stop);
    void release();
    int available() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable_any freed_;
    int free_;
    const int most_;
};

}
