#pragma once

#include "net/DeploymentSettings.h"
#include "net/WebApiClient.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <string>

namespace orvanta {

// The SMS gateway: one GET to an address made from the provisioning value
// "sms_url", answered by a JSON object whose "response" is shown.

inline constexpr qsizetype kMaxSmsCharacters = 160;
inline const QString kSmsSentResponse = QStringLiteral("Your Message Sent Successfully");

// The template with "zz" replaced by "&", then "u1s1er" by the user,
// "d1n2u3m" by the number and "smstext" by the text, each at every
// occurrence and in that order. The values are percent-encoded, and a
// value once inserted is not searched for the later placeholders.
std::string smsUrl(const QString& urlTemplate, const QString& user, const QString& number,
                   const QString& text);

// The member "response" as a string; nothing when the reply has none.
std::optional<QString> parseSmsResponse(const QString& reply);

struct SmsReply {
    OpenUrlFailure failure = OpenUrlFailure::None;
    std::optional<QString> response;
};

// The gateway as the SMS window uses it. The request runs off the calling
// thread; done is called on the receiver's thread within the deployment's
// time limit, and never after the receiver is destroyed.
class SmsGateway {
public:
    explicit SmsGateway(DeploymentSettings deployment) : deployment_(std::move(deployment)) {}
    virtual ~SmsGateway() = default;

    void send(const QString& urlTemplate, const QString& user, const QString& number,
              const QString& text, QObject* receiver, std::function<void(SmsReply)> done);

protected:
    // The one exchange every request goes through.
    virtual void fetch(const std::string& url, QObject* receiver,
                       std::function<void(WebReply)> done);

private:
    DeploymentSettings deployment_;
};

}
