// Reading a cursor through its interface: every field type to its text,
// NULLs, both end-of-rows codes, both column-name length conventions, and a
// failing fetch or reader.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "quovex/dates.h"
#include "result_reader.h"

namespace quovexsql {
namespace {

using namespace quovex;

struct FakeColumn {
  std::string name;
  std::uint16_t fieldType;
  std::int16_t precision;
  std::vector<Cell> values;  // per row; raw value texts, absent for NULL
  std::uint16_t subtype = 0;
};

// A cursor over fixed rows. Values are kept as texts and handed out in the
// reader's form. Column names are reported with or without the NUL in their
// length, as data and catalogue cursors do.
class FakeCursor : public SQLCursor {
 public:
  FakeCursor(std::vector<FakeColumn> columns, std::size_t rows) : columns_(std::move(columns)), rows_(rows) {}

  bool nameLengthWithNul = true;
  ResultCode endCode = RESULT_NO_MORE_ROWS;
  std::size_t failFetchAt = SIZE_MAX;  // fetch number (from 0) that fails
  std::map<std::uint16_t, ResultCode> failingReads;
  std::string error = "Could not position within a table.";

  ResultCode query(void*, void*) override { return RESULT_OK; }
  std::int32_t addRef() override { return 1; }
  std::int32_t release() override { return 0; }
  ResultCode errorMessage(char* text) override {
    std::memcpy(text, error.c_str(), error.size() + 1);
    return RESULT_OK;
  }
  ResultCode errorMessageLength(std::int16_t* length) override {
    *length = static_cast<std::int16_t>(error.size() + 1);
    return RESULT_OK;
  }
  ResultCode columnCount(std::int16_t* count) override {
    *count = static_cast<std::int16_t>(columns_.size());
    return RESULT_OK;
  }
  ResultCode columnNameLength(std::uint16_t column, std::int16_t* length) override {
    *length = static_cast<std::int16_t>(at(column).name.size() + (nameLengthWithNul ? 1 : 0));
    return RESULT_OK;
  }
  ResultCode columnName(std::uint16_t column, char* name) override {
    std::memcpy(name, at(column).name.c_str(), at(column).name.size() + 1);
    return RESULT_OK;
  }
  ResultCode columnType(std::uint16_t column, std::uint16_t* type, std::uint16_t* subtype) override {
    *type = at(column).fieldType;
    *subtype = at(column).subtype;
    return RESULT_OK;
  }
  ResultCode columnLength(std::uint16_t column, std::int32_t* length) override {
    *length = at(column).precision + 1;
    return RESULT_OK;
  }
  ResultCode columnPrecision(std::uint16_t column, std::int16_t* precision) override {
    *precision = at(column).precision;
    return RESULT_OK;
  }
  ResultCode columnScale(std::uint16_t, std::int16_t* scale) override {
    *scale = 0;
    return RESULT_OK;
  }
  ResultCode columnNullable(std::uint16_t, std::int32_t* flag) override { return *flag = 1, RESULT_OK; }
  ResultCode columnAutoIncrement(std::uint16_t, std::int32_t* flag) override { return *flag = 0, RESULT_OK; }
  ResultCode columnReadOnly(std::uint16_t, std::int32_t* flag) override { return *flag = 0, RESULT_OK; }
  ResultCode columnSearchable(std::uint16_t, std::int32_t* flag) override { return *flag = 1, RESULT_OK; }
  ResultCode fetchNext() override {
    if (fetches_ == failFetchAt) return RESULT_CLIENT_ERROR;
    if (fetches_ >= rows_) return endCode;
    row_ = fetches_++;
    return RESULT_OK;
  }
  ResultCode readString(std::uint16_t column, char* text, std::int32_t* isNull) override {
    return read(column, isNull, [&](const std::string& v) {
      // The driver writes precision characters and a NUL at position precision.
      std::memset(text, 0, static_cast<std::size_t>(at(column).precision) + 1);
      std::memcpy(text, v.data(), std::min<std::size_t>(v.size(), at(column).precision));
    });
  }
  ResultCode readShort(std::uint16_t column, std::int16_t* value, std::int32_t* isNull) override {
    return read(column, isNull, [&](const std::string& v) { *value = static_cast<std::int16_t>(std::stoi(v)); });
  }
  ResultCode readLong(std::uint16_t column, std::int32_t* value, std::int32_t* isNull) override {
    return read(column, isNull, [&](const std::string& v) { *value = std::stoi(v); });
  }
  ResultCode readDouble(std::uint16_t column, double* value, std::int32_t* isNull) override {
    return read(column, isNull, [&](const std::string& v) {
      *value = at(column).precision == 4 ? static_cast<double>(std::stof(v)) : std::stod(v);
    });
  }
  ResultCode readBcd(std::uint16_t column, BcdRecord* value, std::int32_t* isNull) override {
    // "digits/places": "125000/2" is 1250.00.
    return read(column, isNull, [&](const std::string& v) {
      *value = BcdRecord{};
      const std::string digits = v.substr(0, v.find('/'));
      value->precision = static_cast<std::uint8_t>(digits.size());
      value->signAndPlaces = static_cast<std::uint8_t>(std::stoi(v.substr(v.find('/') + 1)));
      for (std::size_t i = 0; i < digits.size(); ++i) {
        value->digits[i / 2] |= static_cast<std::uint8_t>((digits[i] - '0') << (i % 2 == 0 ? 4 : 0));
      }
    });
  }
  ResultCode readTimeStamp(std::uint16_t column, TimestampRecord* value, std::int32_t* isNull) override {
    return read(column, isNull, [&](const std::string&) { *value = {2012, 3, 4, 5, 6, 7, 0}; });
  }
  ResultCode readDate(std::uint16_t column, std::int32_t* value, std::int32_t* isNull) override {
    return read(column, isNull, [&](const std::string& v) { *value = std::stoi(v); });
  }
  ResultCode readBlobSize(std::uint16_t column, std::uint32_t* size, std::int32_t* isNull) override {
    return read(column, isNull, [&](const std::string& v) { *size = static_cast<std::uint32_t>(v.size()); });
  }
  ResultCode readBlob(std::uint16_t column, void* buffer, std::int32_t* isNull, std::uint32_t length) override {
    return read(column, isNull,
                [&](const std::string& v) { std::memcpy(buffer, v.data(), std::min<std::size_t>(length, v.size())); });
  }

 private:
  const FakeColumn& at(std::uint16_t column) const { return columns_.at(column - 1u); }

  template <typename Write>
  ResultCode read(std::uint16_t column, std::int32_t* isNull, Write write) {
    if (auto failing = failingReads.find(column); failing != failingReads.end()) return failing->second;
    const Cell& cell = at(column).values.at(row_);
    *isNull = cell ? 0 : 1;
    if (cell) write(*cell);
    return RESULT_OK;
  }

  std::vector<FakeColumn> columns_;
  std::size_t rows_;
  std::size_t fetches_ = 0;
  std::size_t row_ = 0;
};

std::vector<Row> readAll(FakeCursor& cursor, std::vector<ColumnInfo>* columns, ResultCode* result) {
  EXPECT_EQ(readColumns(cursor, columns), RESULT_OK);
  std::vector<Row> rows;
  *result = readRows(cursor, *columns, [&](Row&& row) { rows.push_back(std::move(row)); });
  return rows;
}

std::vector<FakeColumn> everyType() {
  const std::string date = std::to_string(dateNumberFromParts(2012, 3, 4));
  return {
      {"name", FIELD_STRING, 10, {Cell("Caneta    "), std::nullopt}},
      {"qty", FIELD_INT16, 2, {Cell("-7"), std::nullopt}},
      {"id", FIELD_INT32, 4, {Cell("2147483647"), std::nullopt}},
      {"ratio", FIELD_FLOAT, 8, {Cell("0.1"), std::nullopt}},
      {"weight", FIELD_FLOAT, 4, {Cell("1.1"), std::nullopt}},
      {"price", FIELD_BCD, 16, {Cell("125000/2"), std::nullopt}},
      {"opened", FIELD_DATE, 4, {Cell(date), std::nullopt}},
      {"stamp", FIELD_TIMESTAMP, 16, {Cell("x"), std::nullopt}},
      {"photo", FIELD_BLOB, 1, {Cell(std::string("\x00\x1f\xff", 3)), std::nullopt}, SUBTYPE_BINARY},
      {"notes", FIELD_BLOB, 1, {Cell("linha 1\nlinha 2"), std::nullopt}, SUBTYPE_MEMO},
  };
}

TEST(QuovexSqlResultReader, EveryFieldTypeInItsNaturalTextAndNullAsAbsent) {
  FakeCursor cursor(everyType(), 2);
  std::vector<ColumnInfo> columns;
  ResultCode result = RESULT_OK;
  const auto rows = readAll(cursor, &columns, &result);
  EXPECT_EQ(result, RESULT_OK);
  ASSERT_EQ(columns.size(), 10u);
  EXPECT_EQ(columns[0].name, "name");
  EXPECT_EQ(columns[8].name, "photo");
  ASSERT_EQ(rows.size(), 2u);
  const Row expected{Cell("Caneta    "), Cell("-7"),         Cell("2147483647"),
                     Cell("0.1"),        Cell("1.1"),        Cell("1250.00"),
                     Cell("04/03/2012"), Cell("2012-03-04 05:06:07"), Cell("\\x001fff"),
                     Cell("linha 1\nlinha 2")};
  EXPECT_EQ(rows[0], expected);
  EXPECT_EQ(rows[1], Row(10, std::nullopt));
}

TEST(QuovexSqlResultReader, CatalogueCursorsEndWithTheirOwnCodeAndNamesWithoutNul) {
  FakeCursor cursor({{"TABLE_NAME", FIELD_STRING, 18, {Cell("item"), Cell("proposal")}}}, 2);
  cursor.nameLengthWithNul = false;
  cursor.endCode = RESULT_CATALOGUE_END;
  std::vector<ColumnInfo> columns;
  ResultCode result = RESULT_OK;
  const auto rows = readAll(cursor, &columns, &result);
  EXPECT_EQ(result, RESULT_OK);
  EXPECT_EQ(columns[0].name, "TABLE_NAME");
  EXPECT_EQ(rows, (std::vector<Row>{{Cell("item")}, {Cell("proposal")}}));
}

TEST(QuovexSqlResultReader, AFailingFetchStopsAndAFailingReaderMarksOnlyItsCell) {
  FakeCursor cursor(everyType(), 2);
  cursor.failFetchAt = 1;
  cursor.failingReads[6] = RESULT_INVALID_CONVERSION;
  std::vector<ColumnInfo> columns;
  ResultCode result = RESULT_OK;
  const auto rows = readAll(cursor, &columns, &result);
  EXPECT_EQ(result, RESULT_CLIENT_ERROR);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][5], Cell("<error 6>"));
  EXPECT_EQ(rows[0][4], Cell("1.1"));
  EXPECT_EQ(failureText(cursor, result), "Could not position within a table.");
  cursor.error.clear();
  EXPECT_EQ(failureText(cursor, RESULT_CLIENT_ERROR), "the driver returned -1");
}

}  // namespace
}  // namespace quovexsql
