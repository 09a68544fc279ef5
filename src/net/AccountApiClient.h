#pragma once

#include "net/DeploymentSettings.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <string>

namespace orvanta {

// The account API at the provisioning value "api_url": rate lookups,
// voucher recharges and transfers between accounts, sent as form POSTs of
// MD5 digests through PostForm.

// The MD5 of the text's UTF-8 bytes, as 32 lower-case hexadecimal digits.
std::string digest(const QString& text);

std::string rateRequestBody(const QString& user, const QString& number);
std::string voucherRequestBody(const QString& user, const QString& voucher);
// The amount goes in as typed (it is percent-encoded, which leaves the
// digits and dots the amount box lets through unchanged).
std::string transferRequestBody(const QString& user, const QString& amount,
                                const QString& destination);

// The address the forms are posted to: "api_url" followed by "?".
std::string accountApiUrl(const QString& apiUrl);

// False when the header announces a Content-Length the body falls short of
// (the peer closed in the middle of the reply).
bool replyBodyComplete(const std::string& headerText, const std::string& body);

enum class RateOutcome { InvalidRequest, ZeroMinutes, Rate };
struct RateAnswer {
    RateOutcome outcome = RateOutcome::InvalidRequest;
    QString rate;
    QString mins;

    bool operator==(const RateAnswer&) const = default;
};
// Reads the members "rate" and "mins" as strings.
RateAnswer parseRateAnswer(const std::string& body);

struct RechargeVerdict {
    bool succeeded = false;
    QString text;  // the server's sentence, cut out of the raw reply

    bool operator==(const RechargeVerdict&) const = default;
};
// Judges a voucher or transfer reply by the words "success" and "error" in
// its raw text.
RechargeVerdict judgeRechargeReply(const QString& body);

// The account API as the windows use it. Each request runs off the calling
// thread; done is called on the receiver's thread within the deployment's
// time limit, and never after the receiver is destroyed. A request that
// fails, times out or is cut short counts as an empty reply.
class AccountApiClient {
public:
    explicit AccountApiClient(DeploymentSettings deployment) : deployment_(std::move(deployment)) {}
    virtual ~AccountApiClient() = default;

    void lookUpRate(const QString& apiUrl, const QString& user, const QString& number,
                    QObject* receiver, std::function<void(RateAnswer)> done);
    void rechargeByVoucher(const QString& apiUrl, const QString& user, const QString& voucher,
                           QObject* receiver, std::function<void(RechargeVerdict)> done);
    void transferFunds(const QString& apiUrl, const QString& user, const QString& amount,
                       const QString& destination, QObject* receiver,
                       std::function<void(RechargeVerdict)> done);

protected:
    // The one exchange every request goes through; done gets the reply body.
    virtual void post(const std::string& url, const std::string& body, QObject* receiver,
                      std::function<void(std::string)> done);

private:
    DeploymentSettings deployment_;
};

}
