#include "app/ServicesFeature.h"

#include "app/Replaceable.h"
#include "mainwnd/BalanceModel.h"
#include "net/ServiceDirectory.h"
#include "session/Session.h"

namespace orvanta {

QString SessionServicePorts::sipUser() const
{
    return session_.account().user;
}

QString SessionServicePorts::provisioningValue(const QString& key) const
{
    const std::optional<ProvisioningReply>& reply = session_.reply();
    if (!reply) {
        return {};
    }
    const struct {
        const char* key;
        QString ProvisioningReply::*field;
    } values[] = {
        {"api_url", &ProvisioningReply::apiUrl},
        {"sms_url", &ProvisioningReply::smsUrl},
        {"sms", &ProvisioningReply::sms},
    };
    for (const auto& value : values) {
        if (key == QLatin1String(value.key)) {
            return (*reply).*value.field;
        }
    }
    return {};
}

void SessionServicePorts::refreshBalance()
{
    balance_.QueryBalance();
}

ServicesFeature::ServicesFeature(const ServiceDirectory& services, const Session& session,
                                 BalanceModel& balance, ServiceClients replacements)
        : webApi_(orReal(std::move(replacements.webApi), services.deployment())),
          accountApi_(orReal(std::move(replacements.accountApi), services.deployment())),
          sms_(orReal(std::move(replacements.sms), services.deployment())),
          ports_(session, balance), friends_(*webApi_, ports_)
{
    // Queued: a sign-in dialog takes its new account on the same result, and
    // the fetch is to ask for that account's friends.
    QObject::connect(
        &session, &Session::registrationChanged, &friends_,
        [this](const RegistrationOutcome& outcome) {
            if (outcome.state == RegistrationState::Registered) {
                friends_.fetch();
            }
        },
        Qt::QueuedConnection);
}

}
