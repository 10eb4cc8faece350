// Writing and reading field values of every kind: what each conversion
// stores, how it reads back, and which conversions fail.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "recordtable/table.h"
#include "test_support.h"

namespace recordtable {
namespace {

using test::openEveryKind;

struct WriteCase {
  const char* field;
  const char* description;
  std::function<void(Field&)> write;
  const char* expectedText;  // nullptr: the write must fail
};

DateTime at(int y, int m, int d, int hh = 0, int nn = 0, int ss = 0, int ms = 0) {
  DateTime v;
  v.year = y, v.month = m, v.day = d, v.hour = hh, v.minute = nn, v.second = ss, v.millisecond = ms;
  return v;
}

const WriteCase kWriteCases[] = {
    // Text(10): length counts characters, not bytes.
    {"NOME", "text", [](Field& f) { f.setText("Açaí"); }, "Açaí"},
    {"NOME", "ten accented characters fit", [](Field& f) { f.setText("ééééééééé\xc3\xa9"); }, "ééééééééé\xc3\xa9"},
    {"NOME", "eleven characters do not", [](Field& f) { f.setText("abcdefghijk"); }, nullptr},
    {"NOME", "malformed UTF-8", [](Field& f) { f.setText("\xc3("); }, nullptr},
    {"NOME", "integer as text", [](Field& f) { f.setInteger(-42); }, "-42"},
    {"NOME", "float as text", [](Field& f) { f.setFloat(1234.5); }, "1234,5"},
    {"NOME", "date as text", [](Field& f) { f.setDateTime(at(2010, 3, 5)); }, "05/03/2010"},
    {"NOME", "empty text stays text", [](Field& f) { f.setText(""); }, ""},
    // Int16 / Int32: ranges, whole numbers only.
    {"PEQUENO", "int16 from text", [](Field& f) { f.setText(" 0012 "); }, "12"},
    {"PEQUENO", "int16 upper bound", [](Field& f) { f.setInteger(32767); }, "32767"},
    {"PEQUENO", "int16 overflow", [](Field& f) { f.setInteger(32768); }, nullptr},
    {"PEQUENO", "int16 not a number", [](Field& f) { f.setText("abc"); }, nullptr},
    {"PEQUENO", "int16 from whole float", [](Field& f) { f.setFloat(7.0); }, "7"},
    {"PEQUENO", "int16 from fraction", [](Field& f) { f.setFloat(7.5); }, nullptr},
    {"PEQUENO", "int16 from a date", [](Field& f) { f.setDateTime(at(2010, 1, 1)); }, nullptr},
    {"INTEIRO", "int32 lower bound", [](Field& f) { f.setInteger(-2147483648LL); }, "-2147483648"},
    {"INTEIRO", "int32 overflow", [](Field& f) { f.setInteger(2147483648LL); }, nullptr},
    {"INTEIRO", "int32 from 64-bit text", [](Field& f) { f.setText("99999999999999999999"); }, nullptr},
    {"INTEIRO", "blank text is null", [](Field& f) { f.setText("  "); }, ""},
    // Float: Brazilian text, finite only.
    {"VALOR", "float from Brazilian text", [](Field& f) { f.setText("1234,5678"); }, "1234,5678"},
    {"VALOR", "float shortest text", [](Field& f) { f.setFloat(0.1); }, "0,1"},
    {"VALOR", "float integer", [](Field& f) { f.setInteger(3); }, "3"},
    {"VALOR", "float not a number text", [](Field& f) { f.setText("1,2,3"); }, nullptr},
    {"VALOR", "float infinity", [](Field& f) { f.setFloat(std::numeric_limits<double>::infinity()); }, nullptr},
    {"VALOR", "float NaN", [](Field& f) { f.setFloat(std::nan("")); }, nullptr},
    {"VALOR", "float from a date", [](Field& f) { f.setDateTime(at(2010, 1, 1)); }, nullptr},
    // DateTime.
    {"DATA", "date at midnight", [](Field& f) { f.setDateTime(at(2010, 12, 31)); }, "31/12/2010"},
    {"DATA", "date and time", [](Field& f) { f.setDateTime(at(2012, 2, 29, 14, 30, 5)); }, "29/02/2012 14:30:05"},
    {"DATA", "Brazilian text", [](Field& f) { f.setText("01/02/2011 08:05"); }, "01/02/2011 08:05:00"},
    {"DATA", "ISO text", [](Field& f) { f.setText("2011-02-01T08:05:09"); }, "01/02/2011 08:05:09"},
    {"DATA", "not a leap year", [](Field& f) { f.setDateTime(at(2011, 2, 29)); }, nullptr},
    {"DATA", "bad text", [](Field& f) { f.setText("32/01/2011"); }, nullptr},
    {"DATA", "integer", [](Field& f) { f.setInteger(40000); }, nullptr},
    {"DATA", "year 10000", [](Field& f) { f.setDateTime(at(10000, 1, 1)); }, nullptr},
    // LongText keeps line breaks and any length.
    {"OBS", "line breaks", [](Field& f) { f.setText("linha 1\r\nlinha 2\nçã"); }, "linha 1\r\nlinha 2\nçã"},
    // Decimal(2): exact places, rounding half away from zero from floats.
    {"PRECO", "decimal text", [](Field& f) { f.setText("12,5"); }, "12,50"},
    {"PRECO", "decimal negative", [](Field& f) { f.setText("-0,05"); }, "-0,05"},
    {"PRECO", "decimal too many places", [](Field& f) { f.setText("1,234"); }, nullptr},
    {"PRECO", "decimal from float rounds half away", [](Field& f) { f.setFloat(0.285); }, "0,29"},
    {"PRECO", "decimal from negative float", [](Field& f) { f.setFloat(-0.125); }, "-0,13"},
    {"PRECO", "decimal from integer", [](Field& f) { f.setInteger(7); }, "7,00"},
    {"PRECO", "decimal overflow", [](Field& f) { f.setInteger(std::numeric_limits<std::int64_t>::max()); }, nullptr},
    {"PRECO", "decimal units", [](Field& f) { f.setDecimalUnits(-1); }, "-0,01"},
    {"VALOR", "units on a float", [](Field& f) { f.setDecimalUnits(1); }, nullptr},
};

void PrintTo(const WriteCase& c, std::ostream* out) { *out << c.field << ": " << c.description; }

class FieldWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(FieldWrite, StoresOrFailsAndLeavesTheOldValue) {
  const WriteCase& c = GetParam();
  Table table("T");
  openEveryKind(table);
  table.append();
  Field& field = table.fieldByName(c.field);
  if (c.expectedText == nullptr) {
    EXPECT_THROW(c.write(field), TableError);
    EXPECT_TRUE(field.isNull()) << "a failed write must not store anything";
    return;
  }
  c.write(field);
  table.post();
  EXPECT_EQ(field.asText(), c.expectedText);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, FieldWrite, ::testing::ValuesIn(kWriteCases),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(FieldRead, TypedReadsConvertOrFail) {
  Table table("T");
  openEveryKind(table);
  table.append();
  table.fieldByName("NOME").setText(" 12 ");
  table.fieldByName("PEQUENO").setInteger(-3);
  table.fieldByName("VALOR").setFloat(2.5);
  table.fieldByName("DATA").setDateTime(at(2010, 5, 6, 7, 8, 9, 10));
  table.fieldByName("OBS").setText("não é número");
  table.fieldByName("PRECO").setText("-2,50");
  table.post();

  EXPECT_EQ(table.fieldByName("NOME").asInteger(), 12);
  EXPECT_DOUBLE_EQ(table.fieldByName("NOME").asFloat(), 12.0);
  EXPECT_THROW(table.fieldByName("NOME").asDateTime(), TableError);
  EXPECT_DOUBLE_EQ(table.fieldByName("PEQUENO").asFloat(), -3.0);
  EXPECT_EQ(table.fieldByName("VALOR").asInteger(), 3) << "halves away from zero";
  EXPECT_EQ(table.fieldByName("PRECO").asInteger(), -3) << "halves away from zero";
  EXPECT_DOUBLE_EQ(table.fieldByName("PRECO").asFloat(), -2.5);
  EXPECT_EQ(table.fieldByName("PRECO").asDecimalUnits(), -250);
  EXPECT_EQ(table.fieldByName("DATA").asDateTime(), at(2010, 5, 6, 7, 8, 9, 10));
  EXPECT_THROW(table.fieldByName("DATA").asInteger(), TableError);
  EXPECT_THROW(table.fieldByName("DATA").asFloat(), TableError);
  EXPECT_THROW(table.fieldByName("OBS").asInteger(), TableError);
  EXPECT_THROW(table.fieldByName("OBS").asFloat(), TableError);
  EXPECT_THROW(table.fieldByName("PEQUENO").asDateTime(), TableError);
  EXPECT_THROW(table.fieldByName("VALOR").asDecimalUnits(), TableError);
}

TEST(FieldRead, NullReadsAsEmptyZeroAndTheBaseDate) {
  Table table("T");
  openEveryKind(table);
  table.append();
  table.post();
  for (std::size_t i = 0; i < table.fieldCount(); ++i) {
    const Field& f = table.field(i);
    EXPECT_TRUE(f.isNull()) << f.name();
    EXPECT_EQ(f.asText(), "") << f.name();
    EXPECT_EQ(f.displayText(), "") << f.name();
  }
  EXPECT_EQ(table.fieldByName("PEQUENO").asInteger(), 0);
  EXPECT_EQ(table.fieldByName("VALOR").asFloat(), 0.0);
  EXPECT_EQ(table.fieldByName("DATA").asDateTime(), at(1899, 12, 30));
}

TEST(FieldDisplay, PatternsApplyToNumbersAndDates) {
  Table table("T");
  openEveryKind(table);
  table.fieldByName("VALOR").setDisplay({"#,##0.0000", 0, std::nullopt});
  table.fieldByName("PEQUENO").setDisplay({"0000", 0, Alignment::Center});
  table.fieldByName("DATA").setDisplay({"dd/mm/yyyy hh:nn", 0, std::nullopt});
  table.fieldByName("PRECO").setDisplay({"#,##0.00", 0, std::nullopt});
  table.append();
  table.fieldByName("VALOR").setFloat(1234.5);
  table.fieldByName("PEQUENO").setInteger(3);
  table.fieldByName("DATA").setDateTime(at(2012, 7, 1, 9, 5));
  table.fieldByName("PRECO").setText("12345,68");
  table.fieldByName("NOME").setText("x");
  table.post();
  EXPECT_EQ(table.fieldByName("VALOR").displayText(), "1.234,5000");
  EXPECT_EQ(table.fieldByName("PEQUENO").displayText(), "0003");
  EXPECT_EQ(table.fieldByName("DATA").displayText(), "01/07/2012 09:05");
  EXPECT_EQ(table.fieldByName("PRECO").displayText(), "12.345,68");
  EXPECT_EQ(table.fieldByName("NOME").displayText(), "x");
  EXPECT_EQ(table.fieldByName("PEQUENO").alignment(), Alignment::Center);
  EXPECT_EQ(table.fieldByName("VALOR").alignment(), Alignment::Right);
  EXPECT_EQ(table.fieldByName("NOME").alignment(), Alignment::Left);
  EXPECT_THROW(table.fieldByName("NOME").setDisplay({"0000", 0, std::nullopt}), TableError);
  EXPECT_THROW(table.fieldByName("NOME").setDisplay({"", -1, std::nullopt}), TableError);
}

TEST(FieldDefinitions, BadDefinitionsAreRefused) {
  const std::vector<std::vector<FieldDef>> bad = {
      {{"", FieldKind::Int16, 0}},
      {{"1ABC", FieldKind::Int16, 0}},
      {{"COM ESPACO", FieldKind::Int16, 0}},
      {{std::string(65, 'A'), FieldKind::Int16, 0}},
      {{"T", FieldKind::Text, 0}},
      {{"T", FieldKind::Text, 65536}},
      {{"D", FieldKind::Decimal, 19}},
      {{"I", FieldKind::Int32, 4}},
      {{"A", FieldKind::Int16, 0}, {"a", FieldKind::Int32, 0}},
      {{"K", static_cast<FieldKind>(99), 0}},
  };
  for (const auto& defs : bad) {
    Table table("T");
    EXPECT_THROW(table.setFieldDefs(defs), TableError) << defs.front().name;
    EXPECT_TRUE(table.fieldDefs().empty());
  }
}

TEST(DateTimeText, IsoFormAndItsReading) {
  EXPECT_EQ(formatIsoDateTime(at(2010, 1, 2, 3, 4, 5)), "2010-01-02T03:04:05");
  EXPECT_EQ(formatIsoDateTime(at(1, 1, 1, 0, 0, 0, 7)), "0001-01-01T00:00:00.007");
  EXPECT_EQ(parseIsoDateTime("9999-12-31T23:59:59.999"), at(9999, 12, 31, 23, 59, 59, 999));
  EXPECT_EQ(parseIsoDateTime("2010-01-02"), at(2010, 1, 2));
  EXPECT_EQ(parseIsoDateTime("2010-01-02 03:04"), at(2010, 1, 2, 3, 4));
  for (const char* bad : {"", "2010-1-2", "2010-02-30", "2010-01-02T24:00", "2010-01-02T03:04:05.1",
                          "2010-01-02X", "0000-01-01"}) {
    EXPECT_FALSE(parseIsoDateTime(bad).has_value()) << bad;
  }
}

}  // namespace
}  // namespace recordtable
