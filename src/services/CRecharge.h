#pragma once

#include "services/RechargeForm.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace orvanta {

// "Recharge/Funds Transfer": a voucher recharge, or a transfer of credit to
// another account; the balance is fetched again after either.
class CRecharge : public QDialog {
    Q_OBJECT

public:
    CRecharge(AccountApiClient& client, const ServiceSession& session, BalanceRefresher& balance,
              QWidget* parent = nullptr);

    QRadioButton* voucherMode() const { return voucherMode_; }
    QRadioButton* transferMode() const { return transferMode_; }
    QLineEdit* voucherEdit() const { return voucher_; }
    QLineEdit* accountEdit() const { return account_; }
    QLineEdit* amountEdit() const { return amount_; }
    QPushButton* rechargeButton() const { return recharge_; }
    QPushButton* transferButton() const { return transfer_; }
    QPushButton* closeButton() const { return close_; }
    QLabel* statusLabel() const { return status_; }

private:
    void showMode();
    void showFields();

    RechargeForm form_;
    QRadioButton* voucherMode_ = nullptr;
    QRadioButton* transferMode_ = nullptr;
    QWidget* voucherRow_ = nullptr;
    QWidget* transferRows_ = nullptr;
    QLineEdit* voucher_ = nullptr;
    QLineEdit* account_ = nullptr;
    QLineEdit* amount_ = nullptr;
    QPushButton* recharge_ = nullptr;
    QPushButton* transfer_ = nullptr;
    QPushButton* close_ = nullptr;
    QLabel* status_ = nullptr;
};

}
