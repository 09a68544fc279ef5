#include "ServiceContext.h"

#include "Json.h"

#include <chrono>
#include <cstdio>

namespace orvanta::service {

namespace {

// Fixed bytes, so a garbage reply is the same in every run.
std::string garbageBytes()
{
    std::string bytes(64, '\0');
    std::uint32_t state = 0x2545F491u;
    for (char& c : bytes) {
        state = state * 1664525u + 1013904223u;
        c = static_cast<char>(state >> 24);
    }
    return bytes;
}

void writeFields(JsonWriter& writer, const char* name, const FormFields& fields)
{
    writer.Key(name);
    writer.StartObject();
    writeMembers(writer, fields.all());
    writer.EndObject();
}

}

Fault ServiceContext::takeFault(const std::string& endpoint)
{
    std::lock_guard lock(mutex_);
    auto it = scenario_.faults.find(endpoint);
    if (it == scenario_.faults.end())
        it = scenario_.faults.find(endpoint.substr(0, endpoint.find('.')));
    if (it == scenario_.faults.end())
        return {};
    const Fault fault = it->second;
    if (it->second.times > 0 && --it->second.times == 0)
        scenario_.faults.erase(it);
    return fault;
}

void ServiceContext::serve(const std::string& endpoint, const httplib::Request& request,
                           httplib::Response& response, const FormFields& form,
                           const Handler& handler)
{
    LogFields extra;
    Reply reply = withScenario([&](Scenario& scenario) { return handler(scenario, extra); });
    const Fault fault = takeFault(endpoint);

    switch (fault.kind) {
    case FaultKind::None:
        break;
    case FaultKind::Empty:
        reply.status = 200;
        reply.body.clear();
        break;
    case FaultKind::ServerErrorText:
        reply.status = 200;
        reply.body = reply.encodeText ? reply.encodeText("server error") : "server error";
        reply.contentType = "text/plain";
        break;
    case FaultKind::Http500:
        reply.status = 500;
        reply.body = "Internal Server Error";
        reply.contentType = "text/plain";
        break;
    case FaultKind::Garbage:
        reply.status = 200;
        reply.body = garbageBytes();
        reply.contentType = "application/octet-stream";
        break;
    case FaultKind::CloseMidReply:
        if (reply.body.size() < 2)
            reply.body = "this reply is cut short";
        break;
    }
    log(endpoint, request, form, extra, reply.status, fault.kind);
    if (fault.delayMs > 0) {
        std::unique_lock lock(stopMutex_);
        stopRequested_.wait_for(lock, std::chrono::milliseconds(fault.delayMs),
                                [this] { return stopping_; });
    }

    response.status = reply.status;
    if (fault.kind == FaultKind::CloseMidReply) {
        // Announce the whole length, send half, then drop the connection.
        const auto body = std::make_shared<std::string>(std::move(reply.body));
        response.set_content_provider(body->size(), reply.contentType,
                                      [body](std::size_t, std::size_t, httplib::DataSink& sink) {
                                          sink.write(body->data(), body->size() / 2);
                                          return false;
                                      });
        return;
    }
    response.set_content(reply.body, reply.contentType);
}

void ServiceContext::log(const std::string& endpoint, const httplib::Request& request,
                         const FormFields& form, const LogFields& extra, int status,
                         FaultKind fault)
{
    rapidjson::StringBuffer buffer;
    JsonWriter writer(buffer);
    writer.StartObject();
    writeMembers(writer, {{"event", "request"},
                          {"endpoint", endpoint},
                          {"method", request.method},
                          {"path", request.path}});
    writeFields(writer, "query", FormFields(queryOf(request.target)));
    writeFields(writer, "form", form);
    writeMembers(writer, extra);
    writer.Key("status");
    writer.Int(status);
    writeMembers(writer, {{"fault", faultName(fault)}});
    writer.EndObject();
    printLine(std::string(buffer.GetString(), buffer.GetSize()));
}

void ServiceContext::shutdown()
{
    std::lock_guard lock(stopMutex_);
    stopping_ = true;
    stopRequested_.notify_all();
}

void ServiceContext::printLine(const std::string& line)
{
    std::lock_guard lock(outputMutex_);
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void registerUnknownPaths(httplib::Server& server, ServiceContext& context,
                          const std::string& service)
{
    const auto unknown = [&context, service](const httplib::Request& request,
                                             httplib::Response& response) {
        const bool isPost = request.method == "POST";
        context.serve(service + ".unknown", request, response,
                      isPost ? FormFields(request.body) : FormFields(), [](Scenario&, LogFields&) {
                          return Reply{404, "Not Found", "text/plain", {}};
                      });
    };
    server.Get(".*", unknown);
    server.Post(".*", unknown);
}

}
