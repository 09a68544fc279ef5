#include "net/ProvisioningClient.h"

#include "net/ProvisioningTransport.h"
#include "net/ServiceDirectory.h"
#include "platform/OffThread.h"

namespace orvanta {

ProvisioningClient::ProvisioningClient(const ServiceDirectory& services, QObject* parent)
        : QObject(parent), services_(services)
{
}

void ProvisioningClient::requestProvisioning(const std::string& body, const std::string& key)
{
    platform::runOffThread(
        this,
        [deployment = services_.deployment(), body, key] {
            return ProvisioningTransport(deployment).provisioningPost(body, key);
        },
        [this](const QByteArray& reply) { emit provisioningAnswered(reply); });
}

}
