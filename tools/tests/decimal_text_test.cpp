// Exact decimal texts of the JSON form.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "decimal_text.h"
#include "zultool/json_table.h"

namespace zultool {
namespace {

struct DecimalCase {
  const char* text;
  int places;
  std::int64_t units;
  const char* canonical;  // what decimalTextFromUnits writes back
};

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

const DecimalCase kDecimalCases[] = {
    {"12.5", 2, 1250, "12.50"},
    {"12.50", 2, 1250, "12.50"},
    {"-0.05", 2, -5, "-0.05"},
    {"0", 4, 0, "0.0000"},
    {"7", 0, 7, "7"},
    {"-7", 0, -7, "-7"},
    {"0.001", 3, 1, "0.001"},
    {"9223372036854775807", 0, kMax, "9223372036854775807"},
    {"-9223372036854775808", 0, kMin, "-9223372036854775808"},
    {"-922337203685477.5808", 4, kMin, "-922337203685477.5808"},
    {"922337203685477.5807", 4, kMax, "922337203685477.5807"},
};

TEST(DecimalText, ReadsExactlyAndWritesBackWithAllPlaces) {
  for (const DecimalCase& c : kDecimalCases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(decimalUnitsFromText(c.text, c.places), c.units);
    EXPECT_EQ(decimalTextFromUnits(c.units, c.places), c.canonical);
    EXPECT_EQ(decimalUnitsFromText(c.canonical, c.places), c.units);
  }
}

TEST(DecimalText, RefusesMalformedTooPreciseAndOverflowingTexts) {
  const struct {
    const char* text;
    int places;
  } refused[] = {
      {"", 2},          {"-", 2},         {"1.", 2},        {".5", 2},
      {"1.234", 2},     {"1.5", 0},       {"1,5", 2},       {"1e3", 2},
      {" 1", 2},        {"1 ", 2},        {"+1", 2},        {"--1", 2},
      {"1.2.3", 2},     {"9223372036854775808", 0},         {"-9223372036854775809", 0},
      {"922337203685477.5808", 4},        {"92233720368547758.08", 3},
  };
  for (const auto& c : refused) {
    SCOPED_TRACE(c.text);
    EXPECT_THROW(decimalUnitsFromText(c.text, c.places), ConversionError);
  }
}

}  // namespace
}  // namespace zultool
