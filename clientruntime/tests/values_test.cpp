// Value conversions: decimals, dates, date-times and intervals through the
// runtime's roles, with exact digits and the edges of the calendar.
#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <string>

#include "ifxrt/testing.h"

namespace {

std::string decimalText(const IfxDecimal& value, int right, int length = 49) {
  std::string buffer(static_cast<size_t>(length), '\0');
  if (clientDecimalToText(&value, buffer.data(), length, right) != 0) return "<failed>";
  return buffer.substr(0, buffer.find(' '));
}

struct DecimalCase {
  const char* text;
  int right;
  const char* expected;
};

class DecimalTextTest : public ::testing::TestWithParam<DecimalCase> {};

TEST_P(DecimalTextTest, TextToDecimalAndBackKeepsEveryDigit) {
  const DecimalCase& c = GetParam();
  IfxDecimal value;
  ASSERT_EQ(clientTextToDecimal(c.text, -1, &value), 0) << c.text;
  EXPECT_EQ(decimalText(value, c.right), c.expected) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, DecimalTextTest,
    ::testing::Values(DecimalCase{"12345678901234.56", 2, "12345678901234.56"},
                      DecimalCase{"-12345678901234.56", 2, "-12345678901234.56"},
                      DecimalCase{"12345678901234567890123456789012", -1, "12345678901234567890123456789012"},
                      DecimalCase{"1234567890123456789012345678.9012", 4, "1234567890123456789012345678.9012"},
                      DecimalCase{"0.00000000000000000000000000000001", -1, "0.00000000000000000000000000000001"},
                      DecimalCase{"  -0.5  ", 0, "-1"},          // halves away from zero
                      DecimalCase{"2.345", 2, "2.35"}, DecimalCase{"-2.344", 2, "-2.34"},
                      DecimalCase{"99.995", 2, "100.00"}, DecimalCase{"-12.5", 2, "-12.50"},
                      DecimalCase{"0", 2, "0.00"}, DecimalCase{"-0", -1, "0"}, DecimalCase{".5", -1, "0.5"},
                      DecimalCase{"1.5e3", -1, "1500"}, DecimalCase{"+7", 0, "7"}, DecimalCase{"100", -1, "100"},
                      DecimalCase{"1.0", -1, "1"}));

TEST(DecimalTest, RefusesWhatIsNoNumberOrTooLong) {
  IfxDecimal value;
  for (const char* text : {"", " ", "abc", "1.2.3", "--1", "1e", "12x", "."}) {
    EXPECT_EQ(clientTextToDecimal(text, -1, &value), -1213) << '"' << text << '"';
  }
  EXPECT_EQ(clientTextToDecimal("123456789012345678901234567890123", -1, &value), -1200);  // 33 digits
  EXPECT_EQ(clientTextToDecimal("1e200", -1, &value), -1200);
  EXPECT_EQ(clientTextToDecimal(nullptr, -1, &value), -1213);
  EXPECT_EQ(clientTextToDecimal("1", -1, nullptr), -1213);
}

TEST(DecimalTest, LengthLimitsTheTextRead) {
  IfxDecimal value;
  ASSERT_EQ(clientTextToDecimal("12345", 3, &value), 0);
  EXPECT_EQ(decimalText(value, -1), "123");
}

TEST(DecimalTest, TextThatDoesNotFitIsRefusedAndTheRestIsBlank) {
  IfxDecimal value;
  ASSERT_EQ(clientTextToDecimal("-12.5", -1, &value), 0);
  char small[4];
  EXPECT_EQ(clientDecimalToText(&value, small, sizeof small, 2), -1);  // "-12.50" needs 6
  char exact[8];
  ASSERT_EQ(clientDecimalToText(&value, exact, sizeof exact, 2), 0);
  EXPECT_EQ(std::string(exact, sizeof exact), "-12.50  ");
  EXPECT_EQ(clientDecimalToText(&value, exact, sizeof exact, 2147483647), -1);  // never builds a huge text
  IfxDecimal null{};
  null.sign = -1;
  EXPECT_EQ(clientDecimalToText(&null, exact, sizeof exact, 2), -1213);
  double number = 0;
  EXPECT_EQ(clientDecimalToDouble(&null, &number), -1213);
}

TEST(DecimalTest, DoublesConvertBothWays) {
  for (double number : {0.0, 0.1, -12.5, 1e-10, 123456789.125, 1.7976931348623157e308 / 1e250}) {
    IfxDecimal value;
    ASSERT_EQ(clientDoubleToDecimal(number, &value), 0) << number;
    double back = 0;
    ASSERT_EQ(clientDecimalToDouble(&value, &back), 0);
    EXPECT_EQ(back, number);
  }
  IfxDecimal value;
  ASSERT_EQ(clientDoubleToDecimal(0.1, &value), 0);
  EXPECT_EQ(decimalText(value, -1), "0.1");
  EXPECT_EQ(clientDoubleToDecimal(NAN, &value), -1200);
  EXPECT_EQ(clientDoubleToDecimal(INFINITY, &value), -1200);
}

// Date-times.

constexpr int16_t kYearToFraction3 = IFX_QUALIFIER(17, IFX_TU_YEAR, IFX_TU_F3);
constexpr int16_t kYearToSecond = IFX_QUALIFIER(14, IFX_TU_YEAR, IFX_TU_SECOND);
constexpr int16_t kYearToDay = IFX_QUALIFIER(8, IFX_TU_YEAR, IFX_TU_DAY);
constexpr int16_t kHourToMinute = IFX_QUALIFIER(4, IFX_TU_HOUR, IFX_TU_MINUTE);
constexpr int16_t kMonthToDay = IFX_QUALIFIER(4, IFX_TU_MONTH, IFX_TU_DAY);

TEST(DatetimeTest, QualifierOfYearToFractionThreeIs4365) { EXPECT_EQ(kYearToFraction3, 4365); }

struct DatetimeCase {
  int16_t qualifier;
  const char* text;
  int32_t code;
  const char* back;  // text written back when code is 0
};

class DatetimeTextTest : public ::testing::TestWithParam<DatetimeCase> {};

TEST_P(DatetimeTextTest, TextToDatetimeAndBack) {
  const DatetimeCase& c = GetParam();
  IfxDatetime value{};
  value.qualifier = c.qualifier;
  ASSERT_EQ(clientTextToDatetime(c.text, &value), c.code) << c.text;
  if (c.code != 0) return;
  char buffer[32];
  ASSERT_EQ(clientDatetimeToText(&value, buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, c.back);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DatetimeTextTest,
    ::testing::Values(
        DatetimeCase{kYearToFraction3, "2003-07-04 13:05:09.234", 0, "2003-07-04 13:05:09.234"},
        DatetimeCase{kYearToFraction3, "2003-07-04 13:05:09.2", 0, "2003-07-04 13:05:09.200"},
        DatetimeCase{kYearToFraction3, "0001-01-01 00:00:00.000", 0, "0001-01-01 00:00:00.000"},
        DatetimeCase{kYearToFraction3, "9999-12-31 23:59:59.999", 0, "9999-12-31 23:59:59.999"},
        DatetimeCase{kYearToSecond, " 2012-03-04 05:06:07 ", 0, "2012-03-04 05:06:07"},
        DatetimeCase{kYearToDay, "2000-02-29", 0, "2000-02-29"},
        DatetimeCase{kHourToMinute, "23:59", 0, "23:59"},
        DatetimeCase{kYearToDay, "1900-02-29", -1263, ""}, DatetimeCase{kYearToDay, "2001-02-30", -1263, ""},
        DatetimeCase{kYearToSecond, "2012-13-01 00:00:00", -1263, ""},
        DatetimeCase{kYearToSecond, "2012-01-01 24:00:00", -1263, ""},
        DatetimeCase{kYearToDay, "0000-01-01", -1263, ""},
        DatetimeCase{kYearToDay, "2012-01-01 10", -1264, ""}, DatetimeCase{kYearToDay, "20120-01-01", -1261, ""},
        DatetimeCase{kYearToDay, "2012-x1-01", -1262, ""}, DatetimeCase{kYearToDay, "", -1262, ""},
        DatetimeCase{kYearToFraction3, "2003-07-04 13:05:09.2345", -1261, ""},
        DatetimeCase{IFX_QUALIFIER(3, IFX_TU_YEAR, IFX_TU_DAY), "2012-01-01", -1268, ""}));

TEST(DatetimeTest, ExtendFillsHigherFieldsFromTodayAndLowerWithTheirStart) {
  IfxDatetime in{};
  in.qualifier = kYearToDay;
  ASSERT_EQ(clientTextToDatetime("2012-03-04", &in), 0);
  IfxDatetime out{};
  out.qualifier = kYearToFraction3;
  ASSERT_EQ(clientExtendDatetime(&in, &out), 0);
  char text[32];
  ASSERT_EQ(clientDatetimeToText(&out, text, sizeof text), 0);
  EXPECT_STREQ(text, "2012-03-04 00:00:00.000");

  IfxDatetime time{};
  time.qualifier = kHourToMinute;
  ASSERT_EQ(clientTextToDatetime("10:30", &time), 0);
  out = IfxDatetime{};
  out.qualifier = kYearToSecond;
  ASSERT_EQ(clientExtendDatetime(&time, &out), 0);
  ASSERT_EQ(clientDatetimeToText(&out, text, sizeof text), 0);
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char today[16];
  std::strftime(today, sizeof today, "%Y-%m-%d", &local);
  EXPECT_EQ(std::string(text), std::string(today) + " 10:30:00");

  IfxDatetime monthDay{};
  monthDay.qualifier = kMonthToDay;
  ASSERT_EQ(clientTextToDatetime("12-31", &monthDay), 0);
  out = IfxDatetime{};
  out.qualifier = kYearToDay;
  ASSERT_EQ(clientExtendDatetime(&monthDay, &out), 0);
  ASSERT_EQ(clientDatetimeToText(&out, text, sizeof text), 0);
  EXPECT_EQ(std::string(text), std::to_string(local.tm_year + 1900) + "-12-31");
}

TEST(DatetimeTest, WritingNeedsRoomForTheTextAndItsEnd) {
  IfxDatetime value{};
  value.qualifier = kYearToSecond;
  ASSERT_EQ(clientTextToDatetime("2012-03-04 05:06:07", &value), 0);
  char exact[20];
  EXPECT_EQ(clientDatetimeToText(&value, exact, sizeof exact), 0);
  char tooSmall[19];
  EXPECT_EQ(clientDatetimeToText(&value, tooSmall, sizeof tooSmall), -1);
  value.qualifier = 0;
  EXPECT_EQ(clientDatetimeToText(&value, exact, sizeof exact), -1268);
}

// Dates: day counts from 31 December 1899.

struct DateCase {
  int month, day, year;
  int32_t dayCount;
};

class DateTest : public ::testing::TestWithParam<DateCase> {};

TEST_P(DateTest, TripleAndDayCountConvertBothWays) {
  const DateCase& c = GetParam();
  const int16_t mdy[3] = {static_cast<int16_t>(c.month), static_cast<int16_t>(c.day), static_cast<int16_t>(c.year)};
  int32_t dayCount = 12345;
  ASSERT_EQ(clientTripleToDate(mdy, &dayCount), 0);
  EXPECT_EQ(dayCount, c.dayCount);
  int16_t back[3] = {0, 0, 0};
  ASSERT_EQ(clientDateToTriple(c.dayCount, back), 0);
  EXPECT_EQ(back[0], c.month);
  EXPECT_EQ(back[1], c.day);
  EXPECT_EQ(back[2], c.year);
}

INSTANTIATE_TEST_SUITE_P(Table, DateTest,
                         ::testing::Values(DateCase{12, 31, 1899, 0}, DateCase{1, 1, 1900, 1},
                                           DateCase{1, 1, 1, -693594}, DateCase{12, 31, 9999, 2958464},
                                           DateCase{2, 29, 2000, 36584}, DateCase{3, 1, 2100, 73109}));

TEST(DateTest, InvalidTriplesAndDayCountsAreRefused) {
  int32_t dayCount = 0;
  const int16_t cases[][4] = {{1, 1, 0, -1204},     {1, 1, 10000, -1204}, {13, 1, 2000, -1205},
                              {0, 1, 2000, -1205},  {2, 30, 2000, -1206}, {2, 29, 1900, -1206},
                              {4, 31, 2001, -1206}, {1, 0, 2001, -1206}};
  for (const auto& c : cases) {
    const int16_t mdy[3] = {c[0], c[1], c[2]};
    EXPECT_EQ(clientTripleToDate(mdy, &dayCount), c[3]) << c[0] << "/" << c[1] << "/" << c[2];
  }
  int16_t mdy[3];
  EXPECT_EQ(clientDateToTriple(-693595, mdy), -1210);
  EXPECT_EQ(clientDateToTriple(2958465, mdy), -1210);
  EXPECT_EQ(clientDateToTriple(0, nullptr), -1210);
}

// Intervals.

TEST(IntervalTest, TextFormsFitTwentyFiveCharacters) {
  struct Case {
    int16_t qualifier;
    const char* text;
    const char* back;
  };
  const Case cases[] = {
      {IFX_QUALIFIER(12, IFX_TU_DAY, IFX_TU_F3), "12 03:04:05.0", "  12 03:04:05.000"},
      {IFX_QUALIFIER(12, IFX_TU_DAY, IFX_TU_F3), "-999 23:59:59.999", "-999 23:59:59.999"},
      {IFX_QUALIFIER(6, IFX_TU_YEAR, IFX_TU_MONTH), "2-11", "    2-11"},
      {IFX_QUALIFIER(20, IFX_TU_DAY, IFX_TU_F5), "123456789 01:02:03.12345", " 123456789 01:02:03.12345"},
      {IFX_QUALIFIER(4, IFX_TU_HOUR, IFX_TU_MINUTE), "100:00", "<invalid>"},
      {IFX_QUALIFIER(4, IFX_TU_HOUR, IFX_TU_MINUTE), "10:60", "<invalid>"},
  };
  for (const Case& c : cases) {
    IfxInterval value{};
    value.qualifier = c.qualifier;
    char buffer[26];
    if (clientTextToInterval(c.text, &value) != 0) {
      EXPECT_STREQ("<invalid>", c.back) << c.text;
      continue;
    }
    ASSERT_EQ(clientIntervalToText(&value, buffer, sizeof buffer), 0) << c.text;
    EXPECT_STREQ(buffer, c.back);
  }
}

}  // namespace
