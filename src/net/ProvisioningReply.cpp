#include "net/ProvisioningReply.h"

#include <rapidjson/document.h>

#include <charconv>

namespace orvanta {

namespace {

QString stringMember(const rapidjson::Document& document, const char* key)
{
    const auto member = document.FindMember(key);
    if (member == document.MemberEnd() || !member->value.IsString()) {
        return {};
    }
    return QString::fromUtf8(member->value.GetString(),
                             static_cast<qsizetype>(member->value.GetStringLength()));
}

}

std::optional<ProvisioningReply> ProvisioningReply::parse(const QByteArray& text)
{
    rapidjson::Document document;
    document.Parse(text.constData(), static_cast<size_t>(text.size()));
    if (document.HasParseError() || !document.IsObject()) {
        return std::nullopt;
    }
    ProvisioningReply r;
    const struct {
        const char* key;
        QString ProvisioningReply::*field;
    } fields[] = {
        {"status", &ProvisioningReply::status},
        {"ip", &ProvisioningReply::ip},
        {"registrarip", &ProvisioningReply::registrarIp},
        {"vpn", &ProvisioningReply::vpn},
        {"newkey", &ProvisioningReply::newKey},
        {"oldkey", &ProvisioningReply::oldKey},
        {"prefix", &ProvisioningReply::prefix},
        {"size", &ProvisioningReply::size},
        {"sprt", &ProvisioningReply::sprt},
        {"rereg", &ProvisioningReply::rereg},
        {"rtrp", &ProvisioningReply::rtrp},
        {"keep", &ProvisioningReply::keep},
        {"fips", &ProvisioningReply::fips},
        {"fports", &ProvisioningReply::fports},
        {"header", &ProvisioningReply::header},
        {"footer", &ProvisioningReply::footer},
        {"myaccounts", &ProvisioningReply::myAccounts},
        {"balance", &ProvisioningReply::balance},
        {"email", &ProvisioningReply::email},
        {"orecharge", &ProvisioningReply::oRecharge},
        {"webcdr", &ProvisioningReply::webCdr},
        {"webcdr_url", &ProvisioningReply::webCdrUrl},
        {"api_url", &ProvisioningReply::apiUrl},
        {"sms_url", &ProvisioningReply::smsUrl},
        {"sms", &ProvisioningReply::sms},
        {"im", &ProvisioningReply::im},
        {"Signup_url", &ProvisioningReply::signupUrl},
        {"connectiontype", &ProvisioningReply::connectionType},
        {"ivr", &ProvisioningReply::ivr},
        {"en_pref", &ProvisioningReply::enPref},
        {"key", &ProvisioningReply::key},
    };
    for (const auto& entry : fields) {
        r.*entry.field = stringMember(document, entry.key);
    }
    return r;
}

EngineConfiguration ProvisioningReply::engineConfiguration() const
{
    EngineConfiguration config;
    config.packetTime = leadingInteger(size);
    config.sipPort = leadingInteger(sprt);
    config.expiry = leadingInteger(rereg);
    config.rtpPort = leadingInteger(rtrp);
    config.keepAlive = leadingInteger(keep);
    config.encryption = encryptionOn();
    config.numericKeyOff = newKey == QLatin1String("off");
    const KeyGroups key = keyGroups(newKey, ThirdGroup::OnlyWithTwoDashes);
    config.numericKeyDashes = key.dashes;
    config.numericKey = {key.first, key.second, key.third};
    const KeyGroups prefixGroups = keyGroups(prefix, ThirdGroup::Always);
    config.prefix = {prefixGroups.first, prefixGroups.second, prefixGroups.third};
    // Only the low byte of each character counts.
    config.textKey.reserve(oldKey.size());
    for (QChar c : oldKey) {
        config.textKey.append(static_cast<char>(c.unicode() & 0xFF));
    }
    config.registrarHost = registrarIp;
    config.proxyHost = ip;
    return config;
}

int leadingInteger(const QString& text)
{
    const QByteArray latin = text.trimmed().toLatin1();
    const char* begin = latin.constData();
    const char* end = begin + latin.size();
    if (begin != end && *begin == '+') {
        ++begin;
    }
    int value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    return error == std::errc() ? value : 0;
}

KeyGroups keyGroups(const QString& text, ThirdGroup third)
{
    KeyGroups groups;
    groups.dashes = static_cast<int>(text.count(QLatin1Char('-')));
    groups.first = leadingInteger(text.mid(0, 3));
    groups.second = leadingInteger(text.mid(4, 3));
    if (third == ThirdGroup::Always || groups.dashes == 2) {
        groups.third = leadingInteger(text.mid(8, 3));
    }
    return groups;
}

}
