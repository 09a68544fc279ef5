// Provisioning server: a form POST to "/" whose body carries the scrambling
// key; the configuration goes back scrambled with that key.
#include "Json.h"
#include "ServiceContext.h"
#include "Services.h"

#include "net/RequestProtection.h"

namespace orvanta::service {

std::string provisioningReplyText(const Scenario& scenario)
{
    return jsonObject(scenario.provisioning);
}

void registerProvisioning(httplib::Server& server, ServiceContext& context)
{
    server.Post("/", [&context](const httplib::Request& request, httplib::Response& response) {
        const FormFields form(request.body);
        context.serve(
            "provisioning", request, response, form, [&](Scenario& scenario, LogFields& log) {
                const auto body = parseProvisioningBody(request.body);
                if (!body) {
                    log.emplace_back("error", "malformed body");
                    return Reply{400, "", "text/plain", {}};
                }
                const std::string key = body->key();
                const std::string name = scrambled(body->scrambledName, key);
                log.emplace_back("key", key);
                log.emplace_back("name", name);
                if (name != kProductName)
                    return Reply{403, "", "text/plain", {}};
                return Reply{200, scrambled(provisioningReplyText(scenario), key), "text/html",
                             [key](std::string_view text) { return scrambled(text, key); }};
            });
    });
}

}
