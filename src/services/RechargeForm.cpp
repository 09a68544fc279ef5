#include "services/RechargeForm.h"

namespace orvanta {

AmountInput filterAmount(const QString& typed)
{
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const QChar c = typed[i];
        if ((c < QLatin1Char('0') || c > QLatin1Char('9')) && c != QLatin1Char('.')) {
            return {typed.left(i), false};
        }
    }
    return {typed, true};
}

RechargeForm::RechargeForm(AccountApiClient& client, const ServiceSession& session,
                           BalanceRefresher& balance, QObject* parent)
        : QObject(parent), client_(client), session_(session), balance_(balance),
          busy_([this](bool busy) { emit busyChanged(busy); })
{
}

void RechargeForm::setStatus(RechargeStatus status, const QString& serverText)
{
    status_ = status;
    serverText_ = serverText;
    emit statusChanged();
}

void RechargeForm::setMode(RechargeMode mode)
{
    mode_ = mode;
    if (mode == RechargeMode::Voucher) {
        voucher_.clear();
    } else {
        account_.clear();
        amount_.clear();
    }
    emit fieldsChanged();
    setStatus(RechargeStatus::Blank);
}

void RechargeForm::editVoucher(const QString& text)
{
    voucher_ = text;
    if (reachesLimit(text, kMaxVoucherLength)) {
        emit notice(RechargeNotice::VoucherLimit);
    }
    setStatus(RechargeStatus::Blank);
}

void RechargeForm::editAccount(const QString& text)
{
    account_ = text;
    if (reachesLimit(text, kMaxAccountLength)) {
        emit notice(RechargeNotice::AccountLimit);
    }
    setStatus(RechargeStatus::Blank);
}

void RechargeForm::editAmount(const QString& text)
{
    if (reachesLimit(text, kMaxAmountLength)) {
        emit notice(RechargeNotice::AmountLimit);
    }
    const AmountInput input = filterAmount(text);
    amount_ = input.kept;
    if (!input.numeric) {
        emit fieldsChanged();
        setStatus(RechargeStatus::AmountNotNumeric);
        return;
    }
    setStatus(RechargeStatus::Blank);
}

void RechargeForm::send(RechargeMode mode, const Operation& operation)
{
    const QString apiUrl = session_.provisioningValue(QStringLiteral("api_url"));
    if (apiUrl.isEmpty()) {
        emit notice(RechargeNotice::ContactSupport);
        return;
    }
    busy_.begin();
    operation(apiUrl, [this, mode](const RechargeVerdict& verdict) { takeVerdict(verdict, mode); });
}

void RechargeForm::recharge()
{
    if (busy()) {
        return;
    }
    if (voucher_.isEmpty()) {
        setStatus(RechargeStatus::EnterVoucher);
        return;
    }
    send(RechargeMode::Voucher, [this](const QString& apiUrl, VerdictDone done) {
        client_.rechargeByVoucher(apiUrl, session_.sipUser(), voucher_, this, std::move(done));
    });
}

void RechargeForm::transfer()
{
    if (busy()) {
        return;
    }
    if (account_.isEmpty() && amount_.isEmpty()) {
        setStatus(RechargeStatus::FieldsEmpty);
        return;
    }
    if (account_.isEmpty() || amount_.isEmpty()) {
        setStatus(account_.isEmpty() ? RechargeStatus::EnterAccount : RechargeStatus::EnterAmount);
        return;
    }
    send(RechargeMode::PinToPin, [this](const QString& apiUrl, VerdictDone done) {
        client_.transferFunds(apiUrl, session_.sipUser(), amount_, account_, this, std::move(done));
    });
}

void RechargeForm::takeVerdict(const RechargeVerdict& verdict, RechargeMode mode)
{
    busy_.end();
    setStatus(RechargeStatus::ServerText, verdict.text);
    if (!verdict.succeeded) {
        return;
    }
    if (mode == RechargeMode::Voucher) {
        voucher_.clear();
    } else {
        account_.clear();
        amount_.clear();
    }
    emit fieldsChanged();
    balance_.refreshBalance();
}

}
