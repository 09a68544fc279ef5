#include "settings/DecimalText.h"

#include <limits>

namespace orvanta {

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

}

std::optional<qsizetype> firstNonDigit(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isDigit(text.at(i))) {
            return i;
        }
    }
    return std::nullopt;
}

std::int32_t leadingDecimalValue(const QString& text)
{
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    std::int64_t value = 0;
    for (const QChar c : text) {
        if (!isDigit(c)) {
            break;
        }
        value = std::min(kMax, value * 10 + (c.unicode() - '0'));
    }
    return static_cast<std::int32_t>(value);
}

}
