// The types beyond the contract's own forms, through the host's slots: the
// 64-bit integers (INT8, BIGINT) described and read as BCD numbers of 19
// digits, BOOLEAN as a 16-bit integer, LVARCHAR as a string, a floating
// DECIMAL read with all its digits, and a FLOAT keeping -0.0.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "command_fixture.h"

using namespace quovex;

namespace {

// The value of a BCD record as text ("-12.50").
std::string textOf(const BcdRecord& bcd) {
  std::string digits;
  for (int i = 0; i < bcd.precision; ++i) {
    const std::uint8_t pair = bcd.digits[i / 2];
    digits += static_cast<char>('0' + (i % 2 == 0 ? pair >> 4 : pair & 0x0F));
  }
  const int places = bcd.signAndPlaces & BCD_PLACES_MASK;
  std::string text = (bcd.signAndPlaces & BCD_SIGN_BIT) != 0 ? "-" : "";
  text += digits.substr(0, digits.size() - static_cast<std::size_t>(places));
  if (places > 0) text += "." + digits.substr(digits.size() - static_cast<std::size_t>(places));
  return text;
}

BcdRecord bcdOf(const char* digits, int places, bool negative) {
  BcdRecord bcd{};
  const int count = static_cast<int>(std::strlen(digits));
  bcd.precision = static_cast<std::uint8_t>(count);
  bcd.signAndPlaces = static_cast<std::uint8_t>(places | (negative ? BCD_SIGN_BIT : 0));
  for (int i = 0; i < count; ++i) {
    const int digit = digits[i] - '0';
    bcd.digits[i / 2] = static_cast<std::uint8_t>(bcd.digits[i / 2] | (i % 2 == 0 ? digit << 4 : digit));
  }
  return bcd;
}

class WideTypes : public CommandTest {};

struct Described {
  std::uint16_t column;
  std::uint16_t fieldType;
  std::int32_t length;
  std::int16_t precision;
  std::int16_t scale;
};

TEST_F(WideTypes, DescribedAndReadExactly) {
  run("CREATE TABLE wide (b BIGINT, i8 INT8, bo BOOLEAN, lv LVARCHAR(300), fd DECIMAL(30), f FLOAT)");
  host::Command insert = command();
  ASSERT_EQ(insert.prepare("INSERT INTO wide VALUES (?, ?, ?, ?, ?, ?)", 6), RESULT_OK);
  const BcdRecord biggest = bcdOf("9223372036854775807", 0, false);
  const BcdRecord lowest = bcdOf("9223372036854775807", 0, true);
  const std::int16_t yes = 1;
  const char* text = "texto longo";
  const BcdRecord floating = bcdOf("123456789012345678123456789012", 12, false);
  const double zero = 0.5;
  ASSERT_EQ(insert.set(1, FIELD_BCD, 0, sizeof biggest, &biggest), RESULT_OK);
  ASSERT_EQ(insert.set(2, FIELD_BCD, 0, sizeof lowest, &lowest), RESULT_OK);
  ASSERT_EQ(insert.set(3, FIELD_INT16, 0, sizeof yes, &yes), RESULT_OK);
  ASSERT_EQ(insert.set(4, FIELD_STRING, 0, 11, text), RESULT_OK);
  ASSERT_EQ(insert.set(5, FIELD_BCD, 0, sizeof floating, &floating), RESULT_OK);
  ASSERT_EQ(insert.set(6, FIELD_FLOAT, 0, sizeof zero, &zero), RESULT_OK);
  ASSERT_EQ(insert.execute(nullptr), RESULT_OK) << insert.errorText();
  host::Cursor cursor = query("SELECT b, i8, bo, lv, fd, f FROM wide");
  const Described kDescribed[] = {
      {1, FIELD_BCD, 34, 19, 0}, {2, FIELD_BCD, 34, 19, 0},    {3, FIELD_INT16, 2, 2, 0},
      {4, FIELD_STRING, 301, 300, 0}, {5, FIELD_BCD, 34, 30, 255}, {6, FIELD_FLOAT, 8, 8, 0},
  };
  for (const Described& d : kDescribed) {
    SCOPED_TRACE(d.column);
    std::uint16_t type = 0;
    std::uint16_t subtype = 9;
    std::int32_t length = 0;
    std::int16_t precision = 0;
    std::int16_t scale = -1;
    ASSERT_EQ(cursor.columnType(d.column, &type, &subtype), RESULT_OK);
    EXPECT_EQ(type, d.fieldType);
    EXPECT_EQ(cursor.columnLength(d.column, &length), RESULT_OK);
    EXPECT_EQ(length, d.length);
    EXPECT_EQ(cursor.columnPrecision(d.column, &precision), RESULT_OK);
    EXPECT_EQ(precision, d.precision);
    EXPECT_EQ(cursor.columnScale(d.column, &scale), RESULT_OK);
    EXPECT_EQ(scale, d.scale);
  }
  fetchRow(cursor);
  std::int32_t isNull = 1;
  BcdRecord bcd{};
  ASSERT_EQ(cursor.readBcd(1, &bcd, &isNull), RESULT_OK);
  EXPECT_EQ(textOf(bcd), "9223372036854775807");
  ASSERT_EQ(cursor.readBcd(2, &bcd, &isNull), RESULT_OK);
  EXPECT_EQ(textOf(bcd), "-9223372036854775807");
  std::int16_t flag = -1;
  ASSERT_EQ(cursor.readShort(3, &flag, &isNull), RESULT_OK);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(stringAt(cursor, 4), "texto longo");
  ASSERT_EQ(cursor.readBcd(5, &bcd, &isNull), RESULT_OK);
  EXPECT_EQ(textOf(bcd), "123456789012345678.123456789012") << "a floating decimal keeps all its digits";
  double f = 1;
  ASSERT_EQ(cursor.readDouble(6, &f, &isNull), RESULT_OK);
  EXPECT_EQ(f, 0.5);
}

}  // namespace
