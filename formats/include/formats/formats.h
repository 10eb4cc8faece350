// Number and date patterns with Brazilian separators, currency values, and
// reading number texts. Qt-free; texts are UTF-8.
#pragma once

#include <cstdint>
#include <optional>
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
std::string formatNumber(double value, std::string_view pattern);

// Reads a number text with "," as the decimal separator (no grouping
// separators; leading and trailing blanks allowed). nullopt when the text is
// not a number (an empty text included).
std::optional<double> readNumber(std::string_view text);

// Calendar date and time of day.
struct DateTime {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
  friend bool operator==(const DateTime&, const DateTime&) = default;
};

// Formats with "dd", "mm", "yyyy", "hh" (24-hour) and "nn" (minutes); every
// other character is copied: formatDateTime(d, "dd/mm/yyyy hh:nn").
std::string formatDateTime(const DateTime& value, std::string_view pattern);

// Currency value: a signed 64-bit count of ten-thousandths.
class Currency {
 public:
  constexpr Currency() = default;
  static constexpr Currency fromTenThousandths(std::int64_t units) { Currency c; c.units_ = units; return c; }
  // value x 10000 rounded half to even.
  static Currency fromDouble(double value);
  // units x 0.0001.
  double toDouble() const;
  constexpr std::int64_t tenThousandths() const { return units_; }

  friend constexpr Currency operator+(Currency a, Currency b) { return fromTenThousandths(a.units_ + b.units_); }
  friend constexpr Currency operator-(Currency a, Currency b) { return fromTenThousandths(a.units_ - b.units_); }
  Currency& operator+=(Currency other) { units_ += other.units_; return *this; }
  friend constexpr auto operator<=>(Currency, Currency) = default;

 private:
  std::int64_t units_ = 0;
};

}  // namespace formats
