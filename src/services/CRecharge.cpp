#include "services/CRecharge.h"

#include "controls/MessageBox.h"
#include "services/BusyDisplay.h"
#include "services/ServiceTexts.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orvanta {

CRecharge::CRecharge(AccountApiClient& client, const ServiceSession& session,
                     BalanceRefresher& balance, QWidget* parent)
        : QDialog(parent), form_(client, session, balance)
{
    setWindowTitle(QStringLiteral("Recharge/Funds Transfer"));
    voucherMode_ = new QRadioButton(QStringLiteral("Recharge Using Voucher"), this);
    transferMode_ = new QRadioButton(QStringLiteral("Pin to Pin Fund Transfer"), this);
    voucherMode_->setChecked(true);

    voucherRow_ = new QWidget(this);
    voucher_ = new QLineEdit(voucherRow_);
    voucher_->setMaxLength(kMaxVoucherLength);
    (new QFormLayout(voucherRow_))->addRow(QStringLiteral("Voucher Number"), voucher_);

    transferRows_ = new QWidget(this);
    account_ = new QLineEdit(transferRows_);
    account_->setMaxLength(kMaxAccountLength);
    amount_ = new QLineEdit(transferRows_);
    amount_->setMaxLength(kMaxAmountLength);
    auto* transferForm = new QFormLayout(transferRows_);
    transferForm->addRow(QStringLiteral("Account"), account_);
    transferForm->addRow(QStringLiteral("Amount"), amount_);

    auto* statusGroup = new QGroupBox(QStringLiteral("Status"), this);
    status_ = new QLabel(statusGroup);
    status_->setWordWrap(true);
    (new QVBoxLayout(statusGroup))->addWidget(status_);

    recharge_ = new QPushButton(QStringLiteral("Recharge"), this);
    transfer_ = new QPushButton(QStringLiteral("Transfer"), this);
    close_ = new QPushButton(QStringLiteral("Close"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {recharge_, transfer_, close_}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(voucherMode_);
    layout->addWidget(transferMode_);
    layout->addWidget(voucherRow_);
    layout->addWidget(transferRows_);
    layout->addWidget(statusGroup);
    layout->addLayout(buttons);

    connect(voucherMode_, &QRadioButton::toggled, this, [this](bool checked) {
        form_.setMode(checked ? RechargeMode::Voucher : RechargeMode::PinToPin);
        showMode();
    });
    // User edits only: the form's own changes to a box are not edits.
    connect(voucher_, &QLineEdit::textEdited, &form_, &RechargeForm::editVoucher);
    connect(account_, &QLineEdit::textEdited, &form_, &RechargeForm::editAccount);
    connect(amount_, &QLineEdit::textEdited, &form_, &RechargeForm::editAmount);
    connect(recharge_, &QPushButton::clicked, &form_, &RechargeForm::recharge);
    connect(transfer_, &QPushButton::clicked, &form_, &RechargeForm::transfer);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
    connect(&form_, &RechargeForm::fieldsChanged, this, &CRecharge::showFields);
    connect(&form_, &RechargeForm::statusChanged, this,
            [this] { status_->setText(rechargeStatusText(form_.status(), form_.serverText())); });
    connect(&form_, &RechargeForm::notice, this,
            [this](RechargeNotice notice) { showMessage(this, rechargeNoticeText(notice)); });
    connect(&form_, &RechargeForm::busyChanged, this, [this](bool busy) {
        showBusy(this, busy,
                 {recharge_, transfer_, voucher_, account_, amount_, voucherMode_, transferMode_});
    });
    showMode();
}

void CRecharge::showMode()
{
    const bool voucher = form_.mode() == RechargeMode::Voucher;
    voucherRow_->setVisible(voucher);
    recharge_->setVisible(voucher);
    transferRows_->setVisible(!voucher);
    transfer_->setVisible(!voucher);
}

void CRecharge::showFields()
{
    const std::pair<QLineEdit*, const QString&> boxes[] = {
        {voucher_, form_.voucher()}, {account_, form_.account()}, {amount_, form_.amount()}};
    for (const auto& [box, text] : boxes) {
        if (box->text() != text) {
            box->setText(text);
            box->end(false);
        }
    }
}

}
