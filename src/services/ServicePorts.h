#pragma once

#include <QString>

namespace orvanta {

// What the account-service windows need from the signed-in session. The
// composition root implements these over its session; tests script them.
class ServiceSession {
public:
    virtual ~ServiceSession() = default;
    // The SIP user name of the signed-in subscriber: the web API's
    // subscriberId, the account API's user and the SMS sender.
    virtual QString sipUser() const = 0;
    // A value of the current provisioning reply ("api_url", "sms_url",
    // "sms"); empty when the reply has none.
    virtual QString provisioningValue(const QString& key) const = 0;
};

// Fetches the balance shown in the main window again.
class BalanceRefresher {
public:
    virtual ~BalanceRefresher() = default;
    virtual void refreshBalance() = 0;
};

}
