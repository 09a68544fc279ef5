#pragma once

#include "net/DeploymentSettings.h"

#include <QString>

namespace orvanta {

struct ProvisioningReply;

// Where every operator service is: the deployment's servers (provisioning,
// portal, web API) and the addresses the current sign-in's provisioning
// reply delivers. One object for the run; clients read it when they send.
class ServiceDirectory {
public:
    explicit ServiceDirectory(DeploymentSettings deployment) : deployment_(std::move(deployment)) {}

    const DeploymentSettings& deployment() const { return deployment_; }
    const QString& provisioningUrl() const { return deployment_.provisioningUrl; }
    const QString& portalUrl() const { return deployment_.portalUrl; }
    const QString& webApiUrl() const { return deployment_.webApiUrl; }

    // From the provisioning reply ("api_url", "sms_url", "myaccounts",
    // "orecharge", "Signup_url"); empty until a reply named them.
    const QString& accountApiUrl() const { return accountApiUrl_; }
    const QString& smsUrl() const { return smsUrl_; }
    const QString& myAccountsUrl() const { return myAccountsUrl_; }
    const QString& rechargeUrl() const { return rechargeUrl_; }
    const QString& signUpUrl() const { return signUpUrl_; }

    // A new sign-in's reply replaces every provisioned address.
    void takeProvisioning(const ProvisioningReply& reply);

private:
    DeploymentSettings deployment_;
    QString accountApiUrl_;
    QString smsUrl_;
    QString myAccountsUrl_;
    QString rechargeUrl_;
    QString signUpUrl_;
};

}
