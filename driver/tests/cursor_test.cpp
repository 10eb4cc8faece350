// Result cursors through their slots: column descriptions, the readers'
// checks (column number, type, row buffer, NULL), reading before the first
// row, and the blob readers on other columns.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "command_fixture.h"
#include "quovex/dates.h"

using namespace quovex;

namespace {

class Cursors : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    run("INSERT INTO kinds (id, c, s, sf, d, dt, ts) VALUES (1, 'x', 5, 1.5, -12.50, '0001-01-01', "
        "'2012-03-04 05:06:07')");
    cursor_ = query("SELECT * FROM kinds");
    ASSERT_NE(cursor_.self, nullptr);
  }

  host::Cursor cursor_;
};

struct ColumnCase {
  std::uint16_t column;
  const char* name;
  std::uint16_t type;
  std::uint16_t subtype;
  std::int32_t length;
  std::int16_t precision;
  std::int16_t scale;
  std::int32_t searchable;
};

TEST_F(Cursors, DescribesEachColumn) {
  const ColumnCase cases[] = {
      {K_ID, "id", FIELD_INT32, SUBTYPE_NONE, 4, 4, 0, 1},
      {K_CHAR, "c", FIELD_STRING, SUBTYPE_FIXED, 11, 10, 0, 1},
      {K_VARCHAR, "v", FIELD_STRING, SUBTYPE_NONE, 41, 40, 0, 1},
      {K_SMALLINT, "s", FIELD_INT16, SUBTYPE_NONE, 2, 2, 0, 1},
      {K_FLOAT, "f", FIELD_FLOAT, SUBTYPE_NONE, 8, 8, 0, 1},
      {K_SMALLFLOAT, "sf", FIELD_FLOAT, SUBTYPE_NONE, 8, 4, 0, 1},
      {K_DECIMAL, "d", FIELD_BCD, SUBTYPE_NONE, 34, 16, 2, 1},
      {K_MONEY, "m", FIELD_BCD, SUBTYPE_NONE, 34, 8, 2, 1},
      {K_DATE, "dt", FIELD_DATE, SUBTYPE_NONE, 4, 4, 0, 1},
      {K_SECONDS, "ts", FIELD_TIMESTAMP, SUBTYPE_NONE, 16, 0x0E0A, 0, 1},
      {K_INTERVAL, "iv", FIELD_STRING, SUBTYPE_NONE, 26, 26, 0x0C4D, 1},
      {K_BYTE, "by", FIELD_BLOB, SUBTYPE_BINARY, 56, 1, 0, 0},
      {K_TEXT, "tx", FIELD_BLOB, SUBTYPE_MEMO, 56, 1, 0, 0},
      {K_BLOB, "bl", FIELD_BLOB, SUBTYPE_BINARY_LOB, 72, 1, 0, 1},
      {K_CLOB, "cl", FIELD_BLOB, SUBTYPE_CHAR_LOB, 72, 1, 0, 1},
  };
  std::int16_t count = 0;
  EXPECT_EQ(cursor_.columnCount(&count), RESULT_OK);
  EXPECT_EQ(count, K_COUNT);
  for (const ColumnCase& c : cases) {
    std::int16_t nameLength = 0;
    EXPECT_EQ(cursor_.columnNameLength(c.column, &nameLength), RESULT_OK);
    EXPECT_EQ(nameLength, static_cast<std::int16_t>(std::strlen(c.name) + 1)) << c.name;
    char name[64];
    EXPECT_EQ(cursor_.columnName(c.column, name), RESULT_OK);
    EXPECT_STREQ(name, c.name);
    std::uint16_t type = 0, subtype = 0;
    EXPECT_EQ(cursor_.columnType(c.column, &type, &subtype), RESULT_OK);
    EXPECT_EQ(type, c.type) << c.name;
    EXPECT_EQ(subtype, c.subtype) << c.name;
    std::int32_t length = 0;
    EXPECT_EQ(cursor_.columnLength(c.column, &length), RESULT_OK);
    EXPECT_EQ(length, c.length) << c.name;
    std::int16_t precision = 0, scale = 0;
    EXPECT_EQ(cursor_.columnPrecision(c.column, &precision), RESULT_OK);
    EXPECT_EQ(precision, c.precision) << c.name;
    EXPECT_EQ(cursor_.columnScale(c.column, &scale), RESULT_OK);
    EXPECT_EQ(scale, c.scale) << c.name;
    std::int32_t flag = -1;
    EXPECT_EQ(cursor_.columnFlag(17, c.column, &flag), RESULT_OK);
    EXPECT_EQ(flag, c.searchable) << c.name;
    EXPECT_EQ(cursor_.columnFlag(14, c.column, &flag), RESULT_OK);
    EXPECT_EQ(flag, 1) << "nullable";
    EXPECT_EQ(cursor_.columnFlag(15, c.column, &flag), RESULT_OK);
    EXPECT_EQ(flag, 0) << "auto-increment";
    EXPECT_EQ(cursor_.columnFlag(16, c.column, &flag), RESULT_OK);
    EXPECT_EQ(flag, 0) << "read-only";
  }
}

TEST_F(Cursors, ColumnNumbersOutOfRange) {
  for (std::uint16_t column : {std::uint16_t{0}, std::uint16_t{K_COUNT + 1}}) {
    std::int16_t shortValue = 0;
    std::int32_t flag = -1;
    char text[64];
    std::uint16_t type = 0, subtype = 0;
    EXPECT_EQ(cursor_.columnNameLength(column, &shortValue), RESULT_OUT_OF_RANGE);
    EXPECT_EQ(cursor_.columnName(column, text), RESULT_OUT_OF_RANGE);
    EXPECT_EQ(cursor_.columnType(column, &type, &subtype), RESULT_OUT_OF_RANGE);
    EXPECT_EQ(cursor_.columnLength(column, &flag), RESULT_OUT_OF_RANGE);
    EXPECT_EQ(cursor_.columnPrecision(column, &shortValue), RESULT_OUT_OF_RANGE);
    EXPECT_EQ(cursor_.columnScale(column, &shortValue), RESULT_OUT_OF_RANGE);
    for (int slot : {15, 16}) EXPECT_EQ(cursor_.columnFlag(slot, column, &flag), RESULT_OUT_OF_RANGE);
    flag = -1;
    EXPECT_EQ(cursor_.columnFlag(14, column, &flag), RESULT_OUT_OF_RANGE);
    EXPECT_EQ(flag, 1) << "nullable writes 1 before its check";
    flag = -1;
    EXPECT_EQ(cursor_.columnFlag(17, column, &flag), RESULT_OUT_OF_RANGE);
    EXPECT_EQ(flag, 1) << "searchable writes 1 before its check";
    flag = -1;
    EXPECT_EQ(cursor_.columnFlag(18, column, &flag), RESULT_OK) << "blob size exact checks nothing";
    EXPECT_EQ(flag, 1);
    std::int32_t isNull = -1;
    EXPECT_EQ(cursor_.readString(column, text, &isNull), RESULT_OUT_OF_RANGE);
    EXPECT_EQ(cursor_.readBytes(column, text, &isNull), RESULT_OUT_OF_RANGE);
    std::uint32_t size = 0;
    EXPECT_EQ(cursor_.readBlobSize(column, &size, &isNull), RESULT_OUT_OF_RANGE);
    EXPECT_EQ(cursor_.readBlob(column, text, &isNull, sizeof text), RESULT_OUT_OF_RANGE);
    EXPECT_EQ(isNull, -1) << "a failed check writes nothing";
  }
}

TEST_F(Cursors, EveryColumnReadsAsNullBeforeTheFirstFetch) {
  std::int32_t value = 42, isNull = -1;
  EXPECT_EQ(cursor_.readLong(K_ID, &value, &isNull), RESULT_OK);
  EXPECT_EQ(isNull, 1);
  EXPECT_EQ(value, 42);
  std::uint32_t size = 9;
  isNull = -1;
  EXPECT_EQ(cursor_.readBlobSize(K_BLOB, &size, &isNull), RESULT_OK);
  EXPECT_EQ(isNull, 1);
}

TEST_F(Cursors, ReadersConvertNothingBetweenTypes) {
  fetchRow(cursor_);
  std::int32_t isNull = -1;
  std::int32_t longValue = 0;
  std::int16_t shortValue = 0;
  double real = 0;
  char text[64];
  EXPECT_EQ(cursor_.readLong(K_SMALLINT, &longValue, &isNull), RESULT_INVALID_CONVERSION);
  EXPECT_EQ(cursor_.readShort(K_ID, &shortValue, &isNull), RESULT_INVALID_CONVERSION);
  EXPECT_EQ(cursor_.readString(K_ID, text, &isNull), RESULT_INVALID_CONVERSION);
  EXPECT_EQ(cursor_.readDouble(K_DECIMAL, &real, &isNull), RESULT_INVALID_CONVERSION);
  EXPECT_EQ(cursor_.readTime(K_SECONDS, &longValue, &isNull), RESULT_INVALID_CONVERSION);
  EXPECT_EQ(cursor_.readTime(K_ID, &longValue, &isNull), RESULT_INVALID_CONVERSION) << "no column is a time";
  EXPECT_EQ(cursor_.readDate(K_SECONDS, &longValue, &isNull), RESULT_INVALID_CONVERSION);
  EXPECT_EQ(isNull, -1);
  EXPECT_EQ(cursor_.readBytes(K_ID, text, &isNull), RESULT_OK);

  std::uint32_t size = 5;
  EXPECT_EQ(cursor_.readBlobSize(K_ID, &size, &isNull), RESULT_INVALID_FIELD_TYPE);
  EXPECT_EQ(cursor_.readBlob(K_CHAR, text, &isNull, sizeof text), RESULT_INVALID_FIELD_TYPE);
  EXPECT_EQ(size, 5u);

  EXPECT_EQ(cursor_.readShort(K_SMALLINT, &shortValue, &isNull), RESULT_OK);
  EXPECT_EQ(shortValue, 5);
  EXPECT_EQ(cursor_.readDouble(K_SMALLFLOAT, &real, &isNull), RESULT_OK);
  EXPECT_EQ(real, 1.5) << "SMALLFLOAT widens to a double";
  BcdRecord bcd{};
  EXPECT_EQ(cursor_.readBcd(K_DECIMAL, &bcd, &isNull), RESULT_OK);
  EXPECT_EQ(bcd.precision, 4);
  EXPECT_EQ(bcd.signAndPlaces, 0x82);
  EXPECT_EQ(bcd.digits[0], 0x12);
  EXPECT_EQ(bcd.digits[1], 0x50);
  EXPECT_EQ(cursor_.readDate(K_DATE, &longValue, &isNull), RESULT_OK);
  EXPECT_EQ(longValue, 1) << "1 January of year 1";
  TimestampRecord stamp{};
  EXPECT_EQ(cursor_.readTimeStamp(K_SECONDS, &stamp, &isNull), RESULT_OK);
  EXPECT_EQ(stamp.year, 2012);
  EXPECT_EQ(stamp.month, 3);
  EXPECT_EQ(stamp.day, 4);
  EXPECT_EQ(stamp.hour, 5);
  EXPECT_EQ(stamp.minute, 6);
  EXPECT_EQ(stamp.second, 7);
  EXPECT_EQ(stamp.fraction, 0u);
}

TEST_F(Cursors, MissingOutPlacesAnswerACode) {
  fetchRow(cursor_);
  std::int32_t isNull = 0;
  EXPECT_EQ(cursor_.readLong(K_ID, nullptr, &isNull), RESULT_INVALID_PARAMETER);
  std::int32_t value = 0;
  EXPECT_EQ(cursor_.readLong(K_ID, &value, nullptr), RESULT_INVALID_PARAMETER);
  EXPECT_EQ(cursor_.columnCount(nullptr), RESULT_INVALID_PARAMETER);
  EXPECT_EQ(cursor_.columnName(K_ID, nullptr), RESULT_INVALID_PARAMETER);
  EXPECT_EQ(cursor_.setOption(1, 0), RESULT_NOT_SUPPORTED);
}

TEST_F(Cursors, DateOf31DecemberOfYear1) {
  run("UPDATE kinds SET dt = '0001-12-31'");
  host::Cursor c = query("SELECT dt FROM kinds");
  fetchRow(c);
  std::int32_t date = 0, isNull = -1;
  EXPECT_EQ(c.readDate(1, &date, &isNull), RESULT_OK);
  EXPECT_EQ(date, 365);
}

TEST_F(Cursors, ErrorTextComesFromTheCommand) {
  host::Command c = command();
  EXPECT_EQ(c.prepare("SELECT id FROM kinds", 0), RESULT_OK);
  host::Cursor rows = executed(c);
  std::int16_t length = 0;
  EXPECT_EQ(rows.errorMessageLength(&length), RESULT_OK);
  std::string text(static_cast<std::size_t>(length), '#');
  EXPECT_EQ(rows.errorMessage(text.data()), RESULT_OK);
  EXPECT_EQ(text.back(), '\0');
}

}  // namespace
