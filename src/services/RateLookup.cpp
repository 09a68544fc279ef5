#include "services/RateLookup.h"

namespace orvanta {

RateLookup::RateLookup(AccountApiClient& client, const ServiceSession& session, QObject* parent)
        : QObject(parent), client_(client), session_(session),
          busy_([this](bool busy) { emit busyChanged(busy); })
{
}

void RateLookup::numberEdited(const QString& number)
{
    if (reachesLimit(number, kMaxRateNumberLength)) {
        emit notice(RatesNotice::NumberLimit);
    }
}

void RateLookup::check(const QString& number)
{
    if (busy()) {
        return;
    }
    result_.reset();
    emit resultChanged();
    const QString apiUrl = session_.provisioningValue(QStringLiteral("api_url"));
    if (apiUrl.isEmpty()) {
        emit notice(RatesNotice::ContactSupport);
        return;
    }
    busy_.begin();
    client_.lookUpRate(apiUrl, session_.sipUser(), number, this, [this](const RateAnswer& answer) {
        result_ = answer;
        emit resultChanged();
        busy_.end();
    });
}

}
