#pragma once

#include <QByteArray>
#include <QObject>
#include <string>

namespace orvanta {

class ServiceDirectory;

// The provisioning exchange sent off the GUI thread; the descrambled reply
// arrives by signal (empty when nothing usable came back).
class ProvisioningClient : public QObject {
    Q_OBJECT

public:
    explicit ProvisioningClient(const ServiceDirectory& services, QObject* parent = nullptr);

    virtual void requestProvisioning(const std::string& body, const std::string& key);

signals:
    void provisioningAnswered(const QByteArray& reply);

private:
    const ServiceDirectory& services_;
};

}
