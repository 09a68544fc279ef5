#include "contacts/ContactFile.h"

#include <QStringDecoder>

namespace orvanta {

QString decodeImportedText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        return QString::fromLatin1(bytes);
    }
    if (text.startsWith(QChar(0xFEFF))) {
        text.remove(0, 1);
    }
    return text;
}

namespace {

void removeAll(QString& text, const QString& characters)
{
    text.removeIf([&](QChar c) { return characters.contains(c); });
}

QString withoutLineBreaks(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

QString digitsOnlyNumber(QString number)
{
    removeAll(number, QStringLiteral(" -.()/\t"));
    if (number.startsWith(QLatin1Char('+'))) {
        number.remove(0, 1);
    }
    return number;
}

}

Contact normaliseImportedContact(Contact contact)
{
    for (QString* field : {&contact.name, &contact.nickname, &contact.address, &contact.city,
                           &contact.state, &contact.country, &contact.pincode, &contact.phone,
                           &contact.pager, &contact.mobile, &contact.fax, &contact.email}) {
        *field = withoutLineBreaks(*field);
    }
    contact.mobile = digitsOnlyNumber(contact.mobile);
    contact.pager = digitsOnlyNumber(contact.pager);
    contact.fax = digitsOnlyNumber(contact.fax);
    removeAll(contact.phone, QStringLiteral(" \t"));
    if (contact.addressType != kOfficeAddress) {
        contact.addressType = kHomeAddress;
    }
    return contact;
}

}
