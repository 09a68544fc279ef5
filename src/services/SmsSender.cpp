#include "services/SmsSender.h"

#include "net/RequestRunner.h"

namespace orvanta {

SmsSender::SmsSender(SmsGateway& gateway, const ServiceSession& session, BalanceRefresher& balance,
                     QObject* parent)
        : QObject(parent), gateway_(gateway), session_(session), balance_(balance),
          busy_([this](bool busy) { emit busyChanged(busy); })
{
}

void SmsSender::open()
{
    remaining_ = kMaxSmsCharacters - static_cast<int>(message_.size());
    emit fieldsChanged();
    runRequest<std::vector<SmsLogEntry>>(this, std::chrono::milliseconds(0), loadSmsLog,
                                         [this](std::optional<std::vector<SmsLogEntry>> log) {
                                             log_ = log.value_or(std::vector<SmsLogEntry>{});
                                             emit logLoaded();
                                         });
}

void SmsSender::setStatus(SmsStatus status, const QString& response)
{
    status_ = status;
    response_ = response;
    emit statusChanged();
}

void SmsSender::setMessage(const QString& text)
{
    message_ = text;
    remaining_ = kMaxSmsCharacters - static_cast<int>(message_.size());
    emit fieldsChanged();
}

void SmsSender::editNumber(const QString& number)
{
    if (reachesLimit(number, kMaxSmsNumberLength)) {
        emit notice(SmsNotice::NumberLimit);
    }
}

void SmsSender::editMessage(const QString& text)
{
    setStatus(SmsStatus::Blank);
    if (text.size() <= kMaxSmsCharacters) {
        message_ = text;
        remaining_ = kMaxSmsCharacters - static_cast<int>(text.size());
        return;
    }
    setMessage(text.left(kMaxSmsCharacters));
    emit notice(SmsNotice::TooLong);
}

void SmsSender::clear()
{
    if (message_.isEmpty()) {
        return;
    }
    setMessage({});
    setStatus(SmsStatus::Blank);
}

void SmsSender::send(const QString& number)
{
    if (busy() || session_.provisioningValue(QStringLiteral("sms")) == QLatin1String("off")) {
        return;
    }
    setStatus(SmsStatus::Blank);
    if (number.isEmpty()) {
        emit numberWanted();
        return;
    }
    if (message_.isEmpty()) {
        setStatus(SmsStatus::EnterMessage);
        return;
    }
    const QString text = message_.left(kMaxSmsCharacters);
    const QString urlTemplate = session_.provisioningValue(QStringLiteral("sms_url"));
    if (urlTemplate.isEmpty()) {
        emit notice(SmsNotice::SmsDisabled);
        return;
    }
    busy_.begin();
    gateway_.send(urlTemplate, session_.sipUser(), number, text, this,
                  [this](const SmsReply& reply) {
                      busy_.end();
                      takeReply(reply);
                  });
}

void SmsSender::takeReply(const SmsReply& reply)
{
    switch (reply.failure) {
    case OpenUrlFailure::Exception:
        emit notice(SmsNotice::OpenUrlException);
        return;
    case OpenUrlFailure::NoFile:
        emit notice(SmsNotice::OpenUrlNoFile);
        return;
    case OpenUrlFailure::None:
        break;
    }
    const QString response = reply.response.value_or(QString());
    setStatus(SmsStatus::Response, response);
    if (response == kSmsSentResponse) {
        setMessage({});
        balance_.refreshBalance();
    }
}

}
