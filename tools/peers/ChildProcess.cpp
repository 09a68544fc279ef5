#include "peers/ChildProcess.h"

#include <fcntl.h>
#include <fstream>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace orvanta::test {

ChildProcess::~ChildProcess()
{
    stop();
}

bool ChildProcess::start(const std::string& program, const std::vector<std::string>& args,
                         const std::filesystem::path& logFile, Input input,
                         const std::vector<std::string>& extraEnvironment)
{
    logFile_ = logFile;
    std::vector<std::string> argStore{program};
    argStore.insert(argStore.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& arg : argStore)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    std::vector<std::string> envStore;
    for (char** entry = environ; *entry; ++entry)
        envStore.emplace_back(*entry);
    envStore.insert(envStore.end(), extraEnvironment.begin(), extraEnvironment.end());
    std::vector<char*> envp;
    for (auto& entry : envStore)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    int pipeEnds[2] = {-1, -1};
    if (input == Input::OpenPipe && ::pipe2(pipeEnds, O_CLOEXEC) == 0) {
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], STDIN_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    }
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, logFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    pid_t pid = -1;
    startedAt_ =
        std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
    const int result =
        posix_spawnp(&pid, program.c_str(), &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (pipeEnds[0] >= 0)
        ::close(pipeEnds[0]);
    stdinWriter_ = pipeEnds[1];
    if (result != 0)
        return false;
    pid_ = pid;
    return true;
}

bool ChildProcess::writeInput(const std::string& text)
{
    if (stdinWriter_ < 0)
        return false;
    return ::write(stdinWriter_, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

bool ChildProcess::isRunning()
{
    if (pid_ <= 0)
        return false;
    int status = 0;
    const pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == 0)
        return true;
    exitCode_ = done == pid_ && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    pid_ = -1;
    return false;
}

int ChildProcess::waitForExit(std::chrono::milliseconds timeout)
{
    if (!waitUntil([this] { return !isRunning(); }, timeout))
        return -1;
    return exitCode_;
}

void ChildProcess::stop()
{
    if (stdinWriter_ >= 0)
        ::close(stdinWriter_);
    stdinWriter_ = -1;
    if (pid_ <= 0)
        return;
    const pid_t group = pid_;
    ::kill(-group, SIGTERM);
    if (waitUntil([this] { return !isRunning(); }, std::chrono::milliseconds(2000))) {
        ::kill(-group, SIGKILL);  // stragglers of the group
        return;
    }
    ::kill(-group, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

std::string ChildProcess::output() const
{
    std::ifstream in(logFile_);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}
