// The pure pieces of commands and cursors: BCD records to decimal text and
// back, parameter markers, the procedure call text, and describing a result
// column into its descriptor and row-buffer slot.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "client/bcd_text.h"
#include "client/client_values.h"
#include "ifxrt/client.h"
#include "client/column_layout.h"
#include "client/statement_text.h"

using namespace quovex;
using namespace quovex::inf;

namespace {

// A BCD record from its digits as text ("01234"), places and sign.
BcdRecord bcdOf(const char* digits, int places, bool negative = false) {
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

std::string digitsOf(const BcdRecord& bcd) {
  std::string text;
  for (int i = 0; i < bcd.precision; ++i) {
    const std::uint8_t pair = bcd.digits[i / 2];
    text += static_cast<char>('0' + (i % 2 == 0 ? pair >> 4 : pair & 0x0F));
  }
  return text;
}

struct BcdTextCase {
  const char* digits;
  int places;
  bool negative;
  const char* text;
};

TEST(DriverBcdText, RecordToDecimalText) {
  const BcdTextCase cases[] = {
      {"01234", 2, false, "12.34"},
      {"00100", 2, false, "1.0"},
      {"00000", 2, false, "0.0"},
      {"1250", 2, true, "-12.5"},
      {"5", 1, false, "0.5"},
      {"12", 0, false, "12.0"},
      {"", 0, false, "0.0"},
      {"12345678901234567890123456789012", 2, true, "-123456789012345678901234567890.12"},
  };
  for (const BcdTextCase& c : cases) {
    std::string text;
    EXPECT_EQ(bcdToDecimalText(bcdOf(c.digits, c.places, c.negative), text), RESULT_OK) << c.digits;
    EXPECT_EQ(text, c.text) << c.digits;
  }
}

TEST(DriverBcdText, RecordThatCannotHoldWhatItClaimsIsRefused) {
  std::string text = "kept";
  BcdRecord tooLong = bcdOf("1", 0);
  tooLong.precision = 65;  // 32 bytes hold 64 digits
  EXPECT_EQ(bcdToDecimalText(tooLong, text), RESULT_INVALID_CONVERSION);
  EXPECT_EQ(bcdToDecimalText(bcdOf("12", 3), text), RESULT_INVALID_CONVERSION) << "more places than digits";
  BcdRecord badNibble = bcdOf("12", 0);
  badNibble.digits[0] = 0x1A;
  EXPECT_EQ(bcdToDecimalText(badNibble, text), RESULT_INVALID_CONVERSION);
  EXPECT_EQ(text, "kept");
}

struct ParseCase {
  const char* text;
  const char* digits;
  std::uint8_t signAndPlaces;
};

TEST(DriverBcdText, DecimalTextToRecord) {
  const ParseCase cases[] = {
      {"-12.50", "1250", 0x82},
      {".5", "05", 0x01},
      {"12", "12", 0x00},
      {"-7", "7", 0x80},
      {"+3.25", "325", 0x02},
      {"  0.00   ", "000", 0x02},
      {"1.5 and more", "15", 0x01},
      {"-12345678901234567890123456789.123", "12345678901234567890123456789123", 0x83},
  };
  for (const ParseCase& c : cases) {
    BcdRecord bcd;
    std::memset(&bcd, 0xEE, sizeof bcd);
    ASSERT_EQ(decimalTextToBcd(c.text, bcd), RESULT_OK) << c.text;
    EXPECT_EQ(digitsOf(bcd), c.digits) << c.text;
    EXPECT_EQ(bcd.signAndPlaces, c.signAndPlaces) << c.text;
    // Nibbles beyond the last digit are 0.
    for (int i = bcd.precision; i < 64; ++i) {
      const std::uint8_t pair = bcd.digits[i / 2];
      EXPECT_EQ(i % 2 == 0 ? pair >> 4 : pair & 0x0F, 0) << c.text << " nibble " << i;
    }
  }
}

TEST(DriverBcdText, ExponentGivesAnAllZeroRecord) {
  BcdRecord bcd;
  std::memset(&bcd, 0xEE, sizeof bcd);
  EXPECT_EQ(decimalTextToBcd("1.5e3", bcd), RESULT_INVALID_CONVERSION);
  const BcdRecord zero{};
  EXPECT_EQ(std::memcmp(&bcd, &zero, sizeof bcd), 0);
}

TEST(DriverBcdText, TextOfARecordParsesBackToTheSameValue) {
  for (const char* digits : {"01234", "99999999999999999999999999999999", "0001", "5"}) {
    for (int places : {0, 1}) {
      std::string text;
      ASSERT_EQ(bcdToDecimalText(bcdOf(digits, places, true), text), RESULT_OK);
      BcdRecord back;
      ASSERT_EQ(decimalTextToBcd(text.c_str(), back), RESULT_OK);
      std::string again;
      ASSERT_EQ(bcdToDecimalText(back, again), RESULT_OK);
      EXPECT_EQ(again, text);
    }
  }
}

TEST(DriverStatementText, MarkersOutsideQuotesAreCounted) {
  const struct {
    const char* sql;
    std::size_t markers;
  } cases[] = {
      {"SELECT * FROM t WHERE a = ? AND b = '?' AND c = \"?\"", 1},
      {"INSERT INTO t VALUES (?, ?, ?)", 3},
      {"SELECT 'it''s ?' FROM t WHERE a = ?", 1},         // a doubled quote toggles twice
      {"SELECT 'a\\' ?' FROM t WHERE a = ?", 1},          // an escaped quote does not close
      {"SELECT \"it's\" FROM t WHERE a = ? AND b = ?", 2},  // the other quote inside is plain
      {"SELECT 'unterminated ?", 0},
      {"", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(countParameterMarkers(c.sql), c.markers) << c.sql;
}

TEST(DriverStatementText, ProcedureCallText) {
  EXPECT_EQ(procedureCallText("p", 2), "EXECUTE PROCEDURE p ( ?, ? )");
  EXPECT_EQ(procedureCallText("p", 1), "EXECUTE PROCEDURE p ( ? )");
  EXPECT_EQ(procedureCallText("p", 0), "EXECUTE PROCEDURE p ( )");
}

struct DescribeCase {
  std::int32_t serverType;
  std::int32_t length;
  std::int32_t extendedType;
  std::int16_t fieldType;
  std::int16_t subtype;
  std::int32_t reportedLength;
  std::int16_t precision;
  std::int16_t scale;
  std::int32_t slotSize;
  std::uint16_t clientType;
};

TEST(DriverColumnLayout, EachServerTypeIsDescribed) {
  const DescribeCase cases[] = {
      {0, 10, 0, FIELD_STRING, SUBTYPE_FIXED, 11, 10, 0, 11, CT_CHAR},
      {15 + 256, 4, 0, FIELD_STRING, SUBTYPE_FIXED, 5, 4, 0, 5, CT_CHAR},  // NCHAR NOT NULL
      {13, 40, 0, FIELD_STRING, SUBTYPE_NONE, 41, 40, 0, 41, CT_VARCHAR},
      {16, 20, 0, FIELD_STRING, SUBTYPE_NONE, 21, 20, 0, 21, CT_VARCHAR},
      {1, 2, 0, FIELD_INT16, SUBTYPE_NONE, 2, 2, 0, 2, CT_SMALLINT},
      {2, 4, 0, FIELD_INT32, SUBTYPE_NONE, 4, 4, 0, 4, CT_INTEGER},
      {6, 4, 0, FIELD_INT32, SUBTYPE_NONE, 4, 4, 0, 4, CT_SERIAL},
      {4, 4, 0, FIELD_FLOAT, SUBTYPE_NONE, 8, 4, 0, 4, CT_SMALLFLOAT},
      {3, 8, 0, FIELD_FLOAT, SUBTYPE_NONE, 8, 8, 0, 8, CT_FLOAT},
      {5, 16 * 256 + 2, 0, FIELD_BCD, SUBTYPE_NONE, 34, 16, 2, 22, CT_DECIMAL},
      {8 + 256, 8 * 256 + 2, 0, FIELD_BCD, SUBTYPE_NONE, 34, 8, 2, 22, CT_MONEY},
      {7, 4, 0, FIELD_DATE, SUBTYPE_NONE, 4, 4, 0, 4, CT_DATE},
      {10, 0x0E0A, 0, FIELD_TIMESTAMP, SUBTYPE_NONE, 16, 0x0E0A, 0, 24, CT_DATETIME},
      {14, 0x0C4D, 0, FIELD_STRING, SUBTYPE_NONE, 26, 26, 0x0C4D, 26, CT_INTERVAL},
      {11, 56, 0, FIELD_BLOB, SUBTYPE_BINARY, 56, 1, 0, 62, CT_BYTE},
      {12, 56, 0, FIELD_BLOB, SUBTYPE_MEMO, 56, 1, 0, 62, CT_TEXT},
      {41, 72, 10, FIELD_BLOB, SUBTYPE_BINARY_LOB, 72, 1, 0, 72, CT_BLOB},
      {41, 72, 11, FIELD_BLOB, SUBTYPE_CHAR_LOB, 72, 1, 0, 72, CT_CLOB},
      // Beyond the contract's own types: 64-bit integers as 19-digit BCD numbers,
      // BOOLEAN as a 16-bit integer, LVARCHAR as a string.
      {17, 10, 0, FIELD_BCD, SUBTYPE_NONE, 34, 19, 0, 22, CT_DECIMAL},        // INT8
      {18 + 256, 10, 0, FIELD_BCD, SUBTYPE_NONE, 34, 19, 0, 22, CT_DECIMAL},  // SERIAL8
      {52, 8, 0, FIELD_BCD, SUBTYPE_NONE, 34, 19, 0, 22, CT_DECIMAL},         // BIGINT
      {53, 8, 0, FIELD_BCD, SUBTYPE_NONE, 34, 19, 0, 22, CT_DECIMAL},         // BIGSERIAL
      {45, 1, 0, FIELD_INT16, SUBTYPE_NONE, 2, 2, 0, 2, CT_SMALLINT},         // BOOLEAN
      {43, 2048, 0, FIELD_STRING, SUBTYPE_NONE, 2049, 2048, 0, 2049, CT_VARCHAR},  // LVARCHAR
      {5, 30 * 256 + 255, 0, FIELD_BCD, SUBTYPE_NONE, 34, 30, 255, 22, CT_DECIMAL},  // DECIMAL(30)
  };
  for (const DescribeCase& c : cases) {
    ColumnDescriptor d;
    ASSERT_EQ(describeColumn(3, {"col", c.serverType, c.length, c.extendedType}, d), RESULT_OK) << c.serverType;
    EXPECT_EQ(d.index, 3);
    EXPECT_EQ(d.fieldType, c.fieldType) << c.serverType;
    EXPECT_EQ(d.subtype, c.subtype) << c.serverType;
    EXPECT_EQ(d.length, c.reportedLength) << c.serverType;
    EXPECT_EQ(d.precision, c.precision) << c.serverType;
    EXPECT_EQ(d.scale, c.scale) << c.serverType;
    EXPECT_EQ(d.slotSize, c.slotSize) << c.serverType;
    EXPECT_EQ(d.clientType, c.clientType) << c.serverType;
  }
}

TEST(DriverColumnLayout, TypesWithoutMappingAreRefused) {
  ColumnDescriptor d;
  EXPECT_EQ(describeColumn(0, {"n", 9, 0, 0}, d), RESULT_CLIENT_ERROR) << "NULL";
  EXPECT_EQ(describeColumn(0, {"n", 49, 0, 0}, d), RESULT_CLIENT_ERROR);
  EXPECT_EQ(describeColumn(0, {"n", 255, 0, 0}, d), RESULT_CLIENT_ERROR);
  EXPECT_EQ(describeColumn(0, {"n", 19, 0, 0}, d), RESULT_INVALID_FIELD_TYPE) << "SET";
  EXPECT_EQ(describeColumn(0, {"n", 40, 0, 0}, d), RESULT_INVALID_FIELD_TYPE) << "variable-length opaque";
  EXPECT_EQ(d.clientType, 0);
  // The text of such a column names it and its type.
  EXPECT_EQ(uncarriedColumnText({"itens", 19, 0, 0}), "Column itens is of the Informix SET, which the driver cannot read.");
  EXPECT_EQ(uncarriedColumnText({"x", 9, 0, 0}), "Column x is of the Informix NULL, which the driver cannot read.");
  EXPECT_EQ(uncarriedColumnText({"y", 30, 0, 0}), "Column y is of the Informix type 30, which the driver cannot read.");
}

TEST(DriverColumnLayout, NamesAreCutTo30Characters) {
  ColumnDescriptor d;
  ASSERT_EQ(describeColumn(0, {std::string(40, 'n'), 2, 4, 0}, d), RESULT_OK);
  EXPECT_EQ(d.name, std::string(30, 'n'));
}

TEST(DriverColumnLayout, RowBufferPlacesEachIndicatorRightAfterItsSlot) {
  std::vector<ColumnDescriptor> columns(3);
  ASSERT_EQ(describeColumn(0, {"a", 2, 4, 0}, columns[0]), RESULT_OK);
  ASSERT_EQ(describeColumn(1, {"b", 0, 10, 0}, columns[1]), RESULT_OK);
  ASSERT_EQ(describeColumn(2, {"c", 5, 16 * 256 + 2, 0}, columns[2]), RESULT_OK);
  RowBuffer row;
  ASSERT_EQ(row.layOut(columns), RESULT_OK);
  EXPECT_EQ(columns[0].dataOffset, 0);
  EXPECT_EQ(columns[0].indicatorOffset, 4);
  EXPECT_EQ(columns[1].dataOffset, 8);
  EXPECT_EQ(columns[1].indicatorOffset, 19);
  EXPECT_EQ(columns[2].dataOffset, 23);
  EXPECT_EQ(columns[2].indicatorOffset, 45);
  EXPECT_EQ(row.size(), 49u);
  for (const ColumnDescriptor& column : columns) EXPECT_EQ(row.indicator(column), -1) << "no row fetched yet";
}

}  // namespace

namespace {

// Timestamp fields from the runtime's own extension to YEAR TO FRACTION(3)
// and its text, the way a value of any qualifier is read.
TimestampRecord throughTheRuntime(const IfxDatetime& value) {
  IfxDatetime extended{};
  extended.qualifier = static_cast<std::int16_t>(kQualifierYearToFraction3);
  EXPECT_EQ(clientExtendDatetime(&value, &extended), 0);
  char text[32] = {};
  EXPECT_EQ(clientDatetimeToText(&extended, text, sizeof text), 0);
  TimestampRecord t{};
  unsigned fraction = 0;
  int year = 0;
  EXPECT_EQ(std::sscanf(text, "%d-%hu-%hu %hu:%hu:%hu.%u", &year, &t.month, &t.day, &t.hour, &t.minute, &t.second,
                        &fraction),
            7)
      << text;
  t.year = static_cast<std::int16_t>(year);
  t.fraction = fraction;
  return t;
}

TEST(DriverDatetimeValues, ValuesStartingAtYearReadAsTheRuntimeExtendsThem) {
  const struct {
    const char* text;
    int digits;
    int end;
  } cases[] = {
      {"2012-03-04 05:06:07", 14, IFX_TU_SECOND},
      {"0001-01-01 00:00:00", 14, IFX_TU_SECOND},
      {"9999-12-31 23:59:59.999", 17, IFX_TU_F3},
      {"2003-07-04 13:05:09.234", 17, IFX_TU_F3},
      {"2003-07-04 13:05:09.2", 15, IFX_TU_F1},
      {"2003-07-04 13:05:09.23", 16, IFX_TU_F2},
      {"2010-02-28", 8, IFX_TU_DAY},
      {"2010-02", 6, IFX_TU_MONTH},
      {"0987", 4, IFX_TU_YEAR},
      {"2010-02-28 07:08", 12, IFX_TU_MINUTE},
      {"1900-01-01 00", 10, IFX_TU_HOUR},
  };
  for (const auto& c : cases) {
    IfxDatetime value{};
    value.qualifier = IFX_QUALIFIER(c.digits, IFX_TU_YEAR, c.end);
    ASSERT_EQ(clientTextToDatetime(c.text, &value), 0) << c.text;
    TimestampRecord read{};
    clientDatetimeToTimestamp(&value, read);
    const TimestampRecord expected = throughTheRuntime(value);
    EXPECT_EQ(std::memcmp(&read, &expected, sizeof read), 0)
        << c.text << ": " << read.year << "-" << read.month << "-" << read.day << " " << read.hour << ":"
        << read.minute << ":" << read.second << "." << read.fraction;
  }
}

TEST(DriverDatetimeValues, OtherQualifiersGoThroughTheRuntime) {
  IfxDatetime value{};
  value.qualifier = IFX_QUALIFIER(9, IFX_TU_HOUR, IFX_TU_F3);
  ASSERT_EQ(clientTextToDatetime("13:05:09.250", &value), 0);
  TimestampRecord read{};
  clientDatetimeToTimestamp(&value, read);
  EXPECT_EQ(read.hour, 13);
  EXPECT_EQ(read.minute, 5);
  EXPECT_EQ(read.second, 9);
  EXPECT_EQ(read.fraction, 250u);
  EXPECT_GE(read.year, 2026) << "the date comes from today";
}

}  // namespace

namespace {

// A decimal read into a BCD record straight from its digits gives the same
// record as going through the decimal's text, for every scale and sign.
TEST(DriverDecimalReading, DirectDigitsMatchTheText) {
  const char* kValues[] = {"0.5",      "-0.5",        "12.5",     "-12.50",   "1234567890123456789",
                           "-9223372036854775807",    "0.001",    "100",      "99.99",
                           "123456789012345678.123456789012", "0.0000001", "7",    "-100.25"};
  for (const char* text : kValues) {
    IfxDecimal decimal{};
    ASSERT_EQ(clientDecimalFromText(text, &decimal), 0) << text;
    for (int scale : {0, 1, 2, 4, 12, 255}) {
      SCOPED_TRACE(std::string(text) + " scale " + std::to_string(scale));
      char viaText[60];
      BcdRecord expected{};
      const int textScale = scale == 255 ? -1 : scale;
      const bool textWorks = clientDecimalToText(&decimal, textScale, viaText, 50) == 0 &&
                             decimalTextToBcd(viaText, expected) == RESULT_OK;
      BcdRecord direct{};
      const ResultCode read = clientDecimalToBcd(&decimal, scale, direct);
      ASSERT_EQ(read == RESULT_OK, textWorks);
      if (!textWorks) continue;
      EXPECT_EQ(direct.precision, expected.precision);
      EXPECT_EQ(direct.signAndPlaces, expected.signAndPlaces);
      EXPECT_EQ(std::memcmp(direct.digits, expected.digits, sizeof direct.digits), 0);
    }
  }
}

}  // namespace
