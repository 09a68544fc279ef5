#pragma once

#include <functional>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvanta::test {

// Runs work in a child process and, once it is done, kills the child with
// SIGKILL, as a crash or a power cut ends the dialer: no quit path runs.
// True when the child did the work and died by the signal.
inline bool runThenSigkill(const std::function<void()>& work)
{
    int ready[2];
    if (pipe(ready) != 0) {
        return false;
    }
    const pid_t child = fork();
    if (child < 0) {
        return false;
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
    char done = 0;
    const bool worked = read(ready[0], &done, 1) == 1;
    close(ready[0]);
    kill(child, SIGKILL);
    int status = 0;
    const bool killed =
        waitpid(child, &status, 0) == child && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    return worked && killed;
}

}
