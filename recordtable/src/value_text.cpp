#include "value_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace recordtable::detail {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Accumulates digits into `value` (units), failing on overflow.
bool pushDigit(std::int64_t& value, char digit) {
  return !__builtin_mul_overflow(value, 10, &value) &&
         !__builtin_add_overflow(value, digit - '0', &value);
}

bool readTwo(std::string_view t, std::size_t pos, int& out) {
  if (pos + 2 > t.size() || !isDigit(t[pos]) || !isDigit(t[pos + 1])) return false;
  out = (t[pos] - '0') * 10 + (t[pos + 1] - '0');
  return true;
}

}  // namespace

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::optional<std::int64_t> parseInteger(std::string_view text) {
  text = trimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  // Accumulate negatively so that the most negative value fits.
  std::int64_t value = 0;
  for (char c : text) {
    if (!isDigit(c)) return std::nullopt;
    if (__builtin_mul_overflow(value, 10, &value) || __builtin_sub_overflow(value, c - '0', &value)) {
      return std::nullopt;
    }
  }
  if (negative) return value;
  if (value == INT64_MIN) return std::nullopt;
  return -value;
}

std::optional<double> parseNumber(std::string_view text) {
  const std::optional<double> value = formats::readNumber(text);
  if (!value || !std::isfinite(*value)) return std::nullopt;
  return value;
}

std::string numberText(double value) {
  char buffer[400];  // the longest fixed form of a double is ~330 characters
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  std::string text(buffer, result.ptr);
  for (char& c : text) {
    if (c == '.') c = ',';
  }
  if (text == "-0") text = "0";
  return text;
}

std::int64_t powerOfTen(int places) {
  std::int64_t p = 1;
  for (int i = 0; i < places; ++i) p *= 10;
  return p;
}

std::optional<std::int64_t> parseDecimal(std::string_view text, int places) {
  text = trimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  std::int64_t units = 0;
  int decimals = -1;  // -1 before the separator
  bool anyDigit = false;
  for (char c : text) {
    if (c == ',' && decimals < 0) {
      decimals = 0;
      continue;
    }
    if (!isDigit(c)) return std::nullopt;
    if (decimals >= 0 && ++decimals > places) return std::nullopt;
    if (!pushDigit(units, c)) return std::nullopt;
    anyDigit = true;
  }
  if (!anyDigit) return std::nullopt;
  for (int i = decimals < 0 ? 0 : decimals; i < places; ++i) {
    if (__builtin_mul_overflow(units, 10, &units)) return std::nullopt;
  }
  return negative ? -units : units;
}

std::optional<std::int64_t> decimalFromNumber(double value, int places) {
  if (!std::isfinite(value)) return std::nullopt;
  char buffer[400];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                              std::chars_format::fixed);
  std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  std::int64_t units = 0;
  int decimals = -1;
  bool roundUp = false;
  for (char c : text) {
    if (c == '.') {
      decimals = 0;
      continue;
    }
    if (decimals >= 0 && decimals == places) {  // first digit beyond: decides rounding
      roundUp = c >= '5';
      break;
    }
    if (decimals >= 0) ++decimals;
    if (!pushDigit(units, c)) return std::nullopt;
  }
  for (int i = decimals < 0 ? 0 : decimals; i < places; ++i) {
    if (__builtin_mul_overflow(units, 10, &units)) return std::nullopt;
  }
  if (roundUp && __builtin_add_overflow(units, 1, &units)) return std::nullopt;
  return value < 0 ? -units : units;
}

std::optional<std::int64_t> roundToInteger(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double rounded = std::round(value);  // halves away from zero
  // 2^63 is exactly representable; anything at or beyond it does not fit.
  if (rounded >= 9223372036854775808.0 || rounded < -9223372036854775808.0) return std::nullopt;
  return static_cast<std::int64_t>(rounded);
}

std::int64_t roundDecimalToInteger(std::int64_t units, int places) {
  if (places == 0) return units;
  const std::int64_t scale = powerOfTen(places);
  std::int64_t whole = units / scale;
  const std::int64_t rest = units % scale;  // same sign as units
  if (rest >= scale - rest) ++whole;                 // positive half or more
  else if (-rest >= scale + rest) --whole;           // negative half or more
  return whole;
}

std::string dateTimeText(const DateTime& v) {
  char buffer[32];
  int n;
  if (v.hour == 0 && v.minute == 0 && v.second == 0 && v.millisecond == 0) {
    n = std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", v.day, v.month, v.year);
  } else {
    n = std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d %02d:%02d:%02d", v.day, v.month,
                      v.year, v.hour, v.minute, v.second);
  }
  return std::string(buffer, static_cast<std::size_t>(n));
}

std::optional<DateTime> parseDateTimeText(std::string_view text) {
  text = trimBlanks(text);
  if (text.size() >= 5 && text[4] == '-') return parseIsoDateTime(text);
  DateTime v;
  v.hour = v.minute = v.second = v.millisecond = 0;
  if (text.size() < 10 || !readTwo(text, 0, v.day) || text[2] != '/' ||
      !readTwo(text, 3, v.month) || text[5] != '/') {
    return std::nullopt;
  }
  int high = 0, low = 0;
  if (!readTwo(text, 6, high) || !readTwo(text, 8, low)) return std::nullopt;
  v.year = high * 100 + low;
  std::string_view rest = text.substr(10);
  if (!rest.empty()) {
    if (rest.size() < 6 || rest[0] != ' ' || !readTwo(rest, 1, v.hour) || rest[3] != ':' ||
        !readTwo(rest, 4, v.minute)) {
      return std::nullopt;
    }
    rest = rest.substr(6);
    if (!rest.empty() && (rest.size() != 3 || rest[0] != ':' || !readTwo(rest, 1, v.second))) {
      return std::nullopt;
    }
  }
  if (!isValidDateTime(v)) return std::nullopt;
  return v;
}

std::optional<std::size_t> utf8Length(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  std::size_t count = 0;
  while (p < end) {
    // Eight ASCII bytes at a time, none of them zero.
    if (end - p >= 8) {
      std::uint64_t word;
      std::memcpy(&word, p, 8);
      constexpr std::uint64_t kLow = 0x0101010101010101ULL, kHigh = 0x8080808080808080ULL;
      const bool ascii = (word & kHigh) == 0;
      const bool hasZero = ((word - kLow) & ~word & kHigh) != 0;
      if (ascii && !hasZero) {
        p += 8;
        count += 8;
        continue;
      }
    }
    const unsigned char c = *p;
    if (c < 0x80) {
      if (c == 0) return std::nullopt;
      ++p;
      ++count;
      continue;
    }
    std::size_t extra;
    std::uint32_t code;
    if (c >= 0xC2 && c <= 0xDF) {
      extra = 1;
      code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2;
      code = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3;
      code = c & 0x07;
    } else {
      return std::nullopt;
    }
    if (static_cast<std::size_t>(end - p) <= extra) return std::nullopt;
    for (std::size_t i = 1; i <= extra; ++i) {
      if ((p[i] & 0xC0) != 0x80) return std::nullopt;
      code = (code << 6) | (p[i] & 0x3F);
    }
    const bool overlong = (extra == 2 && code < 0x800) || (extra == 3 && code < 0x10000);
    if (overlong || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return std::nullopt;
    p += extra + 1;
    ++count;
  }
  return count;
}

}  // namespace recordtable::detail
