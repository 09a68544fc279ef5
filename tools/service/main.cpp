// orvanta-service: serves the provisioning server, the account portal, the
// web API server, the account API and the SMS gateway on loopback, from a
// scenario file. See README.md.
#include "Certificate.h"
#include "Json.h"
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

const char* const kUsage = "usage: orvanta-service --scenario FILE [--bind ADDRESS] "
                           "[--write-deployment PATH] [--registrar HOST:PORT]\n";

std::optional<Options> parseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        std::string* target = arg == "--scenario"           ? &options.scenarioPath
                              : arg == "--bind"             ? &options.bindAddress
                              : arg == "--write-deployment" ? &options.deploymentPath
                              : arg == "--registrar"        ? &options.registrar
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
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size() ||
        text.size() - colon > 6)
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
    error = "the provisioning reply would be " + std::to_string(size) + " bytes, more than the " +
            std::to_string(kMaxProvisioningReply) + " the dialer reads";
    return false;
}

struct Endpoint {
    const char* service;
    bool secure;
    std::unique_ptr<httplib::Server> server;
    std::string url;
    int port = 0;
};

std::string listeningLine(const Endpoint& e)
{
    rapidjson::StringBuffer buffer;
    JsonWriter writer(buffer);
    writer.StartObject();
    writeMembers(writer, {{"event", "listening"}, {"service", e.service}, {"url", e.url}});
    writer.Key("port");
    writer.Int(e.port);
    writer.EndObject();
    return std::string(buffer.GetString(), buffer.GetSize());
}

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
    endpoints.reserve(6);  // the references below must stay valid
    const auto add = [&](const char* service, bool secure) -> Endpoint& {
        Endpoint& e = endpoints.emplace_back(Endpoint{service, secure, nullptr, {}, 0});
        if (secure)
            e.server = std::make_unique<httplib::SSLServer>(certificate->certificate(),
                                                            certificate->key());
        else
            e.server = std::make_unique<TolerantServer>();
        e.server->set_tcp_nodelay(true);
        // One request per connection, as the dialer's own exchanges do; no
        // idle connection then holds up a stop.
        e.server->set_keep_alive_max_count(1);
        e.server->set_payload_max_length(kMaxScenarioBytes);
        e.server->new_task_queue = [] { return new httplib::ThreadPool(8); };
        return e;
    };
    Endpoint& provisioning = add("provisioning", true);
    Endpoint& portal = add("portal", true);
    Endpoint& webApi = add("webapi", false);
    Endpoint& accountApi = add("accountapi", false);
    Endpoint& sms = add("sms", false);
    Endpoint& control = add("control", false);

    const std::string host = options->bindAddress.find(':') == std::string::npos
                                 ? options->bindAddress
                                 : "[" + options->bindAddress + "]";
    for (Endpoint& e : endpoints) {
        if (!e.server->is_valid())
            return fail(std::string("cannot set up the ") + e.service + " server");
        // The control endpoint never leaves loopback.
        const std::string address = &e == &control ? "127.0.0.1" : options->bindAddress;
        e.port = e.server->bind_to_any_port(address);
        if (e.port < 0)
            return fail("cannot bind to " + address);
        e.url = std::string(e.secure ? "https://" : "http://") + (&e == &control ? address : host) +
                ":" + std::to_string(e.port);
    }

    Scenario scenario;
    scenario.setProvisioningValue("api_url", accountApi.url + kAccountApiPath);
    scenario.setProvisioningValue("sms_url", sms.url + kSmsPath + kSmsQueryTemplate);
    scenario.setProvisioningValue("myaccounts", webApi.url + kMyAccountsPath);
    scenario.setProvisioningValue("orecharge", webApi.url + kRechargePath);
    scenario.setProvisioningValue("Signup_url", webApi.url + kSignUpPath);
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
        out << "[service]\nprovisioning_url=" << provisioning.url << "/\nportal_url=" << portal.url
            << "\nwebapi_url=" << webApi.url << "\n";
        out.close();
        if (!out)
            return fail("cannot write " + options->deploymentPath);
    }

    ServiceContext context(std::move(scenario));
    registerProvisioning(*provisioning.server, context);
    registerPortal(*portal.server, context);
    registerWebApi(*webApi.server, context);
    registerPages(*webApi.server, context);
    registerAccountApi(*accountApi.server, context);
    registerSmsGateway(*sms.server, context);
    registerControl(*control.server, context, replyFits);
    for (Endpoint& e : endpoints) {
        if (&e != &control)
            registerUnknownPaths(*e.server, context, e.service);
    }

    std::vector<std::thread> threads;
    for (Endpoint& e : endpoints) {
        threads.emplace_back([server = e.server.get()] { server->listen_after_bind(); });
        context.printLine(listeningLine(e));
    }
    // stop() only reaches a server whose accept loop runs.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (Endpoint& e : endpoints) {
        while (!e.server->is_running() && std::chrono::steady_clock::now() < deadline)
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
