#include "Amount.h"

namespace orvanta::service {

std::optional<Amount> parseAmount(std::string_view text)
{
    const auto dot = text.find('.');
    const std::string_view whole = text.substr(0, dot);
    const std::string_view fraction =
        dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
    if ((whole.empty() && fraction.empty()) || whole.size() > 9 || fraction.size() > 4)
        return std::nullopt;
    Amount value = 0;
    for (char c : whole) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    Amount decimals = 0;
    Amount scale = kAmountScale;
    for (char c : fraction) {
        if (c < '0' || c > '9')
            return std::nullopt;
        scale /= 10;
        decimals += (c - '0') * scale;
    }
    return value * kAmountScale + decimals;
}

std::string formatAmount(Amount amount)
{
    const bool negative = amount < 0;
    const Amount magnitude = negative ? -amount : amount;
    const Amount cents = (magnitude % kAmountScale) / 100;
    return (negative ? "-" : "") + std::to_string(magnitude / kAmountScale) +
           (cents < 10 ? ".0" : ".") + std::to_string(cents);
}

}
