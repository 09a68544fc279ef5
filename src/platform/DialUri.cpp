#include "platform/DialUri.h"

#include <QByteArray>

namespace orvanta::platform {

namespace {

// Characters of a SIP user part (RFC 3261 unreserved and user-unreserved)
// that the dial pad also takes, and '#' which links write escaped.
bool isDialableCharacter(QChar c)
{
    static const QString marks = QStringLiteral("-_!~*'()&=+$/#");
    const char16_t u = c.unicode();
    const bool alphanumeric =
        (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
    return alphanumeric || marks.contains(c);
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::optional<QString> percentDecoded(const QString& text)
{
    const QByteArray raw = text.toUtf8();
    QByteArray bytes;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] != '%') {
            bytes.append(raw[i]);
            continue;
        }
        const int high = i + 1 < raw.size() ? hexValue(raw[i + 1]) : -1;
        const int low = i + 2 < raw.size() ? hexValue(raw[i + 2]) : -1;
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        bytes.append(static_cast<char>(high * 16 + low));
        i += 2;
    }
    return QString::fromUtf8(bytes);
}

bool startsWithScheme(const QString& text, QLatin1StringView scheme)
{
    return text.startsWith(scheme, Qt::CaseInsensitive);
}

// RFC 3966 visual separators, and the blanks that pasted numbers carry.
QString withoutVisualSeparators(const QString& number)
{
    QString out;
    for (QChar c : number) {
        if (!QStringLiteral("-.() ").contains(c)) {
            out.append(c);
        }
    }
    return out;
}

// A telephone number: digits, '*' and '#', and '+' only in front.
bool isTelephoneNumber(const QString& number)
{
    for (qsizetype i = 0; i < number.size(); ++i) {
        const QChar c = number[i];
        const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        const bool key = c == QLatin1Char('*') || c == QLatin1Char('#');
        const bool plus = c == QLatin1Char('+') && i == 0;
        if (!digit && !key && !plus) {
            return false;
        }
    }
    return true;
}

DialUriResult failure(DialUriError error)
{
    return {std::nullopt, error};
}

DialUriResult checked(const QString& number)
{
    if (number.isEmpty()) {
        return failure(DialUriError::Empty);
    }
    if (number.size() > kMaxDialledCharacters) {
        return failure(DialUriError::TooLong);
    }
    if (!isDialableNumber(number)) {
        return failure(DialUriError::BadCharacter);
    }
    return {number, DialUriError::None};
}

// tel:, callto: and bare numbers: a telephone number with visual separators.
DialUriResult telephoneNumber(const QString& encoded)
{
    const std::optional<QString> decoded = percentDecoded(encoded);
    if (!decoded) {
        return failure(DialUriError::BadEscape);
    }
    const QString number = withoutVisualSeparators(*decoded);
    if (number.isEmpty() || number == QLatin1String("+")) {
        return failure(DialUriError::Empty);
    }
    if (!isTelephoneNumber(number)) {
        return failure(DialUriError::BadCharacter);
    }
    return checked(number);
}

// sip:[user[:password]@]host[:port][;params][?headers]
DialUriResult sipUser(const QString& rest)
{
    const qsizetype at = rest.indexOf(QLatin1Char('@'));
    if (at < 0) {
        return failure(DialUriError::NoUser);
    }
    QString user = rest.left(at);
    // A password, or the parameters of a telephone-subscriber user part.
    user = user.section(QLatin1Char(':'), 0, 0).section(QLatin1Char(';'), 0, 0);
    const std::optional<QString> decoded = percentDecoded(user);
    if (!decoded) {
        return failure(DialUriError::BadEscape);
    }
    const bool phoneUser = rest.mid(at).contains(QLatin1String(";user=phone"), Qt::CaseInsensitive);
    return checked(phoneUser ? withoutVisualSeparators(*decoded) : *decoded);
}

QString upToParameters(const QString& text)
{
    return text.section(QLatin1Char(';'), 0, 0).section(QLatin1Char('?'), 0, 0);
}

}

bool isDialableNumber(const QString& number)
{
    if (number.isEmpty() || number.size() > kMaxDialledCharacters) {
        return false;
    }
    for (QChar c : number) {
        if (!isDialableCharacter(c)) {
            return false;
        }
    }
    return true;
}

DialUriResult parseDialUri(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (startsWithScheme(trimmed, QLatin1StringView("sips:"))) {
        return sipUser(trimmed.mid(5));
    }
    if (startsWithScheme(trimmed, QLatin1StringView("sip:"))) {
        return sipUser(trimmed.mid(4));
    }
    if (startsWithScheme(trimmed, QLatin1StringView("tel:"))) {
        return telephoneNumber(trimmed.mid(4).section(QLatin1Char(';'), 0, 0));
    }
    if (startsWithScheme(trimmed, QLatin1StringView("callto:"))) {
        QString rest = trimmed.mid(7);
        if (rest.startsWith(QLatin1String("//"))) {
            rest = rest.mid(2);
        }
        if (const qsizetype at = rest.indexOf(QLatin1Char('@')); at >= 0) {
            rest = rest.left(at);
        }
        return telephoneNumber(upToParameters(rest));
    }
    const DialUriResult bare = telephoneNumber(trimmed);
    if (!bare.number && bare.error == DialUriError::BadCharacter) {
        return failure(DialUriError::NotAnAddress);
    }
    return bare;
}

}
