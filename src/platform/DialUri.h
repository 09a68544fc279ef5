#pragma once

#include <QString>
#include <optional>

namespace orvanta::platform {

// Why a dial request from a link or the command line cannot be dialled.
enum class DialUriError {
    None,
    NotAnAddress,  // no known scheme and not a phone number
    NoUser,        // a sip: or sips: address without a user to call
    BadEscape,     // a malformed percent-escape
    BadCharacter,  // a character no dialled number may hold
    Empty,         // nothing left to dial
    TooLong,       // more than the dial pad's 25 characters
};

struct DialUriResult {
    std::optional<QString> number;  // what the dial pad would hold
    DialUriError error = DialUriError::None;
};

inline constexpr int kMaxDialledCharacters = 25;

// The number to dial for a sip:, sips:, tel: (RFC 3966: visual separators
// removed, a leading '+' kept), callto: address or a bare phone number.
// For sip: and sips: that is the user part, for tel: the subscriber number.
// Percent-escapes are decoded. Pure: no state, no I/O.
DialUriResult parseDialUri(const QString& text);

// True when number is something a dial request may carry: 1 to 25
// characters, each one the dial pad can dial into a SIP address.
bool isDialableNumber(const QString& number);

}
