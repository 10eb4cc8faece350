// Exact text of fixed-point decimal values in the JSON form ("-1234.50").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zultool {

// Reads an optional "-", decimal digits and optionally "." with at most
// `places` digits after it, into a count of 10^-places units. Throws
// ConversionError when the text has another shape, more decimals than
// `places`, or the count does not fit 64 bits.
std::int64_t decimalUnitsFromText(std::string_view text, int places);

// The count of 10^-places units as text with exactly `places` decimals and
// "." as separator ("12.50" for 1250 units and 2 places; "7" for 0 places).
std::string decimalTextFromUnits(std::int64_t units, int places);

}  // namespace zultool
