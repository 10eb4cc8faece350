// Every kind of value written through command parameters into a real
// stand-in table and read back through the cursor's readers: ordinary
// values, NULLs, and the limits (empty and full-width CHAR, negative and
// 32-digit decimals, dates of years 1 and 9999, blobs of 0 bytes and 1 MiB).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "command_fixture.h"
#include "quovex/dates.h"

using namespace quovex;

namespace {

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

// The value of a BCD record as text ("-12.50"), for comparing.
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

std::vector<std::uint8_t> blobOf(std::size_t size, std::uint8_t seed) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(seed + i * 7 + i / 251);
  return bytes;
}

// One row of table kinds as the host writes it.
struct KindsRow {
  std::int32_t id = 0;
  std::string fixed;
  std::string variable;
  std::int16_t smallint = 0;
  std::int32_t integer = 0;
  double real = 0;
  float single = 0;
  BcdRecord decimal{};
  BcdRecord wide{};
  BcdRecord money{};
  std::int32_t date = 0;
  TimestampRecord seconds{};
  TimestampRecord fraction{};
  std::int32_t time = 0;
  std::string interval;
  std::vector<std::uint8_t> bytes;
  std::string text;
  std::vector<std::uint8_t> blob;
  std::string clob;
};

KindsRow ordinaryRow() {
  KindsRow row;
  row.id = 1;
  row.fixed = "abc";
  row.variable = "Pregão nº 12";
  row.smallint = -32768;
  row.integer = 2147483647;
  row.real = -1234.5678;
  row.single = 0.25f;
  row.decimal = bcdOf("000001250", 2, true);  // -12.50
  row.wide = bcdOf("12345678901234567890123456789012", 2, true);
  row.money = bcdOf("12345678", 2, false);
  row.date = dateNumberFromParts(2010, 2, 28);
  row.seconds = {2012, 3, 4, 5, 6, 7, 0};
  row.fraction = {2003, 7, 4, 13, 5, 9, 1234};  // the fraction is taken modulo 1000
  row.time = ((13 * 60 + 5) * 60 + 9) * 1000 + 250;
  row.interval = "  12 03:04:05.000";
  row.bytes = blobOf(300, 1);
  row.text = "a memo\nof two lines";
  row.blob = blobOf(1000, 9);
  row.clob = "character large object";
  return row;
}

void writeRow(const host::Command& c, const KindsRow& r) {
  ASSERT_EQ(c.prepare(insertIntoKinds().c_str(), K_COUNT), RESULT_OK) << c.errorText();
  EXPECT_EQ(c.set(K_ID, FIELD_INT32, 0, 4, &r.id), RESULT_OK);
  EXPECT_EQ(c.set(K_CHAR, FIELD_STRING, SUBTYPE_FIXED, 10, r.fixed.c_str()), RESULT_OK);
  EXPECT_EQ(c.set(K_VARCHAR, FIELD_STRING, SUBTYPE_NONE, 40, r.variable.c_str()), RESULT_OK);
  EXPECT_EQ(c.set(K_SMALLINT, FIELD_INT16, 0, 2, &r.smallint), RESULT_OK);
  EXPECT_EQ(c.set(K_INTEGER, FIELD_INT32, 0, 4, &r.integer), RESULT_OK);
  EXPECT_EQ(c.set(K_FLOAT, FIELD_FLOAT, 0, 8, &r.real), RESULT_OK);
  EXPECT_EQ(c.set(K_SMALLFLOAT, FIELD_FLOAT, 0, 4, &r.single), RESULT_OK);
  EXPECT_EQ(c.set(K_DECIMAL, FIELD_BCD, 0, 34, &r.decimal), RESULT_OK);
  EXPECT_EQ(c.set(K_WIDE_DECIMAL, FIELD_BCD, 0, 34, &r.wide), RESULT_OK);
  EXPECT_EQ(c.set(K_MONEY, FIELD_BCD, 0, 34, &r.money), RESULT_OK);
  EXPECT_EQ(c.set(K_DATE, FIELD_DATE, 0, 4, &r.date), RESULT_OK);
  EXPECT_EQ(c.set(K_SECONDS, FIELD_TIMESTAMP, 0, 16, &r.seconds), RESULT_OK);
  EXPECT_EQ(c.set(K_FRACTION, FIELD_TIMESTAMP, 0, 16, &r.fraction), RESULT_OK);
  EXPECT_EQ(c.set(K_TIME, FIELD_TIME, 0, 4, &r.time), RESULT_OK);
  EXPECT_EQ(c.set(K_INTERVAL, FIELD_STRING, SUBTYPE_NONE, 0, r.interval.c_str()), RESULT_OK);
  EXPECT_EQ(c.set(K_BYTE, FIELD_BLOB, SUBTYPE_BINARY, static_cast<std::uint32_t>(r.bytes.size()), r.bytes.data()),
            RESULT_OK);
  EXPECT_EQ(c.set(K_TEXT, FIELD_BLOB, SUBTYPE_MEMO, static_cast<std::uint32_t>(r.text.size()), r.text.data()),
            RESULT_OK);
  EXPECT_EQ(c.set(K_BLOB, FIELD_BLOB, SUBTYPE_BINARY_LOB, static_cast<std::uint32_t>(r.blob.size()), r.blob.data()),
            RESULT_OK);
  EXPECT_EQ(c.set(K_CLOB, FIELD_BLOB, SUBTYPE_CHAR_LOB, static_cast<std::uint32_t>(r.clob.size()), r.clob.data()),
            RESULT_OK);
  void* cursor = nullptr;
  ASSERT_EQ(c.execute(&cursor), RESULT_OK) << c.errorText();
  EXPECT_EQ(cursor, nullptr);
  std::int32_t rows = 0;
  EXPECT_EQ(c.rowsAffected(&rows), RESULT_OK);
  EXPECT_EQ(rows, 1);
}

std::vector<std::uint8_t> blobAt(const host::Cursor& cursor, std::uint16_t column) {
  std::uint32_t size = 0;
  std::int32_t isNull = -1;
  EXPECT_EQ(cursor.readBlobSize(column, &size, &isNull), RESULT_OK);
  EXPECT_EQ(isNull, 0);
  if (isNull != 0) return {};
  std::vector<std::uint8_t> bytes(std::size_t{size} + 1, 0xEE);
  EXPECT_EQ(cursor.readBlob(column, bytes.data(), &isNull, size), RESULT_OK);
  EXPECT_EQ(bytes[size], 0xEE) << "read past the size";
  bytes.resize(size);
  return bytes;
}

std::string textBlobAt(const host::Cursor& cursor, std::uint16_t column) {
  const std::vector<std::uint8_t> bytes = blobAt(cursor, column);
  return std::string(bytes.begin(), bytes.end());
}

// Compares without printing: the values may be a mebibyte long.
template <typename Bytes>
void expectSameBlob(const Bytes& read, const Bytes& written, const char* column) {
  EXPECT_EQ(read.size(), written.size()) << column;
  EXPECT_TRUE(read == written) << column << ": contents differ";
}

void expectSameTimestamp(const TimestampRecord& read, const TimestampRecord& written, std::uint32_t fraction) {
  EXPECT_EQ(read.year, written.year);
  EXPECT_EQ(read.month, written.month);
  EXPECT_EQ(read.day, written.day);
  EXPECT_EQ(read.hour, written.hour);
  EXPECT_EQ(read.minute, written.minute);
  EXPECT_EQ(read.second, written.second);
  EXPECT_EQ(read.fraction, fraction);
}

using ValuesRoundTrip = CommandTest;

TEST_F(ValuesRoundTrip, EveryKindWrittenAndReadBack) {
  const KindsRow r = ordinaryRow();
  writeRow(command(), r);
  host::Cursor cursor = query("SELECT * FROM kinds");
  ASSERT_NE(cursor.self, nullptr);
  fetchRow(cursor);
  std::int32_t isNull = -1;

  std::int32_t id = 0;
  EXPECT_EQ(cursor.readLong(K_ID, &id, &isNull), RESULT_OK);
  EXPECT_EQ(id, 1);
  EXPECT_EQ(stringAt(cursor, K_CHAR), "abc       ") << "CHAR keeps its trailing blanks";
  EXPECT_EQ(stringAt(cursor, K_VARCHAR), r.variable);
  std::int16_t smallint = 0;
  EXPECT_EQ(cursor.readShort(K_SMALLINT, &smallint, &isNull), RESULT_OK);
  EXPECT_EQ(smallint, r.smallint);
  std::int32_t integer = 0;
  EXPECT_EQ(cursor.readLong(K_INTEGER, &integer, &isNull), RESULT_OK);
  EXPECT_EQ(integer, r.integer);
  double real = 0;
  EXPECT_EQ(cursor.readDouble(K_FLOAT, &real, &isNull), RESULT_OK);
  EXPECT_EQ(real, r.real);
  EXPECT_EQ(cursor.readDouble(K_SMALLFLOAT, &real, &isNull), RESULT_OK);
  EXPECT_EQ(real, 0.25);

  BcdRecord bcd{};
  EXPECT_EQ(cursor.readBcd(K_DECIMAL, &bcd, &isNull), RESULT_OK);
  EXPECT_EQ(textOf(bcd), "-12.50");
  EXPECT_EQ(bcd.precision, 4);
  EXPECT_EQ(bcd.signAndPlaces, 0x82);
  EXPECT_EQ(cursor.readBcd(K_WIDE_DECIMAL, &bcd, &isNull), RESULT_OK);
  EXPECT_EQ(textOf(bcd), "-123456789012345678901234567890.12");
  EXPECT_EQ(cursor.readBcd(K_MONEY, &bcd, &isNull), RESULT_OK);
  EXPECT_EQ(textOf(bcd), "123456.78");

  std::int32_t date = 0;
  EXPECT_EQ(cursor.readDate(K_DATE, &date, &isNull), RESULT_OK);
  EXPECT_EQ(date, r.date);
  TimestampRecord stamp{};
  EXPECT_EQ(cursor.readTimeStamp(K_SECONDS, &stamp, &isNull), RESULT_OK);
  expectSameTimestamp(stamp, r.seconds, 0);
  EXPECT_EQ(cursor.readTimeStamp(K_FRACTION, &stamp, &isNull), RESULT_OK);
  expectSameTimestamp(stamp, r.fraction, 234);
  EXPECT_EQ(cursor.readTimeStamp(K_TIME, &stamp, &isNull), RESULT_OK);
  EXPECT_EQ(stamp.hour, 13);
  EXPECT_EQ(stamp.minute, 5);
  EXPECT_EQ(stamp.second, 9);
  EXPECT_EQ(stamp.fraction, 250u);
  EXPECT_EQ(stringAt(cursor, K_INTERVAL), r.interval);

  expectSameBlob(blobAt(cursor, K_BYTE), r.bytes, "K_BYTE");
  expectSameBlob(textBlobAt(cursor, K_TEXT), r.text, "K_TEXT");
  expectSameBlob(blobAt(cursor, K_BLOB), r.blob, "K_BLOB");
  expectSameBlob(textBlobAt(cursor, K_CLOB), r.clob, "K_CLOB");
  EXPECT_EQ(isNull, 0);
  EXPECT_EQ(cursor.fetchNext(), RESULT_NO_MORE_ROWS);
}

TEST_F(ValuesRoundTrip, NullOfEveryKindReadsAsNullAndLeavesTheBufferAlone) {
  host::Command c = command();
  ASSERT_EQ(c.prepare(insertIntoKinds().c_str(), K_COUNT), RESULT_OK);
  const std::uint16_t types[K_COUNT] = {FIELD_INT32, FIELD_STRING, FIELD_STRING, FIELD_INT16, FIELD_INT32,
                                        FIELD_FLOAT, FIELD_FLOAT, FIELD_BCD, FIELD_BCD, FIELD_BCD, FIELD_DATE,
                                        FIELD_TIMESTAMP, FIELD_TIMESTAMP, FIELD_TIME, FIELD_STRING, FIELD_BLOB,
                                        FIELD_BLOB, FIELD_BLOB, FIELD_BLOB};
  const std::uint16_t subtypes[K_COUNT] = {0, SUBTYPE_FIXED, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                           SUBTYPE_BINARY, SUBTYPE_MEMO, SUBTYPE_BINARY_LOB, SUBTYPE_CHAR_LOB};
  for (std::uint16_t i = 0; i < K_COUNT; ++i) {
    EXPECT_EQ(c.setNull(static_cast<std::uint16_t>(i + 1), types[i], subtypes[i]), RESULT_OK) << i + 1;
  }
  void* none = nullptr;
  ASSERT_EQ(c.execute(&none), RESULT_OK) << c.errorText();

  host::Cursor cursor = query("SELECT * FROM kinds");
  fetchRow(cursor);
  unsigned char buffer[64];
  for (std::uint16_t column = 1; column <= K_COUNT; ++column) {
    std::memset(buffer, 0xEE, sizeof buffer);
    std::int32_t isNull = -1;
    ResultCode result = RESULT_NOT_SUPPORTED;
    switch (types[column - 1]) {
      case FIELD_INT32: result = cursor.readLong(column, reinterpret_cast<std::int32_t*>(buffer), &isNull); break;
      case FIELD_STRING: result = cursor.readString(column, reinterpret_cast<char*>(buffer), &isNull); break;
      case FIELD_INT16: result = cursor.readShort(column, reinterpret_cast<std::int16_t*>(buffer), &isNull); break;
      case FIELD_FLOAT: result = cursor.readDouble(column, reinterpret_cast<double*>(buffer), &isNull); break;
      case FIELD_BCD: result = cursor.readBcd(column, reinterpret_cast<BcdRecord*>(buffer), &isNull); break;
      case FIELD_DATE: result = cursor.readDate(column, reinterpret_cast<std::int32_t*>(buffer), &isNull); break;
      case FIELD_TIME:
      case FIELD_TIMESTAMP:
        result = cursor.readTimeStamp(column, reinterpret_cast<TimestampRecord*>(buffer), &isNull);
        break;
      case FIELD_BLOB: {
        std::uint32_t size = 77;
        EXPECT_EQ(cursor.readBlobSize(column, &size, &isNull), RESULT_OK) << column;
        EXPECT_EQ(size, 77u) << column;
        result = cursor.readBlob(column, buffer, &isNull, sizeof buffer);
        break;
      }
      default: break;
    }
    EXPECT_EQ(result, RESULT_OK) << column;
    EXPECT_EQ(isNull, 1) << column;
    for (unsigned char b : buffer) ASSERT_EQ(b, 0xEE) << "column " << column << " wrote into the buffer";
  }
}

TEST_F(ValuesRoundTrip, LimitsOfEachKind) {
  KindsRow low = ordinaryRow();
  low.fixed = "";
  low.date = dateNumberFromParts(1, 1, 1);
  low.decimal = bcdOf("99999999999999", 2, true);  // -999999999999.99, all 14 integer digits
  low.wide = bcdOf("99999999999999999999999999999999", 2, false);
  low.smallint = 32767;
  low.integer = -2147483647;
  low.bytes.clear();
  low.text.clear();
  low.blob.clear();
  low.clob.clear();
  writeRow(command(), low);

  KindsRow high = ordinaryRow();
  high.id = 2;
  high.fixed = "ABCDEFGHIJ";
  high.date = dateNumberFromParts(9999, 12, 31);
  high.seconds = {9999, 12, 31, 23, 59, 59, 0};
  high.bytes = blobOf(1 << 20, 3);
  high.text = std::string(1 << 20, 't');
  high.blob = blobOf(1 << 20, 5);
  high.clob = std::string(1 << 20, 'c');
  writeRow(command(), high);

  host::Cursor cursor = query("SELECT * FROM kinds ORDER BY id");
  std::int32_t isNull = -1;
  fetchRow(cursor);
  EXPECT_EQ(stringAt(cursor, K_CHAR), std::string(10, ' ')) << "an empty CHAR(10) is ten blanks";
  std::int32_t date = 0;
  EXPECT_EQ(cursor.readDate(K_DATE, &date, &isNull), RESULT_OK);
  EXPECT_EQ(date, 1);
  BcdRecord bcd{};
  EXPECT_EQ(cursor.readBcd(K_DECIMAL, &bcd, &isNull), RESULT_OK);
  EXPECT_EQ(textOf(bcd), "-999999999999.99");
  EXPECT_EQ(cursor.readBcd(K_WIDE_DECIMAL, &bcd, &isNull), RESULT_OK);
  EXPECT_EQ(textOf(bcd), "999999999999999999999999999999.99");
  std::int16_t smallint = 0;
  EXPECT_EQ(cursor.readShort(K_SMALLINT, &smallint, &isNull), RESULT_OK);
  EXPECT_EQ(smallint, 32767);
  for (std::uint16_t column : {K_BYTE, K_TEXT, K_BLOB, K_CLOB}) {
    std::uint32_t size = 99;
    EXPECT_EQ(cursor.readBlobSize(column, &size, &isNull), RESULT_OK) << column;
    EXPECT_EQ(isNull, 0) << column << ": an empty blob is not NULL";
    EXPECT_EQ(size, 0u) << column;
  }

  fetchRow(cursor);
  EXPECT_EQ(stringAt(cursor, K_CHAR), "ABCDEFGHIJ");
  EXPECT_EQ(cursor.readDate(K_DATE, &date, &isNull), RESULT_OK);
  EXPECT_EQ(date, high.date);
  EXPECT_EQ(datePartsFromNumber(date), (DateParts{9999, 12, 31}));
  TimestampRecord stamp{};
  EXPECT_EQ(cursor.readTimeStamp(K_SECONDS, &stamp, &isNull), RESULT_OK);
  expectSameTimestamp(stamp, high.seconds, 0);
  expectSameBlob(blobAt(cursor, K_BYTE), high.bytes, "K_BYTE");
  expectSameBlob(textBlobAt(cursor, K_TEXT), high.text, "K_TEXT");
  expectSameBlob(blobAt(cursor, K_BLOB), high.blob, "K_BLOB");
  expectSameBlob(textBlobAt(cursor, K_CLOB), high.clob, "K_CLOB");
  EXPECT_EQ(cursor.fetchNext(), RESULT_NO_MORE_ROWS);
}

TEST_F(ValuesRoundTrip, ParametersReadBackAsGiven) {
  const KindsRow r = ordinaryRow();
  host::Command c = command();
  writeRow(c, r);
  // Set again after execute: values stay readable until close.
  const char five[] = "abcde";
  EXPECT_EQ(c.set(K_VARCHAR, FIELD_STRING, SUBTYPE_NONE, 3, five), RESULT_OK);
  std::int32_t isNull = -1;
  char text[16];
  std::memset(text, 0x7f, sizeof text);
  EXPECT_EQ(c.getParameter(K_VARCHAR, 0, text, sizeof text, &isNull), RESULT_OK);
  EXPECT_STREQ(text, "abcde") << "a length shorter than the text keeps the whole text";
  EXPECT_EQ(c.getParameter(K_VARCHAR, 0, text, 4, &isNull), RESULT_OK);
  EXPECT_STREQ(text, "abc") << "cut so that the text and its NUL fit the buffer";
  EXPECT_EQ(c.getParameter(K_CHAR, 0, text, sizeof text, &isNull), RESULT_OK);
  EXPECT_STREQ(text, "abc");

  std::int16_t smallint = 0;
  EXPECT_EQ(c.getParameter(K_SMALLINT, 0, &smallint, 2, &isNull), RESULT_OK);
  EXPECT_EQ(smallint, r.smallint);
  std::int32_t integer = 0;
  EXPECT_EQ(c.getParameter(K_INTEGER, 0, &integer, 4, &isNull), RESULT_OK);
  EXPECT_EQ(integer, r.integer);
  double real = 0;
  EXPECT_EQ(c.getParameter(K_FLOAT, 0, &real, 8, &isNull), RESULT_OK);
  EXPECT_EQ(real, r.real);
  float single = 0;
  EXPECT_EQ(c.getParameter(K_SMALLFLOAT, 0, &single, 4, &isNull), RESULT_OK);
  EXPECT_EQ(single, r.single);
  std::int32_t date = 0;
  EXPECT_EQ(c.getParameter(K_DATE, 0, &date, 4, &isNull), RESULT_OK);
  EXPECT_EQ(date, r.date);
  std::int32_t time = 0;
  EXPECT_EQ(c.getParameter(K_TIME, 0, &time, 4, &isNull), RESULT_OK);
  EXPECT_EQ(time, r.time);

  BcdRecord bcd{};
  EXPECT_EQ(c.getParameter(K_DECIMAL, 0, &bcd, 33, &isNull), RESULT_INVALID_CONVERSION);
  EXPECT_EQ(c.getParameter(K_DECIMAL, 0, &bcd, 34, &isNull), RESULT_OK);
  EXPECT_EQ(textOf(bcd), "-12.50");
  TimestampRecord stamp{};
  EXPECT_EQ(c.getParameter(K_FRACTION, 0, &stamp, 15, &isNull), RESULT_INVALID_CONVERSION);
  EXPECT_EQ(c.getParameter(K_FRACTION, 0, &stamp, 16, &isNull), RESULT_OK);
  expectSameTimestamp(stamp, r.fraction, 234);
  char blob[8];
  EXPECT_EQ(c.getParameter(K_BYTE, 0, blob, sizeof blob, &isNull), RESULT_INVALID_FIELD_TYPE);
  EXPECT_EQ(isNull, 0);

  EXPECT_EQ(c.setNull(K_INTEGER, FIELD_INT32), RESULT_OK);
  EXPECT_EQ(c.getParameter(K_INTEGER, 0, &integer, 4, &isNull), RESULT_OK);
  EXPECT_EQ(isNull, 1);

  EXPECT_EQ(c.getParameter(0, 0, &integer, 4, &isNull), RESULT_OUT_OF_RANGE);
  EXPECT_EQ(c.getParameter(K_COUNT + 1, 0, &integer, 4, &isNull), RESULT_OUT_OF_RANGE);
  EXPECT_EQ(c.getParameter(K_INTEGER, 0, nullptr, 4, &isNull), RESULT_INVALID_PARAMETER);
  EXPECT_EQ(c.getParameter(K_INTEGER, 0, &integer, 4, nullptr), RESULT_INVALID_PARAMETER);

  ASSERT_EQ(c.close(), RESULT_OK);
  EXPECT_EQ(c.getParameter(K_SMALLINT, 0, &smallint, 2, &isNull), RESULT_PARAMETER_NOT_SET)
      << "close dropped the value";
}

}  // namespace
