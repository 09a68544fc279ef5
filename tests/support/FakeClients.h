#pragma once

#include "net/PortalClient.h"
#include "net/ProvisioningClient.h"
#include "net/ServiceDirectory.h"

#include <QStringList>
#include <string>
#include <vector>

// Portal and provisioning clients whose answers the test chooses. Each
// request is noted; with answerAtOnce it is answered at the next turn of
// the event loop (as the real clients answer), otherwise when the test
// calls answer...().
namespace orvanta::test {

inline const ServiceDirectory& unusedServices()
{
    static const ServiceDirectory services(
        DeploymentSettings{"https://127.0.0.1:9/", "https://127.0.0.1:9", "http://127.0.0.1:9"});
    return services;
}

class FakePortal : public PortalClient {
public:
    FakePortal() : PortalClient(unusedServices()) {}

    bool answerAtOnce = true;
    std::optional<PortalAnswer> login = PortalAnswer{};
    BalanceResult balance{BalanceFailure::None, BalanceAnswer{"12.50", "USD"}};
    QStringList logins;    // "user/password" of each request
    QStringList balances;  // the user of each request

    void requestLogin(const QString& user, const QString& password) override;
    void requestBalance(const QString& user) override;
    // Answers the requests not answered yet.
    void answerLogins();
    void answerBalances();

private:
    int pendingLogins_ = 0;
    int pendingBalances_ = 0;
};

class FakeProvisioning : public ProvisioningClient {
public:
    FakeProvisioning() : ProvisioningClient(unusedServices()) {}

    bool answerAtOnce = true;
    QByteArray reply =
        R"({"status":"1","registrarip":"reg.example","header":"Hi","footer":"Bye",)"
        R"("myaccounts":"http://my.example/","orecharge":"http://recharge.example/",)"
        R"("Signup_url":"http://signup.example/"})";
    std::vector<std::string> bodies;  // the body of each request

    void requestProvisioning(const std::string& body, const std::string& key) override;
    void answerRequests();

private:
    int pending_ = 0;
};

}
