// Conversions between values and their raw texts, shared by the field
// accessors and the table file reader. No allocation unless a text is made.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "recordtable/field.h"

namespace recordtable::detail {

std::string_view trimBlanks(std::string_view text);

// Decimal digits with an optional sign, blanks around allowed; nullopt when
// malformed or beyond 64 bits.
std::optional<std::int64_t> parseInteger(std::string_view text);
// A number with "," as decimal separator (formats::readNumber); finite only.
std::optional<double> parseNumber(std::string_view text);
// Shortest text that reads back to `value`, "," before the decimals, no
// exponent: 1234.5 -> "1234,5", 3 -> "3".
std::string numberText(double value);

// 10^places for places in [0, 18].
std::int64_t powerOfTen(int places);
// Exact reading: at most `places` decimals after ","; nullopt otherwise or on
// overflow.
std::optional<std::int64_t> parseDecimal(std::string_view text, int places);
// `value` rounded half away from zero to `places` decimals, judged on its
// shortest decimal form (so 0.285 gives 29 hundredths); nullopt when not
// finite or beyond 64 bits.
std::optional<std::int64_t> decimalFromNumber(double value, int places);
// Integer nearest to `value`, halves away from zero; nullopt beyond 64 bits
// or not finite.
std::optional<std::int64_t> roundToInteger(double value);
// units / 10^places rounded half away from zero.
std::int64_t roundDecimalToInteger(std::int64_t units, int places);

// "dd/mm/yyyy" at midnight, else "dd/mm/yyyy hh:nn:ss".
std::string dateTimeText(const DateTime& value);
// "dd/mm/yyyy", "dd/mm/yyyy hh:nn", "dd/mm/yyyy hh:nn:ss" or ISO 8601;
// blanks around allowed; nullopt when malformed or not a real date.
std::optional<DateTime> parseDateTimeText(std::string_view text);

// Count of code points of well-formed UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF) without U+0000; nullopt otherwise.
// Texts never hold U+0000: it only comes from damage (SQLite fills missing
// bytes with zeros) or from binary data, neither of which is a text.
std::optional<std::size_t> utf8Length(std::string_view text);

}  // namespace recordtable::detail
