#pragma once

#include "net/DeploymentSettings.h"
#include "platform/HttpClient.h"

#include <QByteArray>
#include <string>

namespace orvanta {

// The provisioning exchange: the scrambled form POST over HTTPS and its
// descrambled reply. An empty reply means nothing usable arrived (no answer,
// time-out, or the server's "server error" text).
// The descrambled reply from what the POST brought back; empty unless a
// complete, non-empty 2xx body arrived that is not the "server error" text.
QByteArray provisioningReplyText(const platform::HttpResult& result, const std::string& key);

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
