// Exact decimal numbers: the runtime's decimal values, their texts and the
// 22-byte IfxDecimal form, without passing through binary floating point.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ifxrt/client.h"
#include "status_codes.h"

namespace ifxrt {

// digits * 10^exponent; digits has no leading or trailing zeros ("" is 0).
struct ExactNumber {
  bool negative = false;
  std::string digits;
  int exponent = 0;

  bool isZero() const { return digits.empty(); }
};

// Informix codes of the decimal conversions.
using code::kDecimalOverflow;
using code::kNotANumber;

// Parses "[blanks][sign]digits[.digits][e[sign]digits][blanks]" (at least one
// digit). False for anything else.
bool parseExactNumber(std::string_view text, ExactNumber& number);

// The number rounded to `scale` fraction digits, halves away from zero.
ExactNumber roundExact(const ExactNumber& number, int scale);

// The number without its fraction (toward zero).
ExactNumber truncateExact(const ExactNumber& number);

// The number rounded to `digits` significant digits, halves away from zero.
ExactNumber roundSignificant(const ExactNumber& number, int digits);

// "-" when negative, the integer digits ("0" when none), and the fraction:
// exactly `right` digits (rounded) when right >= 0, else all it has.
std::string formatExact(const ExactNumber& number, int right);

// Significant digits (for choosing how a value is stored).
inline int significantDigits(const ExactNumber& number) { return static_cast<int>(number.digits.size()); }

// Into and out of the 22-byte form. 0, or -1200 when the digits need more
// than 16 base-100 pairs or the exponent is out of range.
int32_t exactToDecimal(const ExactNumber& number, IfxDecimal& value);
ExactNumber decimalToExact(const IfxDecimal& value);
inline bool decimalIsNull(const IfxDecimal& value) { return value.sign == -1; }
void setDecimalNull(IfxDecimal& value);

// The shortest decimal text that gives `number` back (finite numbers).
std::string shortestDoubleText(double number);

}  // namespace ifxrt
