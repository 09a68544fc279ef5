#include "app/LaunchRequest.h"

#include "platform/DialUri.h"

namespace orvanta {

namespace {

QString reason(platform::DialUriError error)
{
    using platform::DialUriError;
    switch (error) {
    case DialUriError::NotAnAddress:
        return QStringLiteral("it is not a sip:, sips:, tel: or callto: address, nor a number");
    case DialUriError::NoUser:
        return QStringLiteral("the address names nobody to call");
    case DialUriError::BadEscape:
        return QStringLiteral("it holds a malformed %-escape");
    case DialUriError::BadCharacter:
        return QStringLiteral("it holds characters that cannot be dialled");
    case DialUriError::Empty:
        return QStringLiteral("it holds no number");
    case DialUriError::TooLong:
        return QStringLiteral("numbers are limited to 25 characters");
    case DialUriError::None:
        break;
    }
    return {};
}

}

LaunchRequest launchRequest(const LaunchCommands& commands, const QStringList& addresses)
{
    using Kind = platform::InstanceRequest::Kind;
    const int given =
        int(commands.answer) + int(commands.hangUp) + int(commands.show) + int(addresses.size());
    if (given > 1) {
        return {std::nullopt,
                QStringLiteral("give one address or one of --answer, --hangup, --show")};
    }
    if (commands.answer) {
        return {platform::InstanceRequest{Kind::Answer, {}}, {}};
    }
    if (commands.hangUp) {
        return {platform::InstanceRequest{Kind::HangUp, {}}, {}};
    }
    if (commands.show) {
        return {platform::InstanceRequest{Kind::Show, {}}, {}};
    }
    if (addresses.isEmpty()) {
        return {};
    }
    const platform::DialUriResult dial = platform::parseDialUri(addresses.front());
    if (!dial.number) {
        return {
            std::nullopt,
            QStringLiteral("cannot dial \"%1\": %2").arg(addresses.front(), reason(dial.error))};
    }
    return {platform::InstanceRequest{Kind::Dial, *dial.number}, {}};
}

}
