#pragma once

#include "net/DeploymentSettings.h"

#include <QByteArray>
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

enum class BalanceFailure { None, Unreachable, Unreadable };
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

}
