#pragma once

#include <functional>

namespace orvanta {

// Counts a model's requests in flight and reports when it becomes busy and
// when it is idle again.
class BusyTracker {
public:
    explicit BusyTracker(std::function<void(bool)> changed) : changed_(std::move(changed)) {}

    bool busy() const { return inFlight_ > 0; }
    void begin()
    {
        if (inFlight_++ == 0) {
            changed_(true);
        }
    }
    void end()
    {
        if (inFlight_ > 0 && --inFlight_ == 0) {
            changed_(false);
        }
    }

private:
    std::function<void(bool)> changed_;
    int inFlight_ = 0;
};

}
