#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace orvanta {

// Index of the first character outside '0'..'9'; nothing when all are digits.
std::optional<qsizetype> firstNonDigit(const QString& text);

// The value of the text's leading decimal digits, 0 when it starts with none;
// values past the integer range stop at its maximum.
std::int32_t leadingDecimalValue(const QString& text);

}
