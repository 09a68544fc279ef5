// SMS gateway: a GET built from the "sms_url" template; each sent message
// is charged to the sender's balance.
#include "Json.h"
#include "ServiceContext.h"
#include "Services.h"

namespace orvanta::service {

void registerSmsGateway(httplib::Server& server, ServiceContext& context)
{
    server.Get(kSmsPath, [&context](const httplib::Request& request, httplib::Response& response) {
        const FormFields query(queryOf(request.target));
        context.serve("sms", request, response, {}, [&](Scenario& scenario, LogFields&) {
            const auto reply = [](const std::string& text) {
                return Reply{200, jsonObject({{"response", text}}), "application/json", {}};
            };
            Account* account = scenario.findAccount(query.value("user"));
            if (!account)
                return reply("Invalid User");
            if (query.value("to").empty())
                return reply("Invalid Number");
            if (query.value("msg").empty())
                return reply("Message text is empty");
            if (account->balance < scenario.smsPrice)
                return reply("Insufficient balance");
            account->balance -= scenario.smsPrice;
            return reply("Your Message Sent Successfully");
        });
    });
}

}
