#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "formats/formats.h"

namespace {

struct NumberCase {
  double value;
  const char* pattern;
  const char* expected;
};

void PrintTo(const NumberCase& c, std::ostream* os) {
  *os << c.value << " with \"" << c.pattern << "\"";
}

class FormatNumber : public testing::TestWithParam<NumberCase> {};

TEST_P(FormatNumber, WritesThePatternWithBrazilianSeparators) {
  const NumberCase& c = GetParam();
  EXPECT_EQ(formats::formatNumber(c.value, c.pattern), c.expected);
}

// The patterns the program uses, with the values they are shown with.
INSTANTIATE_TEST_SUITE_P(PatternsInUse, FormatNumber, testing::Values(
    NumberCase{1234.5, "#,##0.0000", "1.234,5000"},
    NumberCase{1250.5, "#,##0.0000 ", "1.250,5000 "},
    NumberCase{0, "#,##0.0000", "0,0000"},
    NumberCase{123, "000000", "000123"},
    NumberCase{12345.678, "#,##0.00", "12.345,68"},
    NumberCase{12345.678, "#,##0.00 ", "12.345,68 "},
    NumberCase{0, "#,##0.00 ", "0,00 "},
    NumberCase{0.375, "0.00", "0,38"},
    NumberCase{7, "0000", "0007"},
    NumberCase{12, "0000-", "0012-"},
    NumberCase{42, "000000 / ", "000042 / "},
    NumberCase{3, "00000", "00003"},
    NumberCase{2010, "0000", "2010"},
    NumberCase{1234.5, "###,###,###,###0.0000", "1.234,5000"},
    NumberCase{1234.5, "###########0.0000", "1234,5000"},
    NumberCase{999999.99995, "#,##0.0000", "1.000.000,0000"},
    NumberCase{1000000, "#,##0.00", "1.000.000,00"},
    NumberCase{100, "#,##0.00", "100,00"},
    NumberCase{1000, "#,##0.00", "1.000,00"}));

// The integer part never loses digits; "#" shows only significant digits.
INSTANTIATE_TEST_SUITE_P(DigitPlaces, FormatNumber, testing::Values(
    NumberCase{12345, "00", "12345"},
    NumberCase{12345, "#,#0", "12.345"},
    NumberCase{12345, "0-0", "1234-5"},
    NumberCase{5, "0-0", "0-5"},
    NumberCase{0, "#", ""},
    NumberCase{0.4, "#", ""},
    NumberCase{0.5, "#", "1"},
    NumberCase{0.5, "#.##", ",5"},
    NumberCase{2, "0.##", "2"},
    NumberCase{2.5, "0.##", "2,5"},
    NumberCase{2.504, "0.##", "2,5"},
    NumberCase{2.5, "0.0#", "2,5"},
    NumberCase{2.125, "0.0#", "2,13"},
    NumberCase{12.5, ".00", "12,50"},
    NumberCase{1234567.5, "#,.00", "1.234.567,50"},
    NumberCase{5, "0,000,000", "0.000.005"},
    NumberCase{2.6, "0.", "3"},
    NumberCase{2.5, "0", "3"},
    NumberCase{1e20, "#,##0", "100.000.000.000.000.000.000"},
    NumberCase{5, "x", "x"},
    NumberCase{-5, "abc", "abc"},
    NumberCase{5, "", "5"},
    NumberCase{1.25, "R$ 0.00 cada", "R$ 1,25 cada"},
    NumberCase{1.25, "0.00.", "1,25."}));

// Halves go away from zero on the decimal number, not on its binary
// neighbour; the sign disappears when the shown digits are all zero.
INSTANTIATE_TEST_SUITE_P(RoundingAndSign, FormatNumber, testing::Values(
    NumberCase{0.125, "0.00", "0,13"},
    NumberCase{1.005, "0.00", "1,01"},
    NumberCase{2.675, "0.00", "2,68"},
    NumberCase{0.005, "0.00", "0,01"},
    NumberCase{0.0049999, "0.00", "0,00"},
    NumberCase{9.995, "0.00", "10,00"},
    NumberCase{999.995, "#,##0.00", "1.000,00"},
    NumberCase{-0.125, "0.00", "-0,13"},
    NumberCase{-1234.5, "#,##0.0000", "-1.234,5000"},
    NumberCase{-12345.678, "#,##0.00 ", "-12.345,68 "},
    NumberCase{-7, "0000-", "-0007-"},
    NumberCase{-0.004, "0.00", "0,00"},
    NumberCase{-0.0, "0.00", "0,00"},
    NumberCase{-0.4, "#", ""},
    NumberCase{-0.005, "0.00", "-0,01"},
    NumberCase{1e-300, "0.0000", "0,0000"},
    NumberCase{std::numeric_limits<double>::quiet_NaN(), "0.00", "NAN"},
    NumberCase{std::numeric_limits<double>::infinity(), "0.00", "INF"},
    NumberCase{-std::numeric_limits<double>::infinity(), "0.00", "-INF"}));

// Thirteen integer digits and four decimals fill the entry controls' mask; a
// double holds about 16 significant digits, so the values below are exact in
// binary or show the double's own decimal digits.
INSTANTIATE_TEST_SUITE_P(LargeValues, FormatNumber, testing::Values(
    NumberCase{1234567890123.25, "###,###,###,###0.0000", "1.234.567.890.123,2500"},
    NumberCase{-1234567890123.25, "###,###,###,###0.0000", "-1.234.567.890.123,2500"},
    NumberCase{9999999999999.5, "#,##0.0000", "9.999.999.999.999,5000"},
    NumberCase{9999999999999.5, "#,##0", "10.000.000.000.000"},
    NumberCase{123456789012.3456, "#,##0.0000", "123.456.789.012,3456"},
    NumberCase{1234567890123.4567, "###########0.0000", "1234567890123,4568"}));

// Every number with three decimals from 0 to 100 rounds to two decimals as
// its decimal text does, although most of them are not exact in binary.
TEST(FormatNumberRounding, ThreeDecimalValuesRoundHalfAwayFromZero) {
  for (int thousandths = 0; thousandths <= 100000; ++thousandths) {
    const double value = thousandths / 1000.0;
    const int hundredths = (thousandths + 5) / 10;
    std::string expected = std::to_string(hundredths / 100) + ",";
    expected += static_cast<char>('0' + hundredths % 100 / 10);
    expected += static_cast<char>('0' + hundredths % 10);
    ASSERT_EQ(formats::formatNumber(value, "0.00"), expected) << thousandths << " thousandths";
    ASSERT_EQ(formats::formatNumber(-value, "0.00"), (hundredths == 0 ? "" : "-") + expected)
        << -thousandths << " thousandths";
  }
}

// An item total is the product of two four-decimal values rounded with
// "0.00". Prices ending in half a cent make the product an exact decimal half
// that binary arithmetic often computes a hair below (677 x 511,575 gives
// 346336.27499999997); the total must still round up.
TEST(FormatNumberRounding, ProductsOfFourDecimalValuesRoundAsExactDecimals) {
  EXPECT_EQ(formats::formatNumber(677 * 511.575, "0.00"), "346336,28");
  EXPECT_EQ(formats::formatNumber(3 * 0.125, "0.00"), "0,38");
  EXPECT_EQ(formats::formatNumber(1 * 0.005, "0.00"), "0,01");
  for (long long quantity = 1; quantity <= 600; quantity += 3) {
    for (long long halfCents = 1; halfCents <= 3001; halfCents += 2) {
      const double price = static_cast<double>(halfCents) / 200.0;  // x,xx5
      const long long cents = (quantity * halfCents + 1) / 2;          // exact, half up
      std::string expected = std::to_string(cents / 100) + ",";
      expected += static_cast<char>('0' + cents % 100 / 10);
      expected += static_cast<char>('0' + cents % 10);
      ASSERT_EQ(formats::formatNumber(static_cast<double>(quantity) * price, "0.00"), expected)
          << quantity << " x " << price;
    }
  }
}

TEST(FormatGeneral, WritesFifteenSignificantDigits) {
  const struct {
    double value;
    const char* expected;
  } cases[] = {
      {0, "0"},           {1.5, "1,5"},          {-1.5, "-1,5"},          {0.1 + 0.2, "0,3"},
      {100, "100"},       {1234.5, "1234,5"},    {0.0001, "0,0001"},      {0.00001, "0,00001"},
      {1.5e-7, "1,5E-7"}, {1e20, "1E20"},        {123456789012345, "123456789012345"},
      {1e15, "1E15"},     {1.0 / 3, "0,333333333333333"},
  };
  for (const auto& c : cases) EXPECT_EQ(formats::formatGeneral(c.value), c.expected) << c.value;
}

}  // namespace
