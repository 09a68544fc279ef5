#include "audio/FreeSlots.h"

namespace orvanta {

bool FreeSlots::acquire(std::stop_token stop)
{
    std::unique_lock lock(mutex_);
    if (!freed_.wait(lock, stop, [this] { return free_ > 0; })) {
        return false;
    }
    --free_;
    return true;
}

void FreeSlots::release()
{
    {
        std::lock_guard lock(mutex_);
        if (free_ == most_) {
            return;
        }
        ++free_;
    }
    freed_.notify_all();
}

int FreeSlots::available() const
{
    std::lock_guard lock(mutex_);
    return free_;
}

}
