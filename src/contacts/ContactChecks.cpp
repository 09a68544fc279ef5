#include "contacts/ContactChecks.h"

#include <algorithm>

namespace orvanta {

namespace {

bool isNumeric(const QString& text)
{
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

// Characters a phone number may not hold; "+" is allowed.
bool hasPhoneSpecialCharacter(const QString& phone)
{
    static const QString refused = QStringLiteral("\\><\":][}|{` @^%$&");
    return std::any_of(phone.begin(), phone.end(), [](QChar c) { return refused.contains(c); });
}

bool isEmailValid(const QString& email)
{
    const qsizetype at = email.indexOf(QLatin1Char('@'));
    return at >= 0 && email.indexOf(QLatin1Char('.'), at + 1) >= 0;
}

}

ContactCheck checkContact(const Contact& c)
{
    if (c.name.isEmpty()) {
        return ContactCheck::NameBlank;
    }
    if (c.mobile.isEmpty() && c.pager.isEmpty() && c.phone.isEmpty()) {
        return ContactCheck::NumbersBlank;
    }
    if (!isNumeric(c.mobile)) {
        return ContactCheck::MobileNotNumeric;
    }
    if (hasPhoneSpecialCharacter(c.phone)) {
        return ContactCheck::PhoneHasSpecialCharacters;
    }
    if (!isNumeric(c.pager)) {
        return ContactCheck::PagerNotNumeric;
    }
    if (!isNumeric(c.fax)) {
        return ContactCheck::FaxNotNumeric;
    }
    if (!isNumeric(c.pincode)) {
        return ContactCheck::PincodeNotNumeric;
    }
    if (c.email.size() > kMaxPlaceLength) {
        return ContactCheck::EmailTooLong;
    }
    if (c.city.size() > kMaxPlaceLength) {
        return ContactCheck::CityTooLong;
    }
    if (c.country.size() > kMaxPlaceLength) {
        return ContactCheck::CountryTooLong;
    }
    if (!c.email.isEmpty() && !isEmailValid(c.email)) {
        return ContactCheck::EmailInvalid;
    }
    if (c.name.size() > kMaxNameLength) {
        return ContactCheck::NameTooLong;
    }
    if (c.phone.size() > kMaxNumberLength || c.mobile.size() > kMaxNumberLength) {
        return ContactCheck::NumberTooLong;
    }
    return ContactCheck::Passed;
}

bool checkFocusesName(ContactCheck check)
{
    return check != ContactCheck::Passed && check != ContactCheck::NameTooLong &&
           check != ContactCheck::NumberTooLong;
}

QString nameForNewContact(const QString& typed)
{
    // Only spaces are trimmed, as the editor does.
    qsizetype first = 0;
    qsizetype last = typed.size();
    while (first < last && typed[first] == QLatin1Char(' ')) {
        ++first;
    }
    while (last > first && typed[last - 1] == QLatin1Char(' ')) {
        --last;
    }
    const QString name = typed.mid(first, last - first);
    return name.isEmpty() ? QStringLiteral("<No Name>") : name;
}

}
