#include "net/SmsGateway.h"

#include "net/ServiceHttp.h"

#include <rapidjson/document.h>
#include <utility>
#include <vector>

namespace orvanta {

namespace {

// Pieces of the address being built; only template pieces are searched for
// placeholders, so an inserted value never is.
struct Piece {
    QString text;
    bool fromTemplate;
};

void insertValue(std::vector<Piece>& pieces, const QString& placeholder, const QString& value)
{
    std::vector<Piece> result;
    for (Piece& piece : pieces) {
        if (!piece.fromTemplate) {
            result.push_back(std::move(piece));
            continue;
        }
        const QStringList parts = piece.text.split(placeholder);
        for (qsizetype i = 0; i < parts.size(); ++i) {
            if (i > 0) {
                result.push_back({value, false});
            }
            result.push_back({parts[i], true});
        }
    }
    pieces = std::move(result);
}

}

std::string smsUrl(const QString& urlTemplate, const QString& user, const QString& number,
                   const QString& text)
{
    std::vector<Piece> pieces{
        {QString(urlTemplate).replace(QStringLiteral("zz"), QStringLiteral("&")), true}};
    const std::pair<const char*, const QString&> values[] = {
        {"u1s1er", user}, {"d1n2u3m", number}, {"smstext", text}};
    for (const auto& [placeholder, value] : values) {
        insertValue(pieces, QLatin1String(placeholder), QString::fromStdString(queryValue(value)));
    }
    QString url;
    for (const Piece& piece : pieces) {
        url += piece.text;
    }
    return url.toStdString();
}

std::optional<QString> parseSmsResponse(const QString& reply)
{
    const QByteArray text = reply.toUtf8();
    rapidjson::Document document;
    document.Parse(text.constData(), static_cast<size_t>(text.size()));
    if (document.HasParseError() || !document.IsObject()) {
        return std::nullopt;
    }
    const auto member = document.FindMember("response");
    if (member == document.MemberEnd() || !member->value.IsString()) {
        return std::nullopt;
    }
    return QString::fromUtf8(member->value.GetString(),
                             static_cast<qsizetype>(member->value.GetStringLength()));
}

void SmsGateway::send(const QString& urlTemplate, const QString& user, const QString& number,
                      const QString& text, QObject* receiver, std::function<void(SmsReply)> done)
{
    fetch(smsUrl(urlTemplate, user, number, text), receiver,
          [done = std::move(done)](const WebReply& reply) {
              if (reply.failure != OpenUrlFailure::None) {
                  done({reply.failure, std::nullopt});
                  return;
              }
              done({OpenUrlFailure::None, parseSmsResponse(reply.text)});
          });
}

void SmsGateway::fetch(const std::string& url, QObject* receiver,
                       std::function<void(WebReply)> done)
{
    sendWebApiRequestAsync(deployment_, url, receiver, std::move(done));
}

}
