#include "decimal_text.h"

#include <algorithm>
#include <cassert>
#include <charconv>
#include <cmath>
#include <system_error>

namespace formats::detail {

ScientificDigits toScientificDigits(double value, int significant) {
  assert(std::isfinite(value));
  // Enough for 17 significant digits, sign, point and a three-digit exponent;
  // a larger `significant` is capped at what a double can hold anyway.
  char buffer[64];
  const double magnitude = std::fabs(value);
  const auto result =
      significant > 0
          ? std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                          std::chars_format::scientific, std::min(significant, 40) - 1)
          : std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                          std::chars_format::scientific);
  assert(result.ec == std::errc{});

  ScientificDigits out;
  const char* p = buffer;
  for (; p != result.ptr && *p != 'e'; ++p) {
    if (*p != '.') out.digits.push_back(*p);
  }
  assert(p != result.ptr);
  ++p;  // past 'e'
  const auto parsed = std::from_chars(*p == '+' ? p + 1 : p, result.ptr, out.exponent);
  assert(parsed.ec == std::errc{});
  (void)parsed;
  return out;
}

namespace {

// Adds one unit in the last place of `digits` (a string of decimal digits);
// returns true when the carry runs out of the front.
bool incrementDigits(std::string& digits) {
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return false;
    }
    *it = '0';
  }
  return true;
}

}  // namespace

FixedDigits toFixedDigits(double value, int decimals) {
  assert(decimals >= 0);
  // Start from 15 significant digits when the digit that decides the rounding
  // is among them: binary noise in the 16th and 17th digits (511.575 x 677
  // computes as 346336.27499999997) must not turn a decimal half into less
  // than a half. Where the decision lies further right (thirteen integer
  // digits and four decimals), the shortest text keeps every digit the double
  // has.
  ScientificDigits sci = toScientificDigits(value, kReliableDigits);
  const long decidingDigit = static_cast<long>(sci.exponent) + 1 + decimals;
  if (decidingDigit >= kReliableDigits) sci = toScientificDigits(value);

  // Split the significant digits at the decimal point: the first digit stands
  // at power `exponent`, so `exponent + 1` of them belong to the integer part.
  FixedDigits out;
  const long integerCount = static_cast<long>(sci.exponent) + 1;
  std::string fraction;
  if (integerCount <= 0) {
    fraction.assign(static_cast<std::size_t>(-integerCount), '0');
    fraction += sci.digits;
  } else if (static_cast<std::size_t>(integerCount) >= sci.digits.size()) {
    out.integer = sci.digits;
    out.integer.append(static_cast<std::size_t>(integerCount) - sci.digits.size(), '0');
  } else {
    out.integer = sci.digits.substr(0, static_cast<std::size_t>(integerCount));
    fraction = sci.digits.substr(static_cast<std::size_t>(integerCount));
  }

  const auto kept = static_cast<std::size_t>(decimals);
  if (fraction.size() > kept) {
    // Working on the magnitude, a first dropped digit of 5 or more means the
    // dropped part is at least one half: round away from zero.
    const bool roundUp = fraction[kept] >= '5';
    fraction.resize(kept);
    if (roundUp && incrementDigits(fraction)) {
      if (incrementDigits(out.integer)) out.integer.insert(out.integer.begin(), '1');
    }
  } else {
    fraction.append(kept - fraction.size(), '0');
  }
  out.fraction = std::move(fraction);

  const auto firstNonZero = out.integer.find_first_not_of('0');
  out.integer.erase(0, firstNonZero == std::string::npos ? out.integer.size() : firstNonZero);
  return out;
}

}  // namespace formats::detail
