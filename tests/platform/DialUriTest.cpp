#include "platform/DialUri.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

using orvanta::platform::DialUriError;
using orvanta::platform::parseDialUri;

struct UriCase {
    const char* text;
    const char* number;  // nullptr: refused
    DialUriError error = DialUriError::None;
};

TEST(DialUri, LinksAndNumbersBecomeWhatTheDialPadDials)
{
    const UriCase cases[] = {
        {"sip:5551234@voip.example", "5551234"},
        {"SIP:alice@voip.example:5070;transport=udp?subject=hi", "alice"},
        {"sip:bob:secret@voip.example", "bob"},
        {"sips:5551234@voip.example", "5551234"},
        {"sip:+1-555-1234;phone-context=x@voip.example;user=phone", "+15551234"},
        {"sip:555-1234@voip.example", "555-1234"},  // only a phone user drops separators
        {"sip:%2A98%23@voip.example", "*98#"},
        {"tel:+1-555-1234", "+15551234"},
        {"tel:+1 (555) 123.4567", "+15551234567"},
        {"tel:555-1234;phone-context=example.com", "5551234"},
        {"tel:%2B44%2020%207123%204567", "+442071234567"},
        {"tel:*98#", "*98#"},
        {"callto:5551234", "5551234"},
        {"callto://+1-555-1234", "+15551234"},
        {"  5551234  ", "5551234"},
        {"+1 555 1234", "+15551234"},
        {"1234567890123456789012345", "1234567890123456789012345"},
        // refusals
        {"12345678901234567890123456", nullptr, DialUriError::TooLong},
        {"tel:+1-2345-6789-0123-4567-8901-2345", nullptr, DialUriError::TooLong},
        {"hello", nullptr, DialUriError::NotAnAddress},
        {"http://example.com/", nullptr, DialUriError::NotAnAddress},
        {"", nullptr, DialUriError::Empty},
        {"sip:voip.example", nullptr, DialUriError::NoUser},
        {"sip:@voip.example", nullptr, DialUriError::Empty},
        {"sip:john.doe@voip.example", nullptr, DialUriError::BadCharacter},
        {"sip:a%20b@voip.example", nullptr, DialUriError::BadCharacter},
        {"sip:a%0d%0aVia:x@voip.example", nullptr, DialUriError::BadCharacter},
        {"sip:%zz@voip.example", nullptr, DialUriError::BadEscape},
        {"tel:555%2", nullptr, DialUriError::BadEscape},
        {"tel:555-CALL", nullptr, DialUriError::BadCharacter},
        {"tel:55+5", nullptr, DialUriError::BadCharacter},
        {"tel:---", nullptr, DialUriError::Empty},
        {"tel:+", nullptr, DialUriError::Empty},
        {"callto:alice", nullptr, DialUriError::BadCharacter},
    };
    for (const UriCase& c : cases) {
        const auto result = parseDialUri(QString::fromUtf8(c.text));
        if (c.number) {
            EXPECT_EQ(result.number, std::optional<QString>(QString::fromUtf8(c.number))) << c.text;
        } else {
            EXPECT_FALSE(result.number) << c.text << " gave " << result.number->toStdString();
            EXPECT_EQ(result.error, c.error) << c.text;
        }
    }
}

}
