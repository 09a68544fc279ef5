#include "net/PortalClient.h"

#include "net/ServiceDirectory.h"
#include "net/ServiceHttp.h"
#include "platform/OffThread.h"

#include <rapidjson/document.h>

namespace orvanta {

namespace {

constexpr std::size_t kMaxPortalAnswer = 10000;

std::optional<QByteArray> textOf(const rapidjson::Value& value)
{
    if (value.IsString()) {
        return QByteArray(value.GetString(), static_cast<qsizetype>(value.GetStringLength()));
    }
    if (value.IsInt64()) {
        return QByteArray::number(static_cast<qlonglong>(value.GetInt64()));
    }
    return std::nullopt;
}

}

std::string portalLoginUrl(const QString& portalBase, const QString& user, const QString& password)
{
    return baseWithoutTrailingSlash(portalBase) +
           "/vportal/API/TRAMOZED/login_api.php?user=" + queryValue(user) +
           "&password=" + queryValue(password) + "&aid=";
}

std::string portalBalanceUrl(const QString& portalBase, const QString& user)
{
    return baseWithoutTrailingSlash(portalBase) +
           "/vportal/API/TRAMOZED/balance_api.php?user=" + queryValue(user) + "&idClient=IDCLIENT";
}

std::optional<BalanceAnswer> parseBalanceAnswer(const QByteArray& text)
{
    QByteArray cleaned = text.trimmed();
    cleaned.replace("\r\n", "");
    rapidjson::Document document;
    document.Parse(cleaned.constData(), static_cast<size_t>(cleaned.size()));
    if (document.HasParseError() || !document.IsObject()) {
        return std::nullopt;
    }
    const auto list = document.FindMember("listbalance");
    if (list == document.MemberEnd() || !list->value.IsArray()) {
        return std::nullopt;
    }
    std::optional<BalanceAnswer> answer;
    for (const rapidjson::Value& element : list->value.GetArray()) {
        if (!element.IsObject()) {
            continue;
        }
        BalanceAnswer values = answer.value_or(BalanceAnswer{});
        for (const auto& [key, slot] :
             {std::pair{"balance", &values.balance}, std::pair{"currency", &values.currency}}) {
            const auto member = element.FindMember(key);
            if (member != element.MemberEnd() && member->value.IsString()) {
                *slot = QString::fromUtf8(member->value.GetString(),
                                          static_cast<qsizetype>(member->value.GetStringLength()));
            }
        }
        answer = values;
    }
    return answer;
}

BalanceResult askBalance(const DeploymentSettings& deployment, const QString& user)
{
    const platform::HttpResult result =
        ServiceHttp(deployment).get(portalBalanceUrl(deployment.portalUrl, user), kMaxPortalAnswer);
    if (!result.transferred) {
        return {BalanceFailure::Unreachable, std::nullopt};
    }
    if (result.status < 200 || result.status >= 300) {
        return {BalanceFailure::Refused, std::nullopt};
    }
    auto answer = parseBalanceAnswer(QByteArray::fromStdString(result.body));
    return {answer ? BalanceFailure::None : BalanceFailure::Unreadable, answer};
}

PortalAnswer parsePortalAnswer(const QByteArray& text)
{
    PortalAnswer answer;
    rapidjson::Document document;
    const QByteArray trimmed = text.trimmed();
    document.Parse(trimmed.constData(), static_cast<size_t>(trimmed.size()));
    if (document.HasParseError() || !document.IsObject()) {
        return answer;
    }
    const auto list = document.FindMember("listclient");
    if (list == document.MemberEnd() || !list->value.IsArray()) {
        return answer;
    }
    for (const rapidjson::Value& element : list->value.GetArray()) {
        if (!element.IsObject()) {
            continue;
        }
        const struct {
            const char* key;
            std::optional<QByteArray>& slot;
            bool onlyStrings;
        } fields[] = {
            {"idClient", answer.idClient, true},
            {"sippassword", answer.sipPassword, true},
            {"aid", answer.aid, false},
        };
        for (const auto& field : fields) {
            const auto member = element.FindMember(field.key);
            if (member == element.MemberEnd() || (field.onlyStrings && !member->value.IsString())) {
                continue;
            }
            if (auto value = textOf(member->value)) {
                field.slot = value;
            }
        }
    }
    return answer;
}

std::optional<PortalAnswer> askPortal(const DeploymentSettings& deployment, const QString& user,
                                      const QString& password)
{
    const platform::HttpResult result =
        ServiceHttp(deployment)
            .get(portalLoginUrl(deployment.portalUrl, user, password), kMaxPortalAnswer);
    if (!result.transferred) {
        return std::nullopt;
    }
    return parsePortalAnswer(QByteArray::fromStdString(result.body));
}

PortalClient::PortalClient(const ServiceDirectory& services, QObject* parent)
        : QObject(parent), services_(services)
{
}

void PortalClient::requestLogin(const QString& user, const QString& password)
{
    platform::runOffThread(
        this,
        [deployment = services_.deployment(), user, password] {
            return askPortal(deployment, user, password);
        },
        [this](const std::optional<PortalAnswer>& answer) { emit loginAnswered(answer); });
}

void PortalClient::requestBalance(const QString& user)
{
    platform::runOffThread(
        this, [deployment = services_.deployment(), user] { return askBalance(deployment, user); },
        [this](const BalanceResult& result) { emit balanceAnswered(result); });
}

}
