// Control endpoint for tests: changes scenario values and faults of the
// running process. Loopback peers only.
#include "Json.h"
#include "ServiceContext.h"
#include "Services.h"

namespace orvanta::service {

namespace {

bool fromLoopback(const httplib::Request& request)
{
    return request.remote_addr == "127.0.0.1" || request.remote_addr == "::1";
}

std::string stateText(const Scenario& scenario)
{
    rapidjson::StringBuffer buffer;
    JsonWriter writer(buffer);
    writer.StartObject();
    writer.Key("accounts");
    writer.StartArray();
    for (const Account& a : scenario.accounts) {
        writer.StartObject();
        writeMembers(
            writer,
            {{"user", a.user}, {"balance", formatAmount(a.balance)}, {"currency", a.currency}});
        writer.EndObject();
    }
    writer.EndArray();
    writer.Key("vouchersUsed");
    writer.StartArray();
    for (const Voucher& v : scenario.vouchers) {
        if (v.used)
            writeString(writer, v.code);
    }
    writer.EndArray();
    writer.Key("provisioning");
    writer.StartObject();
    writeMembers(writer, scenario.provisioning);
    writer.EndObject();
    writer.EndObject();
    return std::string(buffer.GetString(), buffer.GetSize());
}

}

void registerControl(httplib::Server& server, ServiceContext& context,
                     std::function<bool(const Scenario&, std::string&)> checkScenario)
{
    server.Post("/control/scenario", [&context, checkScenario](const httplib::Request& request,
                                                               httplib::Response& response) {
        if (!fromLoopback(request)) {
            response.status = 403;
            return;
        }
        std::string error;
        const bool applied = context.withScenario([&](Scenario& scenario) {
            Scenario changed = scenario;
            if (!applyScenarioText(changed, request.body, error) || !checkScenario(changed, error))
                return false;
            scenario = std::move(changed);
            return true;
        });
        response.status = applied ? 200 : 400;
        response.set_content(applied ? jsonObject({{"result", "ok"}})
                                     : jsonObject({{"error", error}}),
                             "application/json");
    });
    server.Get("/control/state",
               [&context](const httplib::Request& request, httplib::Response& response) {
                   if (!fromLoopback(request)) {
                       response.status = 403;
                       return;
                   }
                   response.set_content(
                       context.withScenario([](Scenario& scenario) { return stateText(scenario); }),
                       "application/json");
               });
}

}
