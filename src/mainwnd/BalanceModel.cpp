#include "mainwnd/BalanceModel.h"

#include "session/Session.h"

namespace orvanta {

BalanceModel::BalanceModel(PortalClient& portal, const Session& session, QObject* parent)
        : QObject(parent), portal_(portal), session_(session)
{
    connect(&portal_, &PortalClient::balanceAnswered, this, &BalanceModel::onAnswered);
}

void BalanceModel::QueryBalance()
{
    portal_.requestBalance(session_.userName());
}

void BalanceModel::onAnswered(const BalanceResult& result)
{
    switch (result.failure) {
    case BalanceFailure::Unreachable:
    case BalanceFailure::Refused:
        emit balanceFailed(result.failure);
        return;
    case BalanceFailure::None:
    case BalanceFailure::Unreadable:
        emit balanceShown(result.answer);
        return;
    }
}

}
