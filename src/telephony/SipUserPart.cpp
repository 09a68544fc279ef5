#include "telephony/SipUserPart.h"

#include <string_view>

namespace orvanta {

namespace {

constexpr std::string_view kKeptPunctuation = "-_.!~*'()&=+$,;?/";

bool isKept(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           (c != '\0' && kKeptPunctuation.find(static_cast<char>(c)) != std::string_view::npos);
}

}

QByteArray sipUserPart(const QString& user)
{
    static const char kHex[] = "0123456789ABCDEF";
    const QByteArray utf8 = user.toUtf8();
    QByteArray part;
    part.reserve(utf8.size() * 3);
    for (const char byte : utf8) {
        const auto c = static_cast<unsigned char>(byte);
        if (isKept(c)) {
            part += static_cast<char>(c);
        } else {
            part += '%';
            part += kHex[c >> 4];
            part += kHex[c & 0x0F];
        }
    }
    return part;
}

}
