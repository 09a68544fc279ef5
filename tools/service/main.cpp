// orvanta-service: serves the provisioning server, the account portal, the
// web API server, the account API and the SMS gateway on loopback, from a
// scenario file. See README.md.
#include "Certificate.h"
#include "ServiceContext.h"
#include "Services.h"
#include "TolerantServer.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <thread>
#include <vector>

using namespace orvanta::service;

namespace {

struct Options {
    std::string scenarioPath;
    std::string bindAddress = "127.0.0.1";
    std::string deploymentPath;
    std::string registrar;
};

const char* const kUsage =
    "usage: orvanta-service --scenario FILE [--bind ADDRESS] [--write-deployment PATH] [--registrar HOST:PORT]\n";

std::optional<Options> parseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        std::string* target = arg == "--scenario"   ? &options.scenarioPath
            : arg == "--bind"                       ? &options.bindAddress
            : arg == "--write-deployment"           ? &options.deploymentPath
            : arg == "--registrar"                  ? &options.registrar
                                                    : nullptr;
        if (!target || i + 1 >= argc)
            return std::nullopt;
        *target = argv[++i];
    }
    if (options.scenarioPath.empty() || options.bindAddress.empty())
        return std::nullopt;
    return options;
}

bool validRegistrar(const std::string& text)
{
    const auto colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size() || text.size() - colon > 6)
        return false;
    int port = 0;
    for (char c : text.substr(colon + 1)) {
        if (c < '0' || c > '9')
            return false;
        port = port * 10 + (c - '0');
    }
    return port > 0 && port < 65536;
}

bool readFile(const std::string& path, std::string& text, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    text.assign(kMaxScenarioBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxScenarioBytes) {
        error = path + " is larger than 1 MiB";
        return false;
    }
    return true;
}

bool replyFits(const Scenario& scenario, std::string& error)
{
    const std::size_t size = provisioningReplyText(scenario).size();
    if (size <= kMaxProvisioningReply)
        return true;
    error = "the provisioning reply would be " + std::to_string(size) + " bytes, more than the "
        + std::to_string(kMaxProvisioningReply) + " the dialer reads";
    return false;
}

struct Endpoint {
    const char* service;
    std::unique_ptr<httplib::Server> server;
    std::string url;
    int port = 0;
};

int fail(const std::string& message)
{
    std::cerr << "orvanta-service: " << message << "\n";
    return 1;
}

}

int main(int argc, char** argv)
{
    // SIGTERM and SIGINT are taken by sigwait below; server threads inherit
    // the blocked mask. A peer closing early must not kill the process.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    const auto options = parseOptions(argc, argv);
    if (!options) {
        std::cerr << kUsage;
        return 2;
    }
    if (!options->registrar.empty() && !validRegistrar(options->registrar))
        return fail("--registrar needs HOST:PORT");
    std::string error;
    std::string scenarioText;
    if (!readFile(options->scenarioPath, scenarioText, error))
        return fail(error);

    const auto certificate = Certificate::create(error);
    if (!certificate)
        return fail(error);

    std::vector<Endpoint> endpoints;
    const auto add = [&](const char* service, bool secure) -> Endpoint& {
        Endpoint e{service, nullptr, {}, 0};
        if (secure)
            e.server = std::make_unique<httplib::SSLServer>(certificate->certificate(), certificate->key());
        else
            e.server = std::make_unique<TolerantServer>();
        e.server->set_tcp_nodelay(true);
        // One request per connection, as the dialer's own exchanges do; no
        // idle connection then holds up a stop.
        e.server->set_keep_alive_max_count(1);
        e.server->set_payload_max_length(kMaxScenarioBytes);
        e.server->new_task_queue = [] { return new httplib::ThreadPool(8); };
        return endpoints.emplace_back(std::move(e));
    };
    add("provisioning", true);
    add("portal", true);
    add("webapi", false);
    add("accountapi", false);
    add("sms", false);
    add("control", false);

    const std::string host = options->bindAddress.find(':') == std::string::npos
        ? options->bindAddress
        : "[" + options->bindAddress + "]";
    for (Endpoint& e : endpoints) {
        if (!e.server->is_valid())
            return fail(std::string("cannot set up the ") + e.service + " server");
        // The control endpoint never leaves loopback.
        const bool control = std::string(e.service) == "control";
        e.port = e.server->bind_to_any_port(control ? "127.0.0.1" : options->bindAddress);
        if (e.port < 0)
            return fail("cannot bind to " + options->bindAddress);
        const bool secure = std::string(e.service) == "provisioning" || std::string(e.service) == "portal";
        e.url = std::string(secure ? "https://" : "http://") + (control ? "127.0.0.1" : host) + ":"
            + std::to_string(e.port);
    }
    const std::string& provisioningUrl = endpoints[0].url;
    const std::string& portalUrl = endpoints[1].url;
    const std::string& webApiUrl = endpoints[2].url;
    const std::string& accountApiUrl = endpoints[3].url;
    const std::string& smsUrl = endpoints[4].url;

    Scenario scenario;
    scenario.setProvisioningValue("api_url", accountApiUrl + kAccountApiPath);
    scenario.setProvisioningValue("sms_url", smsUrl + kSmsPath + kSmsQueryTemplate);
    scenario.setProvisioningValue("myaccounts", webApiUrl + kMyAccountsPath);
    scenario.setProvisioningValue("orecharge", webApiUrl + kRechargePath);
    scenario.setProvisioningValue("Signup_url", webApiUrl + kSignUpPath);
    if (!applyScenarioText(scenario, scenarioText, error))
        return fail(options->scenarioPath + ": " + error);
    if (!options->registrar.empty()) {
        scenario.setProvisioningValue("registrarip", options->registrar);
        scenario.setProvisioningValue("ip", options->registrar);
    }
    if (!replyFits(scenario, error))
        return fail(options->scenarioPath + ": " + error);

    if (!options->deploymentPath.empty()) {
        std::ofstream out(options->deploymentPath, std::ios::trunc);
        out << "[service]\nprovisioning_url=" << provisioningUrl << "/\nportal_url=" << portalUrl
            << "\nwebapi_url=" << webApiUrl << "\n";
        out.close();
        if (!out)
            return fail("cannot write " + options->deploymentPath);
    }

    ServiceContext context(std::move(scenario));
    registerProvisioning(*endpoints[0].server, context);
    registerPortal(*endpoints[1].server, context);
    registerWebApi(*endpoints[2].server, context);
    registerPages(*endpoints[2].server, context);
    registerAccountApi(*endpoints[3].server, context);
    registerSmsGateway(*endpoints[4].server, context);
    registerControl(*endpoints[5].server, context, replyFits);
    for (std::size_t i = 0; i < 5; ++i)
        registerUnknownPaths(*endpoints[i].server, context, endpoints[i].service);

    std::vector<std::thread> threads;
    for (Endpoint& e : endpoints) {
        threads.emplace_back([server = e.server.get()] { server->listen_after_bind(); });
        std::ostringstream line;
        line << "{\"event\":\"listening\",\"service\":\"" << e.service << "\",\"url\":\"" << e.url
             << "\",\"port\":" << e.port << "}";
        context.printLine(line.str());
    }
    // stop() only reaches a server whose accept loop runs.
    for (Endpoint& e : endpoints) {
        while (!e.server->is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    context.printLine("{\"event\":\"ready\"}");

    int signal = 0;
    sigwait(&stopSignals, &signal);
    context.shutdown();
    for (Endpoint& e : endpoints)
        e.server->stop();
    for (std::thread& t : threads)
        t.join();
    context.printLine("{\"event\":\"stopped\"}");
    return 0;
}
