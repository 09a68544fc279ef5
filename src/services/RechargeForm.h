#pragma once

#include "net/AccountApiClient.h"
#include "services/BoxLimit.h"
#include "services/BusyTracker.h"
#include "services/ServicePorts.h"

#include <QObject>
#include <functional>

namespace orvanta {

inline constexpr qsizetype kMaxVoucherLength = 15;
inline constexpr qsizetype kMaxAccountLength = 25;
inline constexpr qsizetype kMaxAmountLength = 10;

enum class RechargeMode { Voucher, PinToPin };

enum class RechargeNotice { VoucherLimit, AccountLimit, AmountLimit, ContactSupport };

// What the status label says: one of the form's own texts or the server's
// sentence.
enum class RechargeStatus {
    Blank,
    EnterVoucher,
    FieldsEmpty,
    EnterAccount,
    EnterAmount,
    AmountNotNumeric,
    ServerText,
};

// The amount as kept: the text before its first character that is neither a
// digit nor "."; numeric is false when something was cut.
struct AmountInput {
    QString kept;
    bool numeric = true;
};
AmountInput filterAmount(const QString& typed);

// The recharge dialog's logic: a voucher recharge or a transfer of credit to
// another account, then the balance fetched again.
class RechargeForm : public QObject {
    Q_OBJECT

public:
    RechargeForm(AccountApiClient& client, const ServiceSession& session, BalanceRefresher& balance,
                 QObject* parent = nullptr);

    RechargeMode mode() const { return mode_; }
    const QString& voucher() const { return voucher_; }
    const QString& account() const { return account_; }
    const QString& amount() const { return amount_; }
    RechargeStatus status() const { return status_; }
    const QString& serverText() const { return serverText_; }
    bool busy() const { return busy_.busy(); }

    // Shows the other mode's boxes, emptied, and empties the status label.
    void setMode(RechargeMode mode);
    void editVoucher(const QString& text);
    void editAccount(const QString& text);
    void editAmount(const QString& text);

    void recharge();
    void transfer();

signals:
    // A box's text was changed by the form (emptied, or the amount cut).
    void fieldsChanged();
    void statusChanged();
    void busyChanged(bool busy);
    void notice(RechargeNotice notice);

private:
    using VerdictDone = std::function<void(RechargeVerdict)>;
    using Operation = std::function<void(const QString& apiUrl, VerdictDone done)>;

    void setStatus(RechargeStatus status, const QString& serverText = {});
    // Starts the operation once the account API's address is known.
    void send(RechargeMode mode, const Operation& operation);
    void takeVerdict(const RechargeVerdict& verdict, RechargeMode mode);

    AccountApiClient& client_;
    const ServiceSession& session_;
    BalanceRefresher& balance_;
    RechargeMode mode_ = RechargeMode::Voucher;
    QString voucher_;
    QString account_;
    QString amount_;
    RechargeStatus status_ = RechargeStatus::Blank;
    QString serverText_;
    BusyTracker busy_;
};

}
