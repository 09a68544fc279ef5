#pragma once

#include "FormFields.h"
#include "Scenario.h"

#include <httplib.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace orvanta::service {

struct Reply {
    int status = 200;
    std::string body;
    std::string contentType = "text/plain";
    // How a "server error" fault text is put on the wire (provisioning
    // scrambles it like any reply); unset sends it as it is.
    std::function<std::string(std::string_view)> encodeText;
};

// Extra members of a request's log line.
using LogFields = std::vector<std::pair<std::string, std::string>>;

// What all served endpoints share: the scenario with its live state, the
// request log on standard output and the configured faults.
class ServiceContext {
public:
    explicit ServiceContext(Scenario scenario) : scenario_(std::move(scenario)) {}

    // Runs fn with the scenario locked; handlers run one at a time.
    template <class Function>
    auto withScenario(Function&& fn)
    {
        std::lock_guard lock(mutex_);
        return fn(scenario_);
    }

    using Handler = std::function<Reply(Scenario&, LogFields&)>;

    // Answers one request: the handler works on the scenario (so state
    // changes happen even when a fault then spoils the answer), the request
    // is logged, the endpoint's fault is applied, then the reply is written.
    void serve(const std::string& endpoint, const httplib::Request& request,
               httplib::Response& response, const FormFields& form, const Handler& handler);

    // Writes one line to standard output at once.
    void printLine(const std::string& line);

    // Cuts delays short so the servers can stop at once.
    void shutdown();

private:
    Fault takeFault(const std::string& endpoint);
    void log(const std::string& endpoint, const httplib::Request& request, const FormFields& form,
             const LogFields& extra, int status, FaultKind fault);

    std::mutex mutex_;
    Scenario scenario_;
    std::mutex outputMutex_;
    std::mutex stopMutex_;
    std::condition_variable stopRequested_;
    bool stopping_ = false;
};

// Registers handlers that log and answer 404 for paths a service does not
// serve; call after the service's own routes.
void registerUnknownPaths(httplib::Server& server, ServiceContext& context,
                          const std::string& service);

}
