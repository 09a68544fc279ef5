#pragma once

#include "net/PortalClient.h"
#include "telephony/CallPorts.h"

#include <QObject>

namespace orvanta {

class Session;

// The prepaid balance: asked of the portal for the signed-in user, shown
// when an answer was read.
class BalanceModel : public QObject, public BalanceQuery {
    Q_OBJECT

public:
    BalanceModel(PortalClient& portal, const Session& session, QObject* parent = nullptr);

    // Sends the request; the result arrives by signal.
    void QueryBalance() override;

signals:
    // A reply was read: the label shows, with the new value when there is one.
    void balanceShown(const std::optional<orvanta::BalanceAnswer>& answer);
    // Nothing was read: the reason for the message box.
    void balanceFailed(orvanta::BalanceFailure failure);

private:
    void onAnswered(const BalanceResult& result);

    PortalClient& portal_;
    const Session& session_;
};

}
