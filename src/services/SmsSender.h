#pragma once

#include "net/SmsGateway.h"
#include "services/BoxLimit.h"
#include "services/BusyTracker.h"
#include "services/ServicePorts.h"
#include "services/SmsLog.h"

#include <QObject>
#include <vector>

namespace orvanta {

inline constexpr qsizetype kMaxSmsNumberLength = 25;

enum class SmsNotice { NumberLimit, TooLong, SmsDisabled, OpenUrlException, OpenUrlNoFile };

// What the status label says: nothing, the prompt for a message, or the
// gateway's response as it came.
enum class SmsStatus { Blank, EnterMessage, Response };

// The SMS window's logic: a text of at most 160 characters sent through
// the gateway of "sms_url", and the SMS log read on opening.
class SmsSender : public QObject {
    Q_OBJECT

public:
    SmsSender(SmsGateway& gateway, const ServiceSession& session, BalanceRefresher& balance,
              QObject* parent = nullptr);

    const QString& message() const { return message_; }
    int remaining() const { return remaining_; }
    SmsStatus status() const { return status_; }
    const QString& response() const { return response_; }
    bool busy() const { return busy_.busy(); }
    const std::vector<SmsLogEntry>& log() const { return log_; }

    // Opening: the counter starts at 160 and the SMS log is read (off the
    // calling thread; logLoaded follows).
    void open();

    void editNumber(const QString& number);
    void editMessage(const QString& text);
    // Clear: empties a message that holds text.
    void clear();
    void send(const QString& number);

signals:
    // The message or the counter changed other than by typing.
    void fieldsChanged();
    void statusChanged();
    void busyChanged(bool busy);
    void notice(SmsNotice notice);
    // Send without a number: the number box takes the focus.
    void numberWanted();
    void logLoaded();

private:
    void setStatus(SmsStatus status, const QString& response = {});
    void setMessage(const QString& text);
    void takeReply(const SmsReply& reply);

    SmsGateway& gateway_;
    const ServiceSession& session_;
    BalanceRefresher& balance_;
    QString message_;
    int remaining_ = kMaxSmsCharacters;
    SmsStatus status_ = SmsStatus::Blank;
    QString response_;
    std::vector<SmsLogEntry> log_;
    BusyTracker busy_;
};

}
