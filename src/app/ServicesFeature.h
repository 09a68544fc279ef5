#pragma once

#include "net/AccountApiClient.h"
#include "net/SmsGateway.h"
#include "net/WebApiClient.h"
#include "services/FriendList.h"
#include "services/ServicePorts.h"

#include <memory>

namespace orvanta {

class BalanceModel;
class ServiceDirectory;
class Session;

// Replacements for the account-service clients (tests); each one left
// empty is the real thing.
struct ServiceClients {
    std::unique_ptr<WebApiClient> webApi;
    std::unique_ptr<AccountApiClient> accountApi;
    std::unique_ptr<SmsGateway> sms;
};

// The account services' view of the run's session: the SIP user and the
// provisioning reply's service values, read at every request so a new
// sign-in is picked up at once.
class SessionServicePorts : public ServiceSession, public BalanceRefresher {
public:
    SessionServicePorts(const Session& session, BalanceModel& balance)
            : session_(session), balance_(balance)
    {
    }

    QString sipUser() const override;
    QString provisioningValue(const QString& key) const override;
    void refreshBalance() override;

private:
    const Session& session_;
    BalanceModel& balance_;
};

// The operator's account services for the run: the web API, account API
// and SMS clients, the session adapters the windows take, and the one
// friends list, which every successful registration fetches without
// showing it.
class ServicesFeature {
public:
    ServicesFeature(const ServiceDirectory& services, const Session& session, BalanceModel& balance,
                    ServiceClients replacements = {});
    ServicesFeature(const ServicesFeature&) = delete;
    ServicesFeature& operator=(const ServicesFeature&) = delete;

    WebApiClient& webApi() { return *webApi_; }
    AccountApiClient& accountApi() { return *accountApi_; }
    SmsGateway& sms() { return *sms_; }
    const ServiceSession& session() const { return ports_; }
    BalanceRefresher& balance() { return ports_; }
    FriendList& friends() { return friends_; }

private:
    std::unique_ptr<WebApiClient> webApi_;
    std::unique_ptr<AccountApiClient> accountApi_;
    std::unique_ptr<SmsGateway> sms_;
    SessionServicePorts ports_;
    FriendList friends_;
};

}
