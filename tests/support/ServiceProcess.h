#pragma once

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace orvanta::test {

// One request as the service logged it.
struct LoggedRequest {
    std::string endpoint;  // "provisioning", "portal.login", "webapi.addFriendList", ...
    std::string method;
    std::string path;
    std::map<std::string, std::string> query;
    std::map<std::string, std::string> form;
    // Other string members, e.g. "name" and "key" for provisioning.
    std::map<std::string, std::string> extra;
    int status = 0;
    std::string fault;
};

// Runs orvanta-service (from binDir()) as a child process on free loopback
// ports, reads its port lines and request log, and stops it when destroyed.
// The child is killed if the thread that started it dies, so start it from
// the test's main thread.
class ServiceProcess {
public:
    ServiceProcess() = default;
    ~ServiceProcess();
    ServiceProcess(const ServiceProcess&) = delete;
    ServiceProcess& operator=(const ServiceProcess&) = delete;

    // Starts the service and waits up to 5 s for it to be ready. On failure
    // returns false; error() then holds what the service wrote to stderr.
    bool start(const std::filesystem::path& scenario,
               const std::vector<std::string>& extraArgs = {});

    // Sends SIGTERM and waits (up to 5 s, then kills). Returns the exit
    // status, or -1 when it had to be killed or never ran.
    int stop();

    const std::string& error() const { return error_; }

    // Port and base URL of "provisioning", "portal", "webapi", "accountapi",
    // "sms" or "control"; 0 and empty for unknown names.
    int port(const std::string& service) const;
    std::string url(const std::string& service) const;

    // Requests logged so far, optionally only those of one endpoint.
    std::vector<LoggedRequest> requests(const std::string& endpoint = {}) const;
    // Waits until at least count such requests were logged; returns them.
    std::vector<LoggedRequest>
    waitForRequests(std::size_t count, const std::string& endpoint = {},
                    std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;
    // Every line the service wrote to standard output.
    std::vector<std::string> outputLines() const;

    // Applies a scenario fragment through the control endpoint; returns an
    // empty string on success, else the service's error text.
    std::string control(const std::string& json) const;
    // The control endpoint's view of balances, used vouchers and
    // provisioning values, as JSON text.
    std::string state() const;

private:
    void readOutput(int fd);
    void handleLine(const std::string& line);

    pid_t pid_ = -1;
    std::thread reader_;
    std::string error_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<std::string> lines_;
    std::vector<LoggedRequest> requests_;
    std::map<std::string, std::pair<int, std::string>> services_;
    bool ready_ = false;
    bool ended_ = false;
};

}
