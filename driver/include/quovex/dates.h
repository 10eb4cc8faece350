// Date numbers and time-of-day numbers of the Quovex host contract.
//
// Date number (32-bit signed): 0 stands for no date. For years 1 and later it
// counts days with 1 January of year 1 as 1 (proleptic Gregorian calendar).
// For years 0 and earlier every year has 366 days laid out with the leap-year
// month lengths and the numbers are negative: 31 December of year 0 is -1,
// 1 January of year 0 is -366, 31 December of year -1 is -367.
//
// Time-of-day number (32-bit): milliseconds since midnight.
//
// Plain inline functions, so a host can use them without the library.
#pragma once

#include <cstdint>

#include "quovex/types.h"

namespace quovex {

struct DateParts {
  int year;
  int month;
  int day;
  friend bool operator==(const DateParts&, const DateParts&) = default;
};

struct TimeOfDayParts {
  unsigned hour;
  unsigned minute;
  unsigned millisecondsInMinute;  // seconds * 1000 + milliseconds
  friend bool operator==(const TimeOfDayParts&, const TimeOfDayParts&) = default;
};

namespace dates_detail {

inline constexpr int kMonthDays[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                                          {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

// Leap years of the proleptic Gregorian calendar; for years below 1 the
// remainders are those of C++ signed division.
constexpr bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

constexpr int monthLength(bool leap, int month) { return kMonthDays[leap ? 1 : 0][month - 1]; }

}  // namespace dates_detail

// Date number of a calendar date; 0 when the date is not valid (month outside
// 1..12, day outside the month, or a number outside 32 bits). Years 0 and
// below accept 29 February in every year.
constexpr std::int32_t dateNumberFromParts(int year, int month, int day) {
  using namespace dates_detail;
  if (month < 1 || month > 12 || day < 1) return 0;
  if (year >= 1) {
    const bool leap = isLeapYear(year);
    if (day > monthLength(leap, month)) return 0;
    std::int64_t dayOfYear = day;
    for (int m = 1; m < month; ++m) dayOfYear += monthLength(leap, m);
    const std::int64_t y = year - 1;
    const std::int64_t number = dayOfYear + 365 * y + y / 4 + y / 400 - y / 100;
    return number > INT32_MAX ? 0 : static_cast<std::int32_t>(number);
  }
  if (day > monthLength(true, month)) return 0;
  std::int64_t daysToYearEnd = monthLength(true, month) - day + 1;
  for (int m = month + 1; m <= 12; ++m) daysToYearEnd += monthLength(true, m);
  const std::int64_t number = static_cast<std::int64_t>(year) * 366 - daysToYearEnd;
  return number < INT32_MIN ? 0 : static_cast<std::int32_t>(number);
}

// Calendar date of a date number; 0 gives year 0, month 0, day 0.
constexpr DateParts datePartsFromNumber(std::int32_t number) {
  using namespace dates_detail;
  if (number == 0) return {0, 0, 0};
  if (number < 0) {
    const int year = static_cast<int>((static_cast<std::int64_t>(number) + 1) / 366);
    int rest = static_cast<int>((-static_cast<std::int64_t>(number) - 1) % 366);
    int month = 12;
    while (rest >= monthLength(true, month)) {
      rest -= monthLength(true, month);
      --month;
    }
    return {year, month, monthLength(true, month) - rest};
  }
  const std::int32_t b = number % 146097;
  const std::int32_t c = b % 36524;
  const std::int32_t d = c % 1461;
  const int e = 400 * (number / 146097) + 100 * (b / 36524) + 4 * (c / 1461) + d / 365;
  int year = e;
  int dayOfYear = 0;
  if (d % 365 != 0) {
    year = e + 1;
    dayOfYear = d % 365;
  } else {
    dayOfYear = (d != 0 || (c == 0 && b != 0)) ? 365 : 366;
  }
  const bool leap = isLeapYear(year);
  int month = 1;
  while (dayOfYear > monthLength(leap, month)) {
    dayOfYear -= monthLength(leap, month);
    ++month;
  }
  return {year, month, dayOfYear};
}

// Time-of-day number of hour, minute and milliseconds within the minute.
// RESULT_INVALID_TIME (nothing written) when hour > 23, minute > 59 or the
// milliseconds > 59999.
constexpr ResultCode timeOfDayFromParts(unsigned hour, unsigned minute, unsigned millisecondsInMinute,
                                        std::int32_t* number) {
  if (hour > 23 || minute > 59 || millisecondsInMinute > 59999) return RESULT_INVALID_TIME;
  *number = static_cast<std::int32_t>((hour * 60 + minute) * 60000 + millisecondsInMinute);
  return RESULT_OK;
}

// Hour, minute and milliseconds within the minute of a time-of-day number.
// RESULT_INVALID_TIME (nothing written) for a number outside one day.
constexpr ResultCode timeOfDayToParts(std::int32_t number, TimeOfDayParts* parts) {
  if (number < 0 || number >= 24 * 60 * 60000) return RESULT_INVALID_TIME;
  const auto value = static_cast<unsigned>(number);
  *parts = {value / 3600000, value / 60000 % 60, value % 60000};
  return RESULT_OK;
}

}  // namespace quovex
