#include "support/FakeClients.h"

#include <QTimer>

namespace orvanta::test {

void FakePortal::requestLogin(const QString& user, const QString& password)
{
    logins << user + QLatin1Char('/') + password;
    ++pendingLogins_;
    if (answerAtOnce) {
        QTimer::singleShot(0, this, &FakePortal::answerLogins);
    }
}

void FakePortal::requestBalance(const QString& user)
{
    balances << user;
    ++pendingBalances_;
    if (answerAtOnce) {
        QTimer::singleShot(0, this, &FakePortal::answerBalances);
    }
}

void FakePortal::answerLogins()
{
    for (; pendingLogins_ > 0; --pendingLogins_) {
        emit loginAnswered(login);
    }
}

void FakePortal::answerBalances()
{
    for (; pendingBalances_ > 0; --pendingBalances_) {
        emit balanceAnswered(balance);
    }
}

void FakeProvisioning::requestProvisioning(const std::string& body, const std::string&)
{
    bodies.push_back(body);
    ++pending_;
    if (answerAtOnce) {
        QTimer::singleShot(0, this, &FakeProvisioning::answerRequests);
    }
}

void FakeProvisioning::answerRequests()
{
    for (; pending_ > 0; --pending_) {
        emit provisioningAnswered(reply);
    }
}

}
