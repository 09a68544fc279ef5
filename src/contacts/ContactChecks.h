#pragma once

#include "contacts/Contact.h"

namespace orvanta {

// The contact editor's checks, in the order they run; the first that fails
// is reported.
enum class ContactCheck {
    Passed,
    NameBlank,
    NumbersBlank,
    MobileNotNumeric,
    PhoneHasSpecialCharacters,
    PagerNotNumeric,
    FaxNotNumeric,
    PincodeNotNumeric,
    EmailTooLong,
    CityTooLong,
    CountryTooLong,
    EmailInvalid,
    NameTooLong,
    NumberTooLong,
};

inline constexpr int kMaxNameLength = 25;
inline constexpr int kMaxNumberLength = 25;
inline constexpr int kMaxPlaceLength = 50;  // city, country and email

ContactCheck checkContact(const Contact& contact);

// After a failed check up to the email address the Name box takes the focus.
bool checkFocusesName(ContactCheck check);

// The name a new contact is stored under: trimmed, "<No Name>" when blank.
QString nameForNewContact(const QString& typed);

}
