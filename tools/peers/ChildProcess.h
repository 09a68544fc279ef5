#pragma once

#include <chrono>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace orvanta::test {

// A helper program started in its own process group with its output in a
// log file. The destructor stops the whole group (also on test failure).
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    enum class Input { Null, OpenPipe };

    // Starts program (looked up in PATH) with args; stdout and stderr go to
    // logFile. Input::OpenPipe gives it a stdin that stays open and silent
    // (for programs that poll their terminal). Returns false when it could
    // not be started.
    bool start(const std::string& program, const std::vector<std::string>& args,
               const std::filesystem::path& logFile, Input input = Input::Null,
               const std::vector<std::string>& extraEnvironment = {});
    bool isRunning();
    // Waits for the program to end; its exit code, or -1 on timeout/signal.
    int waitForExit(std::chrono::milliseconds timeout);
    void stop();

    int pid() const { return pid_; }
    // Wall-clock seconds at the start.
    double startedAt() const { return startedAt_; }
    // Writes to the stdin of a program started with Input::OpenPipe.
    bool writeInput(const std::string& text);
    std::string output() const;
    const std::filesystem::path& logFile() const { return logFile_; }

private:
    int pid_ = -1;
    int exitCode_ = -1;
    int stdinWriter_ = -1;
    double startedAt_ = 0;
    std::filesystem::path logFile_;
};

// Polls condition every 20 ms until it holds or timeout passes.
template <typename Condition>
bool waitUntil(Condition condition, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        struct timespec pause {
            0, 20 * 1000 * 1000
        };
        nanosleep(&pause, nullptr);
    }
    return true;
}

}
