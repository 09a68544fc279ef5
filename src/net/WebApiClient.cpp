#include "net/WebApiClient.h"

#include "net/ReplyText.h"
#include "net/RequestRunner.h"
#include "net/ServiceHttp.h"

#include <QUrl>

namespace orvanta {

namespace {

const QString kStatusTrue = QStringLiteral("<status>true");
const QString kDataOpen = QStringLiteral("<data>");

bool isUsableAddress(const std::string& url)
{
    const QUrl parsed(QString::fromStdString(url), QUrl::StrictMode);
    const QString scheme = parsed.scheme().toLower();
    return parsed.isValid() && !parsed.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

// The text between the first opening and the first closing tag, without
// any opening tag; empty when either is missing or they are out of order.
QString fieldValue(const QString& record, const QString& tag)
{
    const QString open = QLatin1Char('<') + tag + QLatin1Char('>');
    const QString close = QStringLiteral("</") + tag + QLatin1Char('>');
    const qsizetype start = record.indexOf(open);
    const qsizetype end = record.indexOf(close);
    if (start < 0 || end < start) {
        return {};
    }
    return record.mid(start, end - start).remove(open);
}

// Calls cut(record) for each record text: from a "<data>" to the end of its
// closing marker (included or not), or to the end of the text when the
// marker is missing. The next search starts one past the record's start.
template <typename Cut>
void forEachRecord(const QString& text, const QString& closing, bool includeClosing, Cut cut)
{
    for (qsizetype at = text.indexOf(kDataOpen); at >= 0; at = text.indexOf(kDataOpen, at + 1)) {
        const qsizetype close = text.indexOf(closing, at);
        const qsizetype length =
            close < 0 ? -1 : close - at + (includeClosing ? closing.size() : 0);
        if (!cut(text.mid(at, length))) {
            return;
        }
    }
}

}

WebReply SendWebApiRequest(const std::string& url, const platform::HttpOptions& options)
{
    if (!isUsableAddress(url)) {
        return {OpenUrlFailure::NoFile, {}};
    }
    const platform::HttpResult result = platform::httpGet(url, options);
    if (!result.transferred) {
        return {OpenUrlFailure::Exception, {}};
    }
    return {OpenUrlFailure::None, replyText(result.body)};
}

const char* webApiActionId(WebApiAction action)
{
    switch (action) {
    case WebApiAction::RetrieveFriendList:
        return "retrieveFriendList";
    case WebApiAction::AddFriendList:
        return "addFriendList";
    case WebApiAction::UpdateFriendList:
        return "updateFriendList";
    case WebApiAction::DeleteFriendList:
        return "deleteFriendList";
    case WebApiAction::RetrieveLastCalls:
        return "retrieveLastCalls";
    }
    return "";
}

QString xmlEscaped(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&':
            escaped += QStringLiteral("&amp;");
            break;
        case '<':
            escaped += QStringLiteral("&lt;");
            break;
        case '>':
            escaped += QStringLiteral("&gt;");
            break;
        case '"':
            escaped += QStringLiteral("&quot;");
            break;
        case '\'':
            escaped += QStringLiteral("&apos;");
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

QString friendDocument(WebApiAction action, const QString& subscriberId, const FriendEntry& entry)
{
    const bool withSeqno =
        action == WebApiAction::UpdateFriendList || action == WebApiAction::DeleteFriendList;
    if (!withSeqno && action != WebApiAction::AddFriendList) {
        return {};
    }
    QString document =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><xmldata><subscriberid>") +
        xmlEscaped(subscriberId) + QStringLiteral("</subscriberid><name>") +
        xmlEscaped(entry.name) + QStringLiteral("</name><nickname>") + xmlEscaped(entry.nickname) +
        QStringLiteral("</nickname><pcphone>") + xmlEscaped(entry.pcphone) +
        QStringLiteral("</pcphone><fax>") + xmlEscaped(entry.fax) +
        QStringLiteral("</fax><speeddial>") + xmlEscaped(entry.speeddial);
    if (withSeqno) {
        return document + QStringLiteral("</speeddial><seqno>") + xmlEscaped(entry.seqno) +
               QStringLiteral("</seqno></xmldata>");
    }
    return document + QStringLiteral("</speeddial></xmldata>");
}

std::string webApiUrl(const QString& base, WebApiAction action, const QString& subscriberId,
                      const QString& document)
{
    std::string url = baseWithoutTrailingSlash(base) +
                      "/softphoneRequest.jsp?actionId=" + webApiActionId(action) +
                      "&subscriberId=" + queryValue(subscriberId);
    if (!document.isEmpty()) {
        url += "&xmlData=" + queryValue(document);
    }
    return url;
}

bool webApiSucceeded(const QString& reply)
{
    return reply.contains(kStatusTrue);
}

std::optional<std::vector<FriendEntry>> parseFriendList(const QString& reply, std::size_t maxRows)
{
    const QString text = trimmedOf(reply, u"\r\n");
    if (!webApiSucceeded(text)) {
        return std::nullopt;
    }
    std::vector<FriendEntry> rows;
    forEachRecord(text, QStringLiteral("</speeddial>"), true, [&](const QString& record) {
        if (rows.size() >= maxRows) {
            return false;
        }
        FriendEntry entry{fieldValue(record, QStringLiteral("name")),
                          fieldValue(record, QStringLiteral("nickname")),
                          fieldValue(record, QStringLiteral("pcphone")),
                          fieldValue(record, QStringLiteral("fax")),
                          fieldValue(record, QStringLiteral("speeddial")),
                          fieldValue(record, QStringLiteral("seqno"))};
        if (!entry.name.isEmpty()) {
            rows.push_back(std::move(entry));
        }
        return true;
    });
    return rows;
}

std::optional<std::vector<CallRecord>> parseCallRecords(const QString& reply, std::size_t maxRows)
{
    const QString text = QString(reply).remove(QStringLiteral("\r\n"));
    if (!webApiSucceeded(text)) {
        return std::nullopt;
    }
    std::vector<CallRecord> rows;
    forEachRecord(text, QStringLiteral("</data>"), false, [&](const QString& record) {
        if (rows.size() >= maxRows) {
            return false;
        }
        CallRecord call{fieldValue(record, QStringLiteral("originaldestinationalias")),
                        fieldValue(record, QStringLiteral("starttime")),
                        fieldValue(record, QStringLiteral("endtime")),
                        fieldValue(record, QStringLiteral("callduration")),
                        fieldValue(record, QStringLiteral("callamount"))};
        if (!call.originaldestinationalias.isEmpty()) {
            rows.push_back(std::move(call));
        }
        return true;
    });
    return rows;
}

void WebApiClient::retrieve(WebApiAction action, const QString& subscriberId, QObject* receiver,
                            std::function<void(WebReply)> done)
{
    fetch(webApiUrl(deployment_.webApiUrl, action, subscriberId), receiver, std::move(done));
}

void WebApiClient::changeFriend(WebApiAction action, const QString& subscriberId,
                                const FriendEntry& entry, QObject* receiver,
                                std::function<void(WebReply)> done)
{
    fetch(webApiUrl(deployment_.webApiUrl, action, subscriberId,
                    friendDocument(action, subscriberId, entry)),
          receiver, std::move(done));
}

void WebApiClient::fetch(const std::string& url, QObject* receiver,
                         std::function<void(WebReply)> done)
{
    sendWebApiRequestAsync(deployment_, url, receiver, std::move(done));
}

void sendWebApiRequestAsync(const DeploymentSettings& deployment, const std::string& url,
                            QObject* receiver, std::function<void(WebReply)> done)
{
    const platform::HttpOptions options = serviceHttpOptions(deployment, kMaxWebReplyBytes);
    runRequest<WebReply>(
        receiver, std::chrono::milliseconds(deployment.requestTimeoutMs),
        [url, options] { return SendWebApiRequest(url, options); },
        [done = std::move(done)](std::optional<WebReply> reply) {
            done(reply.value_or(WebReply{OpenUrlFailure::Exception, {}}));
        });
}

}
