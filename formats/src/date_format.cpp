#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "formats/formats.h"

namespace formats {
namespace {

// Decimal digits of n, padded with zeros in front to at least `width`.
// Built front to back by appending only: inserting in front of a string
// (also what `"-" + text` does) makes GCC 12 warn of an overlapping copy.
std::string zeroPadded(int n, int width) {
  const std::string digits = std::to_string(n < 0 ? -static_cast<long long>(n) : n);
  const std::size_t wanted = static_cast<std::size_t>(width > 0 ? width : 0);
  std::string out;
  if (n < 0) out += '-';
  if (digits.size() < wanted) out.append(wanted - digits.size(), '0');
  out += digits;
  return out;
}

struct DateToken {
  std::string_view letters;
  int width;
  int DateTime::*field;
};

// Longest tokens first, so "yyyy" is not read as something shorter.
constexpr DateToken kTokens[] = {
    {"yyyy", 4, &DateTime::year},  {"dd", 2, &DateTime::day},    {"mm", 2, &DateTime::month},
    {"hh", 2, &DateTime::hour},    {"nn", 2, &DateTime::minute},
};

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

// Reads exactly `count` digits from the front of `text`.
std::optional<int> takeNumber(std::string_view& text, std::size_t count) {
  if (text.size() < count) return std::nullopt;
  int n = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    n = n * 10 + (text[i] - '0');
  }
  text.remove_prefix(count);
  return n;
}

bool takeChar(std::string_view& text, char c) {
  if (text.empty() || text.front() != c) return false;
  text.remove_prefix(1);
  return true;
}

}  // namespace

std::string formatDateTime(const DateTime& value, std::string_view pattern) {
  std::string out;
  std::size_t i = 0;
  while (i < pattern.size()) {
    const DateToken* match = nullptr;
    for (const DateToken& token : kTokens) {
      if (pattern.substr(i, token.letters.size()) == token.letters) {
        match = &token;
        break;
      }
    }
    if (match) {
      out += zeroPadded(value.*(match->field), match->width);
      i += match->letters.size();
    } else {
      out += pattern[i++];
    }
  }
  return out;
}

bool isValidDateTime(const DateTime& value) {
  return value.year >= 1 && value.year <= 9999 && value.month >= 1 && value.month <= 12 &&
         value.day >= 1 && value.day <= daysInMonth(value.year, value.month) && value.hour >= 0 &&
         value.hour <= 23 && value.minute >= 0 && value.minute <= 59 && value.second >= 0 &&
         value.second <= 59 && value.millisecond >= 0 && value.millisecond <= 999;
}

std::string formatIsoDateTime(const DateTime& value) {
  std::string out = formatDateTime(value, "yyyy-mm-ddThh:nn:");
  out += zeroPadded(value.second, 2);
  if (value.millisecond != 0) {
    out += '.';
    out += zeroPadded(value.millisecond, 3);
  }
  return out;
}

std::optional<DateTime> readIsoDateTime(std::string_view text) {
  DateTime value;
  value.hour = value.minute = value.second = value.millisecond = 0;
  const auto year = takeNumber(text, 4);
  if (!year || !takeChar(text, '-')) return std::nullopt;
  const auto month = takeNumber(text, 2);
  if (!month || !takeChar(text, '-')) return std::nullopt;
  const auto day = takeNumber(text, 2);
  if (!day) return std::nullopt;
  value.year = *year;
  value.month = *month;
  value.day = *day;

  if (takeChar(text, 'T') || takeChar(text, ' ')) {
    const auto hour = takeNumber(text, 2);
    if (!hour || !takeChar(text, ':')) return std::nullopt;
    const auto minute = takeNumber(text, 2);
    if (!minute) return std::nullopt;
    value.hour = *hour;
    value.minute = *minute;
    if (takeChar(text, ':')) {
      const auto second = takeNumber(text, 2);
      if (!second) return std::nullopt;
      value.second = *second;
      if (takeChar(text, '.')) {
        const auto millisecond = takeNumber(text, 3);
        if (!millisecond) return std::nullopt;
        value.millisecond = *millisecond;
      }
    }
  }
  if (!text.empty() || !isValidDateTime(value)) return std::nullopt;
  return value;
}

}  // namespace formats
