#include "net/AccountApiClient.h"

#include "net/RawHttpRequest.h"
#include "net/ReplyText.h"
#include "net/RequestRunner.h"
#include "net/ServiceHttp.h"

#include <QCryptographicHash>
#include <rapidjson/document.h>

namespace orvanta {

namespace {

const char kFormPrefix[] = "un=";

std::string formStart(const QString& user, const char* type)
{
    return kFormPrefix + digest(user) + "&type=" + digest(QLatin1String(type));
}

std::optional<QString> stringMember(const rapidjson::Value& object, const char* name)
{
    const auto member = object.FindMember(name);
    if (member == object.MemberEnd() || !member->value.IsString()) {
        return std::nullopt;
    }
    return QString::fromUtf8(member->value.GetString(),
                             static_cast<qsizetype>(member->value.GetStringLength()));
}

// The text from skip characters after the key word, as long as the
// distance from the key word to the first "}"; empty when either is missing
// or the "}" comes first.
QString textAfter(const QString& body, const QString& keyWord)
{
    const qsizetype at = body.indexOf(keyWord);
    const qsizetype close = body.indexOf(QLatin1Char('}'));
    if (at < 0 || close <= at) {
        return {};
    }
    return body.mid(at + keyWord.size(), close - at);
}

// Without the braces and colons around it, and without any colon or
// double quote.
QString cleaned(const QString& text)
{
    return trimmedOf(text, u":{}").remove(QLatin1Char(':')).remove(QLatin1Char('"'));
}

}

std::string digest(const QString& text)
{
    return QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Md5).toHex().toStdString();
}

std::string rateRequestBody(const QString& user, const QString& number)
{
    return formStart(user, "creditmins") + "&pf=" + digest(number);
}

std::string voucherRequestBody(const QString& user, const QString& voucher)
{
    return formStart(user, "voucher") + "&vc=" + digest(voucher);
}

std::string transferRequestBody(const QString& user, const QString& amount,
                                const QString& destination)
{
    return formStart(user, "pin2pin") + "&am=" + queryValue(amount) +
           "&dstun=" + digest(destination);
}

std::string accountApiUrl(const QString& apiUrl)
{
    return apiUrl.toStdString() + "?";
}

bool replyBodyComplete(const std::string& headerText, const std::string& body)
{
    const QList<QByteArray> lines = QByteArray::fromStdString(headerText).split('\n');
    for (const QByteArray& line : lines) {
        const qsizetype colon = line.indexOf(':');
        if (colon < 0 || line.left(colon).trimmed().toLower() != "content-length") {
            continue;
        }
        bool isNumber = false;
        const qulonglong announced = line.mid(colon + 1).trimmed().toULongLong(&isNumber);
        return !isNumber || body.size() >= announced;
    }
    return true;
}

RateAnswer parseRateAnswer(const std::string& body)
{
    rapidjson::Document document;
    document.Parse(body.c_str(), body.size());
    if (document.HasParseError() || !document.IsObject()) {
        return {};
    }
    const std::optional<QString> rate = stringMember(document, "rate");
    const std::optional<QString> mins = stringMember(document, "mins");
    if (!rate || !mins || rate->isEmpty() || mins->isEmpty()) {
        return {};
    }
    const RateOutcome outcome =
        *mins == QLatin1String("0") ? RateOutcome::ZeroMinutes : RateOutcome::Rate;
    return {outcome, *rate, *mins};
}

RechargeVerdict judgeRechargeReply(const QString& body)
{
    const QString success = QStringLiteral("success");
    if (body.indexOf(success) > 0) {
        return {true, cleaned(textAfter(body, success))};
    }
    return {false, cleaned(textAfter(body, QStringLiteral("error")))};
}

void AccountApiClient::lookUpRate(const QString& apiUrl, const QString& user, const QString& number,
                                  QObject* receiver, std::function<void(RateAnswer)> done)
{
    post(accountApiUrl(apiUrl), rateRequestBody(user, number), receiver,
         [done = std::move(done)](const std::string& body) { done(parseRateAnswer(body)); });
}

void AccountApiClient::rechargeByVoucher(const QString& apiUrl, const QString& user,
                                         const QString& voucher, QObject* receiver,
                                         std::function<void(RechargeVerdict)> done)
{
    post(accountApiUrl(apiUrl), voucherRequestBody(user, voucher), receiver,
         [done = std::move(done)](const std::string& body) {
             done(judgeRechargeReply(replyText(body)));
         });
}

void AccountApiClient::transferFunds(const QString& apiUrl, const QString& user,
                                     const QString& amount, const QString& destination,
                                     QObject* receiver, std::function<void(RechargeVerdict)> done)
{
    post(accountApiUrl(apiUrl), transferRequestBody(user, amount, destination), receiver,
         [done = std::move(done)](const std::string& body) {
             done(judgeRechargeReply(replyText(body)));
         });
}

void AccountApiClient::post(const std::string& url, const std::string& body, QObject* receiver,
                            std::function<void(std::string)> done)
{
    runRequest<std::string>(
        receiver, std::chrono::milliseconds(deployment_.requestTimeoutMs),
        [url, body] {
            std::string requestText;
            std::string headerText;
            std::string responseBody;
            PostForm(url, body, true, requestText, headerText, responseBody);
            return replyBodyComplete(headerText, responseBody) ? responseBody : std::string();
        },
        [done = std::move(done)](std::optional<std::string> reply) {
            done(reply.value_or(std::string()));
        });
}

}
