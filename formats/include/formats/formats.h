// Number and date patterns with Brazilian separators, currency values, and
// reading number texts. Qt-free; texts are UTF-8. Every function is pure and
// may be called from any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace formats {

// Formats `value` with a number pattern: "0" a digit always shown, "#" a digit
// shown only when significant, "," in the integer part asks for thousands
// grouping, "." marks the decimal separator and the count of digit places
// after it fixes the decimals (rounded half away from zero); every other
// character is copied as it stands. The integer part never loses digits.
// Output uses "." between thousands and "," before the decimals:
//   formatNumber(1234.5, "#,##0.0000") == "1.234,5000"
//   formatNumber(123, "000000")        == "000123"
//
// Details:
// - Rounding works on the shortest decimal text that reads back as the same
//   double, so the decimal number that was typed or computed is rounded, not
//   its binary neighbour: 0.125 and 1.005 with "0.00" give 0,13 and 1,01.
// - Integer digits beyond the pattern's places go in front of its first
//   place ("00" shows 12345 as 12345); with places only after the point, the
//   integer digits stand before the decimal separator.
// - "#" places after the point drop trailing zeros; the decimal separator is
//   written only when a decimal digit follows it ("0.##" shows 2 as 2).
// - "," is never written; only the first "." is the decimal point, a later
//   one is copied like any other character.
// - A negative value gets a leading "-" unless every digit shown is zero
//   (-0,001 with "0.00" shows 0,00).
// - A pattern without digit places writes only its other characters.
// - An empty pattern gives formatGeneral(value).
// - NaN and infinities give "NAN", "INF" and "-INF".
std::string formatNumber(double value, std::string_view pattern);

// Plain number text with up to 15 significant digits, "," before the decimals
// and no grouping (0.1 + 0.2 gives 0,3); below 1E-5 or from 1E15 on it is
// written as mantissa and exponent (1,5E20, 1E-7).
std::string formatGeneral(double value);

// Reads a number text with "," as the decimal separator (no grouping
// separators; leading and trailing blanks allowed). nullopt when the text is
// not a number (an empty text included).
//
// Accepted: blanks (spaces, tabs), an optional "-" or "+", digits, an
// optional "," with digits; either side of the "," may be empty but not both
// ("1," reads 1 and ",5" reads 0.5). Refused: "." (in Brazilian texts it
// would be a thousands separator), exponents, inner blanks, a lone sign or
// ",", and numbers beyond the double range. The result is the double nearest
// to the decimal number written.
std::optional<double> readNumber(std::string_view text);

// Calendar date and time of day.
struct DateTime {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
  friend bool operator==(const DateTime&, const DateTime&) = default;
};

// Formats with "dd", "mm", "yyyy", "hh" (24-hour) and "nn" (minutes); every
// other character is copied: formatDateTime(d, "dd/mm/yyyy hh:nn").
// The letters are lower case ("MM" is copied), "mm" is always the month, and
// the fields are written as they stand, without checking the date.
std::string formatDateTime(const DateTime& value, std::string_view pattern);

// True when the fields form a real date and time: year 1 to 9999, a day that
// exists in its month (leap years counted), 00:00:00.000 to 23:59:59.999.
bool isValidDateTime(const DateTime& value);

// ISO 8601 text "yyyy-mm-ddThh:nn:ss", with ".zzz" added when the
// milliseconds are not zero.
std::string formatIsoDateTime(const DateTime& value);

// Reads "yyyy-mm-dd", optionally followed by "T" (or one blank) and "hh:nn",
// ":ss" and ".zzz". nullopt for any other form or a date that does not exist
// (see isValidDateTime). Omitted time fields are zero.
std::optional<DateTime> readIsoDateTime(std::string_view text);

// Writes a count of 10^-places units as plain number text: an optional "-",
// the integer digits, then `separator` and exactly `places` decimals (none
// when places is 0); no grouping. Covers the whole 64-bit range:
//   formatDecimalUnits(-1250, 2)      == "-12,50"
//   formatDecimalUnits(5, 3, '.')     == "0.005"
std::string formatDecimalUnits(std::int64_t units, int places, char separator = ',');

// Currency value: a signed 64-bit count of ten-thousandths.
// Arithmetic that would leave the 64-bit range throws std::overflow_error.
class Currency {
 public:
  constexpr Currency() = default;
  static constexpr Currency fromTenThousandths(std::int64_t units) { Currency c; c.units_ = units; return c; }
  // value x 10000 rounded half to even. Throws std::out_of_range for NaN,
  // infinities and values whose count does not fit 64 bits.
  static Currency fromDouble(double value);
  // units x 0.0001, as the double nearest to that decimal value.
  double toDouble() const;
  constexpr std::int64_t tenThousandths() const { return units_; }

  friend constexpr Currency operator+(Currency a, Currency b) { return fromTenThousandths(checkedAdd(a.units_, b.units_)); }
  friend constexpr Currency operator-(Currency a, Currency b) { return fromTenThousandths(checkedSub(a.units_, b.units_)); }
  Currency& operator+=(Currency other) { units_ = checkedAdd(units_, other.units_); return *this; }
  friend constexpr auto operator<=>(Currency, Currency) = default;

 private:
  static constexpr std::int64_t checkedAdd(std::int64_t a, std::int64_t b) {
    std::int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) throw std::overflow_error("Soma de valores monetários fora da faixa");
    return sum;
  }
  static constexpr std::int64_t checkedSub(std::int64_t a, std::int64_t b) {
    std::int64_t difference = 0;
    if (__builtin_sub_overflow(a, b, &difference)) throw std::overflow_error("Diferença de valores monetários fora da faixa");
    return difference;
  }

  std::int64_t units_ = 0;
};

}  // namespace formats
