#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "formats/formats.h"

namespace {

TEST(ReadNumber, ReadsCommaDecimalTexts) {
  const struct {
    const char* text;
    double expected;
  } cases[] = {
      {"0", 0},          {"1234,5000", 1234.5}, {"1234,5", 1234.5}, {"-1234,5", -1234.5},
      {"+7", 7},         {"  12,25 ", 12.25},   {"\t3\t", 3},       {"1,", 1},
      {",5", 0.5},       {"-,5", -0.5},         {"007", 7},         {"0,0000", 0},
      {"0,1", 0.1},      {"1,005", 1.005},
      {"1234567890123,4567", 1234567890123.4567},
      {"-9999999999999,9999", -9999999999999.9999},
  };
  for (const auto& c : cases) {
    const std::optional<double> value = formats::readNumber(c.text);
    ASSERT_TRUE(value.has_value()) << '"' << c.text << '"';
    EXPECT_EQ(*value, c.expected) << '"' << c.text << '"';
  }
}

TEST(ReadNumber, RefusesTextsThatAreNotNumbers) {
  const std::string cases[] = {
      "",      "   ",     "-",      "+",     ",",    "-,",   "1.234,5", "1.5",  "1,2,3",
      "1 234", "1e5",     "1E5",    "abc",   "12a",  "--1",  "+-1",     "- 1",  "1-",
      "0x10",  "inf",     "nan",    "1,5%",  "١",    "1\n",  std::string(400, '9'),
  };
  for (const std::string& text : cases) {
    EXPECT_EQ(formats::readNumber(text), std::nullopt) << '"' << text << '"';
  }
}

TEST(ReadNumber, ReadsBackWhatFourDecimalPatternsWrite) {
  // What the entry controls publish (the pattern without grouping) reads back
  // as the same double for every four-decimal value.
  for (long long units = -2000000; units <= 2000000; units += 37) {
    const double value = static_cast<double>(units) / 10000.0;
    const std::string text = formats::formatNumber(value, "###########0.0000");
    const std::optional<double> back = formats::readNumber(text);
    ASSERT_TRUE(back.has_value()) << text;
    ASSERT_EQ(*back, value) << text;
  }
}

}  // namespace
