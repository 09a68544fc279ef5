#pragma once

#include <functional>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvanta::test {

namespace detail {

enum class ChildRun { Killed, Failed, Stuck };

inline ChildRun runOnceThenSigkill(const std::function<void()>& work)
{
    int ready[2];
    if (pipe(ready) != 0) {
        return ChildRun::Failed;
    }
    const pid_t child = fork();
    if (child < 0) {
        return ChildRun::Failed;
    }
    if (child == 0) {
        close(ready[0]);
        work();
        const char done = 1;
        [[maybe_unused]] const ssize_t written = write(ready[1], &done, 1);
        pause();
        _exit(0);
    }
    close(ready[1]);
    pollfd wait{ready[0], POLLIN, 0};
    char done = 0;
    const bool answered = poll(&wait, 1, 15000) == 1;
    const bool worked = answered && read(ready[0], &done, 1) == 1;
    close(ready[0]);
    kill(child, SIGKILL);
    int status = 0;
    const bool killed =
        waitpid(child, &status, 0) == child && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    if (!answered) {
        return ChildRun::Stuck;
    }
    return worked && killed ? ChildRun::Killed : ChildRun::Failed;
}

}

// Runs work in a child process and, once it is done, kills the child with
// SIGKILL, as a crash or a power cut ends the dialer: no quit path runs.
// True when the child did the work and died by the signal. A child forked
// from a threaded test process can inherit a lock another thread held (the
// sanitizers' allocator shows it): a child stuck that way is tried once more.
inline bool runThenSigkill(const std::function<void()>& work)
{
    detail::ChildRun run = detail::runOnceThenSigkill(work);
    if (run == detail::ChildRun::Stuck) {
        run = detail::runOnceThenSigkill(work);
    }
    return run == detail::ChildRun::Killed;
}

}
