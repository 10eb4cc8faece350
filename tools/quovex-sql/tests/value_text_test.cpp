// Texts of driver values: decimals digit by digit, dates, date-times,
// floats, and escaping of what came from a database.
#include <gtest/gtest.h>

#include <initializer_list>
#include <limits>

#include "quovex/dates.h"
#include "value_text.h"

namespace quovexsql {
namespace {

quovex::BcdRecord bcd(std::initializer_list<int> digits, int places, bool negative) {
  quovex::BcdRecord record{};
  record.precision = static_cast<std::uint8_t>(digits.size());
  record.signAndPlaces = static_cast<std::uint8_t>(places | (negative ? quovex::BCD_SIGN_BIT : 0));
  int i = 0;
  for (int digit : digits) {
    record.digits[i / 2] |= static_cast<std::uint8_t>(i % 2 == 0 ? digit << 4 : digit);
    ++i;
  }
  return record;
}

TEST(QuovexSqlValueText, DecimalKeepsEveryDigitOfTheRecord) {
  struct Case {
    quovex::BcdRecord record;
    const char* text;
  };
  const Case cases[] = {
      {bcd({0, 1, 2, 3, 4}, 2, false), "12.34"},
      {bcd({1, 2, 5, 0}, 2, true), "-12.50"},  // trailing zero kept
      {bcd({0, 0, 1, 0, 0}, 2, false), "1.00"},
      {bcd({0, 5}, 1, false), "0.5"},
      {bcd({0, 0, 0}, 2, true), "0.00"},  // no "-0.00"
      {bcd({4, 2}, 0, false), "42"},
      {bcd({5}, 3, false), "0.005"},  // more places than digits
      {bcd({9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9}, 16,
           false),
       "9999999999999999.9999999999999999"},
  };
  for (const Case& c : cases) EXPECT_EQ(bcdText(c.record), c.text);

  quovex::BcdRecord bad = bcd({1, 2}, 0, false);
  bad.digits[0] = 0x1C;  // a nibble above 9
  EXPECT_EQ(bcdText(bad), "<bad decimal>");
  bad.precision = 200;  // more digits than the record holds: never read past it
  EXPECT_EQ(bcdText(bad), "<bad decimal>");
}

TEST(QuovexSqlValueText, DatesTimesAndDateTimes) {
  EXPECT_EQ(dateText(quovex::dateNumberFromParts(2012, 3, 4)), "04/03/2012");
  EXPECT_EQ(dateText(1), "01/01/0001");
  EXPECT_EQ(dateText(-1), "31/12/-0000");
  EXPECT_EQ(dateText(0), "");  // no date

  EXPECT_EQ(timestampText({2012, 3, 4, 5, 6, 7, 0}), "2012-03-04 05:06:07");
  EXPECT_EQ(timestampText({2003, 7, 4, 13, 5, 9, 1234}), "2003-07-04 13:05:09.234");

  EXPECT_EQ(timeOfDayText(0), "00:00:00");
  EXPECT_EQ(timeOfDayText(24 * 3600000 - 1), "23:59:59.999");
  EXPECT_EQ(timeOfDayText(24 * 3600000), "<bad time>");
}

TEST(QuovexSqlValueText, FloatsReadBackExactlyAndSmallFloatsAsStored) {
  EXPECT_EQ(floatText(1.5, false), "1.5");
  EXPECT_EQ(floatText(0.1, false), "0.1");
  EXPECT_EQ(floatText(-2e-300, false), "-2e-300");
  // A SMALLFLOAT 1.1 widened to a double is 1.100000023841858.
  EXPECT_EQ(floatText(static_cast<double>(1.1f), true), "1.1");
  EXPECT_EQ(floatText(static_cast<double>(1.1f), false), "1.100000023841858");
  EXPECT_EQ(bytesText(""), "\\x");
  EXPECT_EQ(bytesText(std::string("\x00\x7f\x80\xff", 4)), "\\x007f80ff");
}

TEST(QuovexSqlValueText, ControlCharactersAreMadeVisible) {
  struct Case {
    std::string raw;
    const char* shown;
  };
  const Case cases[] = {
      {"Município", "Município"},
      {"a\x1b[2Jb", "a\\x1B[2Jb"},  // clear-screen sequence
      {"line\nnext\ttab\r", "line\\nnext\\ttab\\r"},
      {std::string("nul\0x", 5), "nul\\x00x"},
      {"del\x7f", "del\\x7F"},
      {"\xc2\x9b" "31m", "\\u009B31m"},  // C1 control sequence introducer
      {"\x9b" "31m", "\\x9B31m"},        // the same as a lone byte (not UTF-8)
      {"\xe2\x82", "\\xE2\\x82"},        // cut UTF-8 sequence
      {"\xc0\xaf", "\\xC0\\xAF"},        // overlong encoding
      {"back\\slash", "back\\slash"},
  };
  for (const Case& c : cases) EXPECT_EQ(escapeControls(c.raw), c.shown) << c.shown;

  EXPECT_EQ(displayWidth("Município"), 9u);
  EXPECT_EQ(displayWidth(""), 0u);
}

}  // namespace
}  // namespace quovexsql
