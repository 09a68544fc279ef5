#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvanta::service {

// Money and rates in ten-thousandths, so sums and comparisons are exact.
using Amount = std::int64_t;
inline constexpr Amount kAmountScale = 10000;

// "12", "12.5", ".75", "0.0125": digits with at most one '.', at most 4
// decimals and 9 integer digits. nullopt for anything else.
std::optional<Amount> parseAmount(std::string_view text);

// Two decimals, cut (not rounded): 125000 -> "12.50".
std::string formatAmount(Amount amount);

}
