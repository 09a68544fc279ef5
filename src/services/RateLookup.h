#pragma once

#include "net/AccountApiClient.h"
#include "services/BoxLimit.h"
#include "services/BusyTracker.h"
#include "services/ServicePorts.h"

#include <QObject>
#include <optional>

namespace orvanta {

inline constexpr qsizetype kMaxRateNumberLength = 25;

enum class RatesNotice { NumberLimit, ContactSupport };

// The rate dialog's logic: what a call to a number costs per minute and how
// many minutes the credit buys.
class RateLookup : public QObject {
    Q_OBJECT

public:
    RateLookup(AccountApiClient& client, const ServiceSession& session, QObject* parent = nullptr);

    // The answer shown; nothing while the label is empty.
    const std::optional<RateAnswer>& result() const { return result_; }
    bool busy() const { return busy_.busy(); }

    void numberEdited(const QString& number);
    // Check: asks the account API about the number.
    void check(const QString& number);

signals:
    void resultChanged();
    void busyChanged(bool busy);
    void notice(RatesNotice notice);

private:
    AccountApiClient& client_;
    const ServiceSession& session_;
    std::optional<RateAnswer> result_;
    BusyTracker busy_;
};

}
