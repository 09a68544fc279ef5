#include "support/ServiceProcess.h"

#include "support/TestEnvironment.h"

#include <httplib.h>
#include <rapidjson/document.h>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvanta::test {

namespace {

std::map<std::string, std::string> stringMembers(const rapidjson::Value& object)
{
    std::map<std::string, std::string> result;
    if (!object.IsObject())
        return result;
    for (const auto& member : object.GetObject()) {
        if (member.value.IsString())
            result[std::string(member.name.GetString(), member.name.GetStringLength())] =
                std::string(member.value.GetString(), member.value.GetStringLength());
    }
    return result;
}

bool waitForExit(pid_t pid, int& status, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (waitpid(pid, &status, WNOHANG) == pid)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

}

ServiceProcess::~ServiceProcess()
{
    stop();
}

bool ServiceProcess::start(const std::filesystem::path& scenario,
                           const std::vector<std::string>& extraArgs)
{
    stop();
    {
        std::lock_guard lock(mutex_);
        lines_.clear();
        requests_.clear();
        services_.clear();
        ready_ = false;
        ended_ = false;
    }
    error_.clear();
    const std::string program = (binDir() / "orvanta-service").string();
    std::vector<std::string> args{program, "--scenario", scenario.string()};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    // stderr goes to a temporary file so a refused start can tell why.
    char errorPath[] = "/tmp/orvanta-service-stderr-XXXXXX";
    const int errorFd = mkstemp(errorPath);
    int out[2];
    if (errorFd < 0 || pipe2(out, O_CLOEXEC) != 0) {
        error_ = "cannot create pipes";
        return false;
    }
    unlink(errorPath);
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(127);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        dup2(out[1], STDOUT_FILENO);
        dup2(errorFd, STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    if (pid_ < 0) {
        close(out[0]);
        close(errorFd);
        error_ = "fork failed";
        return false;
    }
    reader_ = std::thread([this, fd = out[0]] { readOutput(fd); });

    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::seconds(5), [this] { return ready_ || ended_; });
    const bool ready = ready_;
    lock.unlock();
    if (!ready) {
        stop();
        std::string text(4096, '\0');
        const ssize_t n = pread(errorFd, text.data(), text.size(), 0);
        text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        error_ = text.empty() ? "service did not get ready" : text;
    }
    close(errorFd);
    return ready;
}

int ServiceProcess::stop()
{
    if (pid_ <= 0)
        return -1;
    int status = 0;
    kill(pid_, SIGTERM);
    bool exited = waitForExit(pid_, status, std::chrono::seconds(5));
    if (!exited) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
    }
    pid_ = -1;
    if (reader_.joinable())
        reader_.join();
    return exited && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void ServiceProcess::readOutput(int fd)
{
    std::string pending;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        pending.append(buffer, static_cast<std::size_t>(n));
        std::size_t newline;
        while ((newline = pending.find('\n')) != std::string::npos) {
            handleLine(pending.substr(0, newline));
            pending.erase(0, newline + 1);
        }
    }
    close(fd);
    std::lock_guard lock(mutex_);
    ended_ = true;
    changed_.notify_all();
}

void ServiceProcess::handleLine(const std::string& line)
{
    rapidjson::Document document;
    document.Parse(line.c_str(), line.size());
    std::lock_guard lock(mutex_);
    lines_.push_back(line);
    if (!document.HasParseError() && document.IsObject() && document.HasMember("event") &&
        document["event"].IsString()) {
        const std::string event = document["event"].GetString();
        auto members = stringMembers(document);
        if (event == "listening" && document.HasMember("port") && document["port"].IsInt()) {
            services_[members["service"]] = {document["port"].GetInt(), members["url"]};
        } else if (event == "ready") {
            ready_ = true;
        } else if (event == "request") {
            LoggedRequest r;
            r.endpoint = members["endpoint"];
            r.method = members["method"];
            r.path = members["path"];
            r.fault = members["fault"];
            if (document.HasMember("query"))
                r.query = stringMembers(document["query"]);
            if (document.HasMember("form"))
                r.form = stringMembers(document["form"]);
            if (document.HasMember("status") && document["status"].IsInt())
                r.status = document["status"].GetInt();
            for (const char* known : {"event", "endpoint", "method", "path", "fault"})
                members.erase(known);
            r.extra = std::move(members);
            requests_.push_back(std::move(r));
        }
    }
    changed_.notify_all();
}

int ServiceProcess::port(const std::string& service) const
{
    std::lock_guard lock(mutex_);
    const auto it = services_.find(service);
    return it == services_.end() ? 0 : it->second.first;
}

std::string ServiceProcess::url(const std::string& service) const
{
    std::lock_guard lock(mutex_);
    const auto it = services_.find(service);
    return it == services_.end() ? std::string() : it->second.second;
}

std::vector<LoggedRequest> ServiceProcess::requests(const std::string& endpoint) const
{
    std::lock_guard lock(mutex_);
    std::vector<LoggedRequest> result;
    for (const LoggedRequest& r : requests_) {
        if (endpoint.empty() || r.endpoint == endpoint)
            result.push_back(r);
    }
    return result;
}

std::vector<LoggedRequest> ServiceProcess::waitForRequests(std::size_t count,
                                                           const std::string& endpoint,
                                                           std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, timeout, [&] {
        std::size_t n = 0;
        for (const LoggedRequest& r : requests_)
            n += endpoint.empty() || r.endpoint == endpoint;
        return n >= count || ended_;
    });
    lock.unlock();
    return requests(endpoint);
}

std::vector<std::string> ServiceProcess::outputLines() const
{
    std::lock_guard lock(mutex_);
    return lines_;
}

std::string ServiceProcess::control(const std::string& json) const
{
    httplib::Client client("127.0.0.1", port("control"));
    const auto result = client.Post("/control/scenario", json, "application/json");
    if (!result)
        return "control endpoint not reachable";
    if (result->status == 200)
        return {};
    rapidjson::Document document;
    document.Parse(result->body.c_str());
    if (!document.HasParseError() && document.IsObject() && document.HasMember("error") &&
        document["error"].IsString())
        return document["error"].GetString();
    return "status " + std::to_string(result->status);
}

std::string ServiceProcess::state() const
{
    httplib::Client client("127.0.0.1", port("control"));
    const auto result = client.Get("/control/state");
    return result ? result->body : std::string();
}

}
