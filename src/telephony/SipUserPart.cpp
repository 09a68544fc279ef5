#include "telephony/SipUserPart.h"

#include "platform/HttpClient.h"

namespace orvanta {

QByteArray sipUserPart(const QString& user)
{
    // RFC 3261: the marks of "unreserved", then "user-unreserved".
    constexpr std::string_view kKeptPunctuation = "-_.!~*'()&=+$,;?/";
    return QByteArray::fromStdString(
        platform::percentEncode(user.toUtf8().toStdString(), kKeptPunctuation));
}

}
