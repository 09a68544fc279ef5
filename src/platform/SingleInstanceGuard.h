#pragma once

#include <string>

namespace orvanta::platform {

// Per-user guard that lets one copy of the application run at a time. The
// lock is held for the life of the object and released by the system when
// the process dies, however it dies.
class SingleInstanceGuard {
public:
    explicit SingleInstanceGuard(const std::string& name);
    ~SingleInstanceGuard();
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

    // True when this copy holds the guard; false when another copy does or
    // the lock file cannot be opened.
    bool acquired() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

}
