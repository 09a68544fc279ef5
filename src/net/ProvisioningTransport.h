#pragma once

#include "net/DeploymentSettings.h"

#include <QByteArray>
#include <string>

namespace orvanta {

// The provisioning exchange: the scrambled form POST over HTTPS and its
// descrambled reply. An empty reply means nothing usable arrived (no answer,
// time-out, or the server's "server error" text).
class ProvisioningTransport {
public:
    explicit ProvisioningTransport(const DeploymentSettings& deployment) : deployment_(deployment)
    {
    }
    virtual ~ProvisioningTransport() = default;

    virtual QByteArray provisioningPost(const std::string& body, const std::string& key) const;

private:
    DeploymentSettings deployment_;
};

}
