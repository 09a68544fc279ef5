#pragma once

#include "net/DeploymentSettings.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <optional>
#include <string>

namespace orvanta {

// The account portal: the SIP password at sign-in and the balance.

// What the portal's listclient said; each value is present when some
// element carried it (the last element wins).
struct PortalAnswer {
    std::optional<QByteArray> idClient;
    std::optional<QByteArray> sipPassword;
    std::optional<QByteArray> aid;
};

// The portal's sign-in and balance addresses, each value percent-encoded.
// The balance query names the account by user; its idClient is the fixed
// text "IDCLIENT" the portal expects.
std::string portalLoginUrl(const QString& portalBase, const QString& user, const QString& password);
std::string portalBalanceUrl(const QString& portalBase, const QString& user);

// The balance_api.php answer: the last listbalance element's values.
struct BalanceAnswer {
    QString balance;
    QString currency;
};
std::optional<BalanceAnswer> parseBalanceAnswer(const QByteArray& text);

enum class BalanceFailure {
    None,
    Unreachable,  // no answer at all (connection, time-out, certificate)
    Refused,      // an answer that is not a success status
    Unreadable,   // a success status without a readable balance
};
struct BalanceResult {
    BalanceFailure failure = BalanceFailure::None;
    std::optional<BalanceAnswer> answer;
};
BalanceResult askBalance(const DeploymentSettings& deployment, const QString& user);

// Reads a login_api.php answer; values that are not in an array of objects
// are left out.
PortalAnswer parsePortalAnswer(const QByteArray& text);

// Asks the portal for the account; nothing when it cannot be reached.
std::optional<PortalAnswer> askPortal(const DeploymentSettings& deployment, const QString& user,
                                      const QString& password);

class ServiceDirectory;

// The portal's sign-in and balance requests, sent off the GUI thread; each
// answer arrives by signal on the thread that owns the client. Requests may
// overlap; answers come in the order they complete.
class PortalClient : public QObject {
    Q_OBJECT

public:
    explicit PortalClient(const ServiceDirectory& services, QObject* parent = nullptr);

    virtual void requestLogin(const QString& user, const QString& password);
    virtual void requestBalance(const QString& user);

signals:
    // Nothing when the portal could not be reached.
    void loginAnswered(const std::optional<orvanta::PortalAnswer>& answer);
    void balanceAnswered(const orvanta::BalanceResult& result);

private:
    const ServiceDirectory& services_;
};

}
