// Decimal digit strings of floating-point numbers, the ground on which number
// patterns round. Internal to formats.
#pragma once

#include <string>

namespace formats::detail {

// The magnitude of a finite number written with a fixed count of decimals.
// `integer` has no leading zeros ("" for a zero integer part); `fraction` has
// exactly the requested count of digits.
struct FixedDigits {
  std::string integer;
  std::string fraction;
};

// Significant decimal digits that every double holds faithfully: any decimal
// text of up to 15 digits reads into a double and writes back unchanged.
constexpr int kReliableDigits = 15;

// Writes |value| (finite) with `decimals` digits after the point, rounding
// half away from zero.
//
// Rounding works on the decimal number the double stands for, not on its
// exact binary value: 1.005 is stored as 1.00499999999999989..., yet two
// decimals give "1.01", as they do for the decimal number the user typed.
// That decimal number is the double rounded to 15 significant digits when
// the digit that decides the rounding is among those 15 (this also absorbs
// the last-place errors of a product or sum), and otherwise the shortest text
// that reads back as the same double. Values exact in binary (0.125, 0.375)
// are unaffected by the choice.
FixedDigits toFixedDigits(double value, int decimals);

// Shortest decimal text of |value| (finite): significant digits without a
// point, plus the power of ten of the first digit (value = d.ddd x 10^exponent).
// A zero gives digits "0" and exponent 0. `significant` > 0 limits the digits
// to that many, correctly rounded from the binary value.
struct ScientificDigits {
  std::string digits;
  int exponent = 0;
};
ScientificDigits toScientificDigits(double value, int significant = 0);

}  // namespace formats::detail
