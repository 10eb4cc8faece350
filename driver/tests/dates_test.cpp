// Date numbers and time-of-day numbers of the host contract.
#include <gtest/gtest.h>

#include "quovex/dates.h"

using namespace quovex;

namespace {

struct DateCase {
  std::int32_t number;
  DateParts date;
};

// Known numbers: the day counts from 1 January of year 1, the century and
// 400-year boundaries, and the 366-day years from year 0 down.
constexpr DateCase kDates[] = {
    {1, {1, 1, 1}},          {31, {1, 1, 31}},         {32, {1, 2, 1}},         {59, {1, 2, 28}},
    {60, {1, 3, 1}},         {365, {1, 12, 31}},       {366, {2, 1, 1}},        {1155, {4, 2, 29}},
    {1461, {4, 12, 31}},     {1462, {5, 1, 1}},        {36524, {100, 12, 31}},  {36525, {101, 1, 1}},
    {146096, {400, 12, 30}}, {146097, {400, 12, 31}},  {146098, {401, 1, 1}},   {693594, {1899, 12, 30}},
    {730120, {2000, 1, 1}},  {730179, {2000, 2, 29}},  {738886, {2024, 1, 1}},  {-1, {0, 12, 31}},
    {-31, {0, 12, 1}},       {-32, {0, 11, 30}},       {-307, {0, 2, 29}},      {-366, {0, 1, 1}},
    {-367, {-1, 12, 31}},    {-732, {-1, 1, 1}},       {-733, {-2, 12, 31}},    {-3660, {-9, 1, 1}},
};

TEST(DateNumbers, KnownDatesBothWays) {
  for (const DateCase& c : kDates) {
    EXPECT_EQ(dateNumberFromParts(c.date.year, c.date.month, c.date.day), c.number)
        << c.date.year << "-" << c.date.month << "-" << c.date.day;
    EXPECT_EQ(datePartsFromNumber(c.number), c.date) << c.number;
  }
}

TEST(DateNumbers, ZeroIsNoDate) { EXPECT_EQ(datePartsFromNumber(0), (DateParts{0, 0, 0})); }

TEST(DateNumbers, InvalidDatesGiveZero) {
  constexpr DateParts kInvalid[] = {{2023, 2, 29}, {1900, 2, 29}, {2024, 4, 31}, {2024, 13, 1}, {2024, 0, 10},
                                    {2024, 1, 0},  {2024, 1, 32}, {0, 2, 30},    {-5, 13, 1},   {-5, 6, 31}};
  for (const DateParts& d : kInvalid) {
    EXPECT_EQ(dateNumberFromParts(d.year, d.month, d.day), 0) << d.year << "-" << d.month << "-" << d.day;
  }
  // Every year from 0 down lays out February with 29 days.
  EXPECT_NE(dateNumberFromParts(-3, 2, 29), 0);
}

// Every number in ranges around year 0, the first centuries and the present
// turns into a valid date and back into itself, and consecutive numbers are
// consecutive days.
TEST(DateNumbers, RoundTripOverManyDates) {
  const std::pair<std::int32_t, std::int32_t> kRanges[] = {
      {-40000, -1}, {1, 150000}, {690000, 760000}, {3000000, 3010000}};
  for (const auto& [first, last] : kRanges) {
    DateParts previous = datePartsFromNumber(first - 1 == 0 ? -1 : first - 1);
    for (std::int32_t number = first; number <= last; ++number) {
      const DateParts date = datePartsFromNumber(number);
      ASSERT_EQ(dateNumberFromParts(date.year, date.month, date.day), number) << number;
      if (number != 1) {
        const bool nextDay = date.day == previous.day + 1 && date.month == previous.month;
        const bool nextMonth = date.day == 1 && (date.month == previous.month + 1 ||
                                                 (date.month == 1 && previous.month == 12 &&
                                                  date.year == previous.year + 1));
        ASSERT_TRUE(nextDay || nextMonth) << number;
      }
      previous = date;
    }
  }
}

struct TimeCase {
  unsigned hour, minute, milliseconds;
  ResultCode result;
  std::int32_t number;
};

constexpr TimeCase kTimes[] = {
    {0, 0, 0, RESULT_OK, 0},
    {0, 0, 1, RESULT_OK, 1},
    {0, 1, 0, RESULT_OK, 60000},
    {1, 0, 0, RESULT_OK, 3600000},
    {13, 5, 9250, RESULT_OK, 47109250},
    {23, 59, 59999, RESULT_OK, 86399999},
    {24, 0, 0, RESULT_INVALID_TIME, -7},
    {0, 60, 0, RESULT_INVALID_TIME, -7},
    {0, 0, 60000, RESULT_INVALID_TIME, -7},
};

TEST(TimeOfDayNumbers, FromPartsAndBack) {
  for (const TimeCase& c : kTimes) {
    std::int32_t number = -7;
    EXPECT_EQ(timeOfDayFromParts(c.hour, c.minute, c.milliseconds, &number), c.result) << c.hour << ":" << c.minute;
    EXPECT_EQ(number, c.number) << c.hour << ":" << c.minute;
    if (c.result != RESULT_OK) continue;
    TimeOfDayParts parts{};
    EXPECT_EQ(timeOfDayToParts(number, &parts), RESULT_OK);
    EXPECT_EQ(parts, (TimeOfDayParts{c.hour, c.minute, c.milliseconds}));
  }
  TimeOfDayParts untouched{1, 2, 3};
  EXPECT_EQ(timeOfDayToParts(86400000, &untouched), RESULT_INVALID_TIME);
  EXPECT_EQ(timeOfDayToParts(-1, &untouched), RESULT_INVALID_TIME);
  EXPECT_EQ(untouched, (TimeOfDayParts{1, 2, 3}));
}

}  // namespace
