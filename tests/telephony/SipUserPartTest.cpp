#include "telephony/EngineSetup.h"

#include <gtest/gtest.h>

namespace {

struct UserCase {
    const char* user;  // UTF-8
    const char* uri;
};

// Registration, dialling and transfer all build their address with sipUri.
TEST(SipUri, EscapesEveryCharacterAUserPartCannotCarry)
{
    const UserCase cases[] = {
        {"1001", "sip:1001@sip.example"},
        {"alice.smith-2_x!~*'()", "sip:alice.smith-2_x!~*'()@sip.example"},
        {"&=+$,;?/", "sip:&=+$,;?/@sip.example"},
        {"j\u00f6rg", "sip:j%C3%B6rg@sip.example"},
        {"\u20ac", "sip:%E2%82%AC@sip.example"},
        {"\U0001F4DE", "sip:%F0%9F%93%9E@sip.example"},
        {"a b", "sip:a%20b@sip.example"},
        {"a@b:c", "sip:a%40b%3Ac@sip.example"},
        {"100%", "sip:100%25@sip.example"},
        {"*98#", "sip:*98%23@sip.example"},
        {"<\"x\">[y]", "sip:%3C%22x%22%3E%5By%5D@sip.example"},
        {"tab\tnew\nline", "sip:tab%09new%0Aline@sip.example"},
    };
    for (const UserCase& c : cases) {
        SCOPED_TRACE(c.user);
        EXPECT_EQ(orvanta::sipUri(QString::fromUtf8(c.user), QStringLiteral("sip.example")), c.uri);
    }
}

}
