// Account portal: the SIP password for a user name and password, and the
// live balance. Unknown users get an empty list, as the real portal does.
#include "Json.h"
#include "ServiceContext.h"
#include "Services.h"

namespace orvanta::service {

namespace {

std::string listReply(const char* listName,
                      const std::vector<std::vector<std::pair<std::string, std::string>>>& items)
{
    rapidjson::StringBuffer buffer;
    JsonWriter writer(buffer);
    writer.StartObject();
    writer.Key(listName);
    writer.StartArray();
    for (const auto& item : items) {
        writer.StartObject();
        writeMembers(writer, item);
        writer.EndObject();
    }
    writer.EndArray();
    writer.EndObject();
    return std::string(buffer.GetString(), buffer.GetSize());
}

}

void registerPortal(httplib::Server& server, ServiceContext& context)
{
    server.Get("/vportal/API/TRAMOZED/login_api.php", [&context](const httplib::Request& request,
                                                                 httplib::Response& response) {
        const FormFields query(queryOf(request.target));
        context.serve("portal.login", request, response, {}, [&](Scenario& scenario, LogFields&) {
            std::vector<std::vector<std::pair<std::string, std::string>>> items;
            const Account* account = scenario.findAccount(query.value("user"));
            if (account && account->password == query.value("password"))
                items.push_back({{"idClient", account->idClient},
                                 {"sippassword", account->sipPassword},
                                 {"aid", account->aid}});
            return Reply{200, listReply("listclient", items), "application/json", {}};
        });
    });
    server.Get("/vportal/API/TRAMOZED/balance_api.php", [&context](const httplib::Request& request,
                                                                   httplib::Response& response) {
        const FormFields query(queryOf(request.target));
        context.serve("portal.balance", request, response, {}, [&](Scenario& scenario, LogFields&) {
            std::vector<std::vector<std::pair<std::string, std::string>>> items;
            // The dialer sends a fixed idClient text; the user alone decides.
            if (const Account* account = scenario.findAccount(query.value("user")))
                items.push_back(
                    {{"balance", formatAmount(account->balance)}, {"currency", account->currency}});
            return Reply{200, listReply("listbalance", items), "application/json", {}};
        });
    });
}

}
