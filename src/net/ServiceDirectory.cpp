#include "net/ServiceDirectory.h"

#include "net/ProvisioningReply.h"

namespace orvanta {

void ServiceDirectory::takeProvisioning(const ProvisioningReply& reply)
{
    accountApiUrl_ = reply.apiUrl;
    smsUrl_ = reply.smsUrl;
    myAccountsUrl_ = reply.myAccounts;
    rechargeUrl_ = reply.oRecharge;
    signUpUrl_ = reply.signupUrl;
}

}
