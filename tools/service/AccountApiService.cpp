// Account API: form POSTs whose values are MD5 digests. The request names
// the user only by digest, so accounts, numbers and vouchers are found by
// comparing digests. Replies carry a "success" or an "error" member; their
// texts avoid ':', '"', '}' and the word success in errors, which the
// dialer's text cutting would spoil.
#include "Json.h"
#include "ServiceContext.h"
#include "Services.h"

#include <QCryptographicHash>

#include <algorithm>

namespace orvanta::service {

namespace {

std::string digest(const std::string& text)
{
    return QCryptographicHash::hash(QByteArray::fromStdString(text), QCryptographicHash::Md5)
        .toHex()
        .toStdString();
}

Account* accountByDigest(Scenario& scenario, const std::string& userDigest)
{
    const auto it = std::find_if(scenario.accounts.begin(), scenario.accounts.end(),
                                 [&](const Account& a) { return digest(a.user) == userDigest; });
    return it == scenario.accounts.end() ? nullptr : &*it;
}

Reply json(const std::vector<std::pair<std::string, std::string>>& members)
{
    return Reply{200, jsonObject(members), "application/json", {}};
}

Reply error(const std::string& text)
{
    return json({{"error", text}});
}

Reply creditMinutes(Scenario& scenario, Account& account, const FormFields& form, LogFields& log)
{
    const std::string numberDigest = form.value("pf");
    const auto it =
        std::find_if(scenario.rates.begin(), scenario.rates.end(),
                     [&](const auto& entry) { return digest(entry.first) == numberDigest; });
    const Rate& rate = it == scenario.rates.end() ? scenario.defaultRate : it->second;
    if (it != scenario.rates.end())
        log.emplace_back("number", it->first);
    const Amount minutes = std::max<Amount>(account.balance, 0) / rate.perMinute;
    return json({{"rate", rate.text}, {"mins", std::to_string(minutes)}});
}

Reply voucher(Scenario& scenario, Account& account, const FormFields& form, LogFields& log)
{
    const std::string codeDigest = form.value("vc");
    const auto it = std::find_if(scenario.vouchers.begin(), scenario.vouchers.end(),
                                 [&](const Voucher& v) { return digest(v.code) == codeDigest; });
    if (it == scenario.vouchers.end())
        return error("Invalid voucher number");
    log.emplace_back("voucher", it->code);
    if (it->used)
        return error("Voucher already used");
    it->used = true;
    account.balance += it->amount;
    return json({{"success", "Recharge done, " + formatAmount(it->amount) + " " + account.currency +
                                 " added to your account"}});
}

Reply pinToPin(Scenario& scenario, Account& account, const FormFields& form, LogFields& log)
{
    const auto amount = parseAmount(form.value("am"));
    if (!amount || *amount == 0)
        return error("Invalid amount");
    Account* destination = accountByDigest(scenario, form.value("dstun"));
    if (!destination)
        return error("Destination account not found");
    log.emplace_back("destination", destination->user);
    if (destination == &account)
        return error("Cannot transfer to the same account");
    if (account.balance < *amount)
        return error("Insufficient balance");
    account.balance -= *amount;
    destination->balance += *amount;
    return json({{"success", "Transferred " + formatAmount(*amount) + " " + account.currency +
                                 " to " + destination->user}});
}

}

void registerAccountApi(httplib::Server& server, ServiceContext& context)
{
    server.Post(
        kAccountApiPath, [&context](const httplib::Request& request, httplib::Response& response) {
            const FormFields form(request.body);
            const std::string type = form.value("type");
            const std::string operation = type == digest("creditmins") ? "creditmins"
                                          : type == digest("voucher")  ? "voucher"
                                          : type == digest("pin2pin")  ? "pin2pin"
                                                                       : "unknown";
            context.serve("accountapi." + operation, request, response, form,
                          [&](Scenario& scenario, LogFields& log) {
                              Account* account = accountByDigest(scenario, form.value("un"));
                              if (!account)
                                  return error("Invalid user");
                              log.emplace_back("user", account->user);
                              if (operation == "creditmins")
                                  return creditMinutes(scenario, *account, form, log);
                              if (operation == "voucher")
                                  return voucher(scenario, *account, form, log);
                              if (operation == "pin2pin")
                                  return pinToPin(scenario, *account, form, log);
                              return error("Invalid request type");
                          });
        });
}

}
