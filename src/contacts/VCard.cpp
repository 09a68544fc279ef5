#include "contacts/VCard.h"

#include <belcard/belcard.hpp>
#include <belcard/belcard_parser.hpp>

#include <QStringList>
#include <array>
#include <optional>

namespace orvanta {

namespace {

// The vCard library reads vCard 4.0 only, keeps the last of several TYPE
// parameters, refuses a whole card for one property it does not know how to
// read (a 3.0 birthday such as 1980-01-01) and "\;" in plain text values. So
// each card is first reduced to the properties we take, in 4.0 form, with all
// of a property's types in one quoted TYPE parameter.
constexpr std::array kReadProperties = {"FN", "N", "NICKNAME", "TEL", "EMAIL", "ADR"};
// Longer values are cut before the library reads them; a field that long is
// refused as too long anyway.
constexpr qsizetype kMaxValueLength = 4096;

struct ContentLine {
    QString name;  // upper case, without its group
    QStringList types;
    QString value;  // as written, escapes included
};

// Line breaks followed by a space or a tab continue the line before.
QByteArray unfolded(const QByteArray& bytes)
{
    QByteArray out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        qsizetype next = i;
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            next = i + 2;
        } else if (bytes[i] == '\r' || bytes[i] == '\n') {
            next = i + 1;
        } else {
            out.append(bytes[i]);
            continue;
        }
        if (next < bytes.size() && (bytes[next] == ' ' || bytes[next] == '\t')) {
            i = next;  // the break and the one blank vanish
        } else {
            out.append('\n');
            i = next - 1;
        }
    }
    return out;
}

QStringList splitOutsideQuotes(const QString& text, QChar separator)
{
    QStringList parts;
    QString current;
    bool quoted = false;
    for (QChar c : text) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
        }
        if (c == separator && !quoted) {
            parts.append(current);
            current.clear();
        } else {
            current.append(c);
        }
    }
    parts.append(current);
    return parts;
}

bool isTypeToken(const QString& type)
{
    return !type.isEmpty() && std::all_of(type.begin(), type.end(), [](QChar c) {
        return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
               (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-');
    });
}

QStringList typesIn(QString list)
{
    QStringList types;
    for (const QString& part : list.remove(QLatin1Char('"')).split(QLatin1Char(','))) {
        const QString type = part.trimmed().toLower();
        if (isTypeToken(type)) {
            types.append(type);
        }
    }
    return types;
}

std::optional<ContentLine> parseContentLine(const QString& line)
{
    qsizetype colon = -1;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size() && colon < 0; ++i) {
        if (line[i] == QLatin1Char('"')) {
            quoted = !quoted;
        } else if (line[i] == QLatin1Char(':') && !quoted) {
            colon = i;
        }
    }
    if (colon < 0) {
        return std::nullopt;
    }
    const QStringList head = splitOutsideQuotes(line.left(colon), QLatin1Char(';'));
    ContentLine content;
    content.name = head.front().mid(head.front().lastIndexOf(QLatin1Char('.')) + 1).toUpper();
    content.value = line.mid(colon + 1, kMaxValueLength);
    for (qsizetype i = 1; i < head.size(); ++i) {
        const qsizetype equals = head[i].indexOf(QLatin1Char('='));
        if (equals < 0) {
            content.types += typesIn(head[i]);  // vCard 2.1: TEL;CELL:...
        } else if (head[i].left(equals).trimmed().compare(QLatin1String("TYPE"),
                                                          Qt::CaseInsensitive) == 0) {
            content.types += typesIn(head[i].mid(equals + 1));
        }
    }
    return content;
}

bool isReadProperty(const QString& name)
{
    return std::any_of(kReadProperties.begin(), kReadProperties.end(),
                       [&](const char* known) { return name == QLatin1String(known); });
}

std::vector<std::vector<ContentLine>> cardsIn(const QString& text)
{
    std::vector<std::vector<ContentLine>> cards;
    std::optional<std::vector<ContentLine>> current;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (trimmed.compare(QLatin1String("BEGIN:VCARD"), Qt::CaseInsensitive) == 0) {
            current.emplace();
        } else if (trimmed.compare(QLatin1String("END:VCARD"), Qt::CaseInsensitive) == 0) {
            if (current) {
                cards.push_back(std::move(*current));
            }
            current.reset();
        } else if (current) {
            std::optional<ContentLine> content = parseContentLine(line);
            if (content && isReadProperty(content->name)) {
                current->push_back(std::move(*content));
            }
        }
    }
    if (current) {
        cards.push_back(std::move(*current));  // a last card without its END
    }
    return cards;
}

// Components of a structured value; older versions may write fewer.
int componentsOf(const QString& name)
{
    if (name == QLatin1String("N")) {
        return 5;
    }
    return name == QLatin1String("ADR") ? 7 : 1;
}

int separatorsIn(const QString& value)
{
    int separators = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == QLatin1Char('\\')) {
            ++i;
        } else if (value[i] == QLatin1Char(';')) {
            ++separators;
        }
    }
    return separators;
}

std::string lineFor(const ContentLine& content)
{
    QString line = content.name;
    if (!content.types.isEmpty()) {
        line +=
            QStringLiteral(";TYPE=\"") + content.types.join(QLatin1Char(',')) + QLatin1Char('"');
    }
    QString value = content.value;
    const int components = componentsOf(content.name);
    if (components == 1) {
        value.replace(QLatin1String("\\;"), QLatin1String(";"));
    } else {
        value += QString(std::max(0, components - 1 - separatorsIn(value)), QLatin1Char(';'));
    }
    line += QLatin1Char(':') + value + QStringLiteral("\r\n");
    return line.toStdString();
}

std::string cardText(const std::vector<ContentLine>& lines)
{
    std::string text = "BEGIN:VCARD\r\nVERSION:4.0\r\n";
    for (const ContentLine& line : lines) {
        text += lineFor(line);
    }
    return text + "END:VCARD\r\n";
}

// The card, or when the library refuses it, the card made of the properties
// it reads one by one.
std::shared_ptr<belcard::BelCard> parseCard(belcard::BelCardParser& parser,
                                            const std::vector<ContentLine>& lines)
{
    if (std::shared_ptr<belcard::BelCard> card = parser.parseOne(cardText(lines))) {
        return card;
    }
    std::vector<ContentLine> readable;
    for (const ContentLine& line : lines) {
        if (parser.parseOne(cardText({line}))) {
            readable.push_back(line);
        }
    }
    return readable.empty() ? nullptr : parser.parseOne(cardText(readable));
}

QString unescaped(const std::string& raw)
{
    const QString text = QString::fromStdString(raw);
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\\') || i + 1 == text.size()) {
            out.append(text[i]);
            continue;
        }
        const QChar next = text[++i];
        out.append(next == QLatin1Char('n') || next == QLatin1Char('N') ? QChar(QLatin1Char(' '))
                                                                        : next);
    }
    return out.trimmed();
}

// The library keeps a quoted TYPE among the other parameters.
QStringList typesOf(const belcard::BelCardProperty& property)
{
    QStringList types;
    if (const std::shared_ptr<belcard::BelCardTypeParam>& type = property.getTypeParam()) {
        types += typesIn(QString::fromStdString(type->getValue()));
    }
    for (const std::shared_ptr<belcard::BelCardParam>& param : property.getParams()) {
        if (QString::fromStdString(param->getName())
                .compare(QLatin1String("TYPE"), Qt::CaseInsensitive) == 0) {
            types += typesIn(QString::fromStdString(param->getValue()));
        }
    }
    return types;
}

bool hasAnyType(const QStringList& types, std::initializer_list<const char*> wanted)
{
    return std::any_of(wanted.begin(), wanted.end(),
                       [&](const char* type) { return types.contains(QLatin1String(type)); });
}

QString& numberFieldFor(Contact& contact, const QStringList& types)
{
    if (hasAnyType(types, {"cell", "mobile", "iphone"})) {
        return contact.mobile;
    }
    if (hasAnyType(types, {"pager"})) {
        return contact.pager;
    }
    if (hasAnyType(types, {"fax"})) {
        return contact.fax;
    }
    return contact.phone;
}

QString joinedNonEmpty(std::initializer_list<QString> parts, const QString& separator)
{
    QStringList kept;
    for (const QString& part : parts) {
        if (!part.isEmpty()) {
            kept.append(part);
        }
    }
    return kept.join(separator);
}

Contact contactOf(const belcard::BelCard& card)
{
    Contact contact;
    contact.addressType = kHomeAddress;
    if (card.getFullName()) {
        contact.name = unescaped(card.getFullName()->getValue());
    }
    if (contact.name.isEmpty() && card.getName()) {
        contact.name = joinedNonEmpty(
            {unescaped(card.getName()->getGivenName()), unescaped(card.getName()->getFamilyName())},
            QStringLiteral(" "));
    }
    if (!card.getNicknames().empty()) {
        contact.nickname = unescaped(card.getNicknames().front()->getValue());
    }
    if (!card.getAddresses().empty()) {
        const belcard::BelCardAddress& address = *card.getAddresses().front();
        contact.address = joinedNonEmpty({unescaped(address.getPostOfficeBox()),
                                          unescaped(address.getExtendedAddress()),
                                          unescaped(address.getStreet())},
                                         QStringLiteral(", "));
        contact.city = unescaped(address.getLocality());
        contact.state = unescaped(address.getRegion());
        contact.pincode = unescaped(address.getPostalCode());
        contact.country = unescaped(address.getCountry());
        if (typesOf(address).contains(QLatin1String("work"))) {
            contact.addressType = kOfficeAddress;
        }
    }
    for (const std::shared_ptr<belcard::BelCardPhoneNumber>& tel : card.getPhoneNumbers()) {
        QString number = unescaped(tel->getValue());
        if (number.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive)) {
            number = number.mid(4);
        }
        QString& field = numberFieldFor(contact, typesOf(*tel));
        if (field.isEmpty()) {
            field = number;
        }
    }
    if (!card.getEmails().empty()) {
        contact.email = unescaped(card.getEmails().front()->getValue());
    }
    return contact;
}

// Control characters have no place in a card; line breaks are written as \n.
QString escaped(const QString& value, bool compound)
{
    QString out;
    for (QChar c : value) {
        if (c == QLatin1Char('\\') || c == QLatin1Char(',') ||
            (compound && c == QLatin1Char(';'))) {
            out += QLatin1Char('\\');
            out += c;
        } else if (c == QLatin1Char('\n')) {
            out += QLatin1String("\\n");
        } else if (c.unicode() >= 0x20 && c.unicode() != 0x7F) {
            out += c;
        }
    }
    return out;
}

template <typename Property>
std::shared_ptr<Property> textProperty(const QString& value, const char* type = nullptr)
{
    auto property = std::make_shared<Property>();
    property->setValue(escaped(value, false).toStdString());
    if (type) {
        auto param = std::make_shared<belcard::BelCardTypeParam>();
        param->setValue(type);
        property->setTypeParam(param);
    }
    return property;
}

std::shared_ptr<belcard::BelCard> cardOf(const Contact& contact)
{
    auto card = std::make_shared<belcard::BelCard>();
    card->setFullName(textProperty<belcard::BelCardFullName>(contact.name));
    if (!contact.nickname.isEmpty()) {
        card->addNickname(textProperty<belcard::BelCardNickname>(contact.nickname));
    }
    const bool hasAddress = !contact.address.isEmpty() || !contact.city.isEmpty() ||
                            !contact.state.isEmpty() || !contact.pincode.isEmpty() ||
                            !contact.country.isEmpty();
    if (hasAddress || contact.isOffice()) {
        auto address = std::make_shared<belcard::BelCardAddress>();
        address->setStreet(escaped(contact.address, true).toStdString());
        address->setLocality(escaped(contact.city, true).toStdString());
        address->setRegion(escaped(contact.state, true).toStdString());
        address->setPostalCode(escaped(contact.pincode, true).toStdString());
        address->setCountry(escaped(contact.country, true).toStdString());
        auto type = std::make_shared<belcard::BelCardTypeParam>();
        type->setValue(contact.isOffice() ? "work" : "home");
        address->setTypeParam(type);
        card->addAddress(address);
    }
    const std::pair<const QString*, const char*> numbers[] = {
        {&contact.mobile, "cell"},
        {&contact.phone, "voice"},
        {&contact.pager, "pager"},
        {&contact.fax, "fax"},
    };
    for (const auto& [number, type] : numbers) {
        if (!number->isEmpty()) {
            card->addPhoneNumber(textProperty<belcard::BelCardPhoneNumber>(*number, type));
        }
    }
    if (!contact.email.isEmpty()) {
        card->addEmail(textProperty<belcard::BelCardEmail>(contact.email));
    }
    return card;
}

}

ContactFileContent readVCards(const QByteArray& bytes)
{
    ContactFileContent content;
    const std::vector<std::vector<ContentLine>> cards =
        cardsIn(decodeImportedText(unfolded(bytes)));
    content.recognised = !cards.empty();
    if (cards.empty()) {
        return content;
    }
    belcard::BelCardParser parser;
    int position = 0;
    for (const std::vector<ContentLine>& lines : cards) {
        ++position;
        if (position > kMaxEntriesPerFile) {
            ++content.entriesBeyondLimit;
            continue;
        }
        const std::shared_ptr<belcard::BelCard> card = parseCard(parser, lines);
        if (!card) {
            content.unread.push_back({position});
            continue;
        }
        content.contacts.push_back({position, contactOf(*card)});
    }
    return content;
}

QByteArray writeVCards(const std::vector<Contact>& contacts)
{
    QByteArray out;
    for (const Contact& contact : contacts) {
        out += QByteArray::fromStdString(cardOf(contact)->toFoldedString());
    }
    return out;
}

}
