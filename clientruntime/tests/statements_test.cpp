// Prepared statements and cursors over a table of every Informix type:
// describe, statement kinds, parameters in, values out, and the errors.
#include <cstring>
#include <string>

#include "statement_helpers.h"
#include "test_databases.h"

namespace {

constexpr const char* kEveryType =
    "CREATE TABLE every ("
    " c_char CHAR(10), c_nchar NCHAR(4), c_varchar VARCHAR(20), c_nvarchar NVARCHAR(8,2),"
    " c_smallint SMALLINT, c_integer INTEGER NOT NULL, c_serial SERIAL, c_float FLOAT, c_smallfloat SMALLFLOAT,"
    " c_decimal DECIMAL(16,2), c_money MONEY(8,2), c_date DATE, c_datetime DATETIME YEAR TO SECOND,"
    " c_interval INTERVAL DAY(3) TO FRACTION(3), c_byte BYTE, c_text TEXT, c_blob BLOB, c_clob CLOB,"
    " c_int8 INT8, c_boolean BOOLEAN, c_lvarchar LVARCHAR(500));"
    "CREATE TABLE numbers (d DECIMAL(32), f DECIMAL(32,4), m MONEY(16,2));";

class StatementTest : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    path_ = pathOf("db.sqlite");
    ASSERT_EQ(ifxrtCreateDatabase(path_.c_str(), IFX_LOG_BUFFERED), 0);
    char error[200];
    ASSERT_EQ(ifxrtRunScript(path_.c_str(), kEveryType, error, sizeof error), 0) << error;
    ASSERT_EQ(connect(path_, "main"), 0);
  }
  std::string path_;
};

struct DescribedColumn {
  const char* name;
  int type;
  int length;
  int extendedType;
};

TEST_F(StatementTest, DescribeGivesTypeNumbersEncodedLengthsAndNames) {
  const DescribedColumn expected[] = {
      {"c_char", 0, 10, 0},       {"c_nchar", 15, 4, 0},          {"c_varchar", 13, 20, 0},
      {"c_nvarchar", 16, 520, 0}, {"c_smallint", 1, 2, 0},        {"c_integer", 2 + 256, 4, 0},
      {"c_serial", 6, 4, 0},      {"c_float", 3, 8, 0},           {"c_smallfloat", 4, 4, 0},
      {"c_decimal", 5, 4098, 0},  {"c_money", 8, 2050, 0},        {"c_date", 7, 4, 0},
      {"c_datetime", 10, 3594, 0}, {"c_interval", 14, 3149, 0},   {"c_byte", 11, 56, 0},
      {"c_text", 12, 56, 0},      {"c_blob", 41, 72, 10},         {"c_clob", 41, 72, 11},
      {"c_int8", 17, 10, 0},      {"c_boolean", 45, 1, 0},        {"c_lvarchar", 43, 500, 0}};
  ASSERT_EQ(prepare("s1", "SELECT * FROM every"), 0);
  IfxDescriptor* columns = nullptr;
  ASSERT_EQ(describe("s1", &columns), 0);  // 0: a SELECT
  ASSERT_NE(columns, nullptr);
  ASSERT_EQ(columns->count, static_cast<int16_t>(std::size(expected)));
  for (int i = 0; i < columns->count; ++i) {
    const IfxDescriptorEntry& entry = columns->entries[i];
    EXPECT_STREQ(entry.name, expected[i].name);
    EXPECT_EQ(entry.type, expected[i].type) << expected[i].name;
    EXPECT_EQ(entry.length, expected[i].length) << expected[i].name;
    EXPECT_EQ(entry.extendedType, expected[i].extendedType) << expected[i].name;
    const char* data = entry.data;  // a packed member: read it before comparing
    EXPECT_EQ(data, nullptr);
  }
  clientFreeDescriptor(columns);
}

TEST_F(StatementTest, DescribeLeavesTheStatementKindAsStatus) {
  ASSERT_EQ(ifxrtAddProcedure(path_.c_str(), "noop", "", "", "SELECT 1"), 0);
  const struct {
    const char* sql;
    int32_t kind;
  } cases[] = {{"SELECT c_char FROM every", 0},
               {"INSERT INTO every (c_integer) VALUES (1)", 6},
               {"UPDATE every SET c_integer = 2", 4},
               {"DELETE FROM every", 5},
               {"CREATE TABLE other (a DATETIME YEAR TO DAY)", 14},
               {"CREATE INDEX by_int ON every (c_integer)", 16},
               {"DROP TABLE numbers", 15},
               {"DROP INDEX by_name", 17},
               {"EXECUTE PROCEDURE noop ()", 56},
               {"SET ISOLATION TO DIRTY READ", 1},
               {"BEGIN WORK", 1},
               {"ALTER TABLE every ADD extra INTEGER", 1}};
  ASSERT_EQ(execute("CREATE INDEX by_name ON every (c_char)"), 0);
  for (const auto& c : cases) {
    clientPrepare("k", c.sql);
    ASSERT_EQ(clientStatusCode(), 0) << c.sql;
    IfxDescriptor* columns = nullptr;
    EXPECT_EQ(describe("k", &columns), c.kind) << c.sql;
    ASSERT_NE(columns, nullptr);
    EXPECT_EQ(columns->count, c.kind == 0 ? 1 : 0) << c.sql;
    clientFreeDescriptor(columns);
  }
}

TEST_F(StatementTest, ExpressionsAreTypedFromTheirFirstValue) {
  ASSERT_EQ(execute("INSERT INTO every (c_integer) VALUES (1)"), 0);
  ASSERT_EQ(prepare("e", "SELECT count(*), 1.5, 'abc', x'00ff', NULL, 5000000000, c_integer + 1 FROM every"), 0);
  IfxDescriptor* columns = nullptr;
  ASSERT_EQ(describe("e", &columns), 0);
  ASSERT_NE(columns, nullptr);
  const int types[] = {2, 3, 13, 11, 13, 5, 2};
  const int lengths[] = {4, 8, 255, 56, 255, 32 * 256, 4};
  ASSERT_EQ(columns->count, 7);
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(columns->entries[i].type, types[i]) << i;
    EXPECT_EQ(columns->entries[i].length, lengths[i]) << i;
  }
  clientFreeDescriptor(columns);
}

// One row of values as the caller's places hold them.
struct Row {
  char text[11] = "abc";
  char nchar[5] = "xy";
  char varchar[21] = "hello";
  int16_t smallint = -32768;
  int32_t integer = 2147483647;
  double floating = 0.1;
  float smallfloat = 0.25f;
  IfxDecimal decimal{};
  IfxDecimal money{};
  int32_t date = 0;
  IfxDatetime datetime{};
  char interval[26] = "";
  IfxInterval intervalValue{};
  IfxLocator byte{};
  IfxLocator text_{};
};

void fillRow(Row& row, std::string& bytes, std::string& memo) {
  ASSERT_EQ(clientTextToDecimal("12345678901234.56", -1, &row.decimal), 0);
  ASSERT_EQ(clientTextToDecimal("-999999.99", -1, &row.money), 0);
  const int16_t mdy[3] = {12, 31, 9999};
  ASSERT_EQ(clientTripleToDate(mdy, &row.date), 0);
  row.datetime.qualifier = IFX_QUALIFIER(17, IFX_TU_YEAR, IFX_TU_F3);
  ASSERT_EQ(clientTextToDatetime("0001-01-01 00:00:00.000", &row.datetime), 0);
  row.intervalValue.qualifier = 0x0C4D;
  ASSERT_EQ(clientTextToInterval("12 03:04:05.5", &row.intervalValue), 0);
  row.byte.locationKind = IFX_LOC_MEMORY;
  row.byte.buffer = bytes.data();
  row.byte.size = static_cast<int32_t>(bytes.size());
  row.text_.locationKind = IFX_LOC_MEMORY;
  row.text_.buffer = memo.data();
  row.text_.size = static_cast<int32_t>(memo.size());
}

void bindRow(DescriptorArea& area, Row& row) {
  area.bind(0, IFX_TYPE_CHAR, row.text, 11);
  area.bind(1, IFX_TYPE_CHAR, row.nchar, 5);
  area.bind(2, IFX_TYPE_VARCHAR, row.varchar, 21);
  area.bind(3, IFX_TYPE_SMALLINT, row.smallint);
  area.bind(4, IFX_TYPE_INTEGER, row.integer);
  area.bind(5, IFX_TYPE_FLOAT, row.floating);
  area.bind(6, IFX_TYPE_SMALLFLOAT, row.smallfloat);
  area.bind(7, IFX_TYPE_DECIMAL, row.decimal, 22);
  area.bind(8, IFX_TYPE_DECIMAL, row.money, 22);
  area.bind(9, IFX_TYPE_DATE, row.date);
  area.bind(10, IFX_TYPE_DATETIME, row.datetime, row.datetime.qualifier);
  area.bind(12, IFX_TYPE_BYTE, row.byte, 56);
  area.bind(13, IFX_TYPE_TEXT, row.text_, 56);
}

constexpr const char* kInsertRow =
    "INSERT INTO every (c_char, c_nchar, c_varchar, c_smallint, c_integer, c_float, c_smallfloat, c_decimal, "
    "c_money, c_date, c_datetime, c_interval, c_byte, c_text) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
constexpr const char* kSelectRow =
    "SELECT c_char, c_nchar, c_varchar, c_smallint, c_integer, c_float, c_smallfloat, c_decimal, c_money, c_date, "
    "c_datetime, c_interval, c_byte, c_text FROM every";

TEST_F(StatementTest, EveryTypeGoesInThroughParametersAndComesBackUnchanged) {
  std::string bytes("\0\1\2\xff", 4);
  std::string memo = "texto com acentuação";
  Row in;
  fillRow(in, bytes, memo);
  DescriptorArea parameters(14);
  bindRow(parameters, in);
  parameters.bind(11, IFX_TYPE_INTERVAL, in.intervalValue, in.intervalValue.qualifier);
  ASSERT_EQ(prepare("ins", kInsertRow), 0);
  clientExecute(statementNamed("ins"), parameters.get());
  ASSERT_EQ(clientStatusCode(), 0) << areaArgument();
  EXPECT_EQ(areaInt(92), 1);

  ASSERT_EQ(prepare("sel", kSelectRow), 0);
  IfxDescriptor* columns = nullptr;
  ASSERT_EQ(describe("sel", &columns), 0);
  Row out{};
  std::memset(out.text, 'X', sizeof out.text);
  out.byte.bufferSize = -1;  // the runtime allocates
  out.text_.bufferSize = -1;
  int16_t indicators[14];
  const auto place = [&](int i, int16_t type, void* data, int32_t length) {
    columns->entries[i].type = type;
    columns->entries[i].length = length;
    columns->entries[i].data = static_cast<char*>(data);
    columns->entries[i].indicator = &indicators[i];
  };
  place(0, IFX_TYPE_CHAR, out.text, 11);
  place(1, IFX_TYPE_CHAR, out.nchar, 5);
  place(2, IFX_TYPE_VARCHAR, out.varchar, 21);
  place(3, IFX_TYPE_SMALLINT, &out.smallint, 2);
  place(4, IFX_TYPE_INTEGER, &out.integer, 4);
  place(5, IFX_TYPE_FLOAT, &out.floating, 8);
  place(6, IFX_TYPE_SMALLFLOAT, &out.smallfloat, 4);
  place(7, IFX_TYPE_DECIMAL, &out.decimal, 22);
  place(8, IFX_TYPE_DECIMAL, &out.money, 22);
  place(9, IFX_TYPE_DATE, &out.date, 4);
  place(10, IFX_TYPE_DATETIME, &out.datetime, 24);
  place(11, IFX_TYPE_CHAR, out.interval, 26);  // an interval is read as its text
  place(12, IFX_TYPE_BYTE, &out.byte, 56);
  place(13, IFX_TYPE_TEXT, &out.text_, 56);
  ASSERT_EQ(openCursor("sel", "cur"), 0);
  ASSERT_EQ(fetch("cur", columns), 0) << areaArgument();

  EXPECT_STREQ(out.text, "abc       ");  // CHAR(10) keeps its blanks
  EXPECT_STREQ(out.nchar, "xy  ");
  EXPECT_STREQ(out.varchar, "hello");
  EXPECT_EQ(out.smallint, -32768);
  EXPECT_EQ(out.integer, 2147483647);
  EXPECT_EQ(out.floating, 0.1);
  EXPECT_EQ(out.smallfloat, 0.25f);
  char text[50];
  ASSERT_EQ(clientDecimalToText(&out.decimal, text, 49, 2), 0);
  EXPECT_EQ(std::string(text, 17), "12345678901234.56");
  ASSERT_EQ(clientDecimalToText(&out.money, text, 49, 2), 0);
  EXPECT_EQ(std::string(text, 10), "-999999.99");
  int16_t mdy[3];
  ASSERT_EQ(clientDateToTriple(out.date, mdy), 0);
  EXPECT_EQ(mdy[0], 12);
  EXPECT_EQ(mdy[1], 31);
  EXPECT_EQ(mdy[2], 9999);
  EXPECT_EQ(out.datetime.qualifier, 3594);  // the column's own qualifier, YEAR TO SECOND
  ASSERT_EQ(clientDatetimeToText(&out.datetime, text, sizeof text), 0);
  EXPECT_STREQ(text, "0001-01-01 00:00:00");
  EXPECT_STREQ(out.interval, "  12 03:04:05.500");
  EXPECT_EQ(out.byte.indicator, 0);
  ASSERT_EQ(out.byte.size, 4);
  EXPECT_EQ(std::string(out.byte.buffer, 4), bytes);
  ASSERT_EQ(out.text_.size, static_cast<int32_t>(memo.size()));
  EXPECT_EQ(std::string(out.text_.buffer, memo.size()), memo);
  for (int i = 0; i < 14; ++i) EXPECT_EQ(indicators[i], 0) << i;

  EXPECT_EQ(fetch("cur", columns), 100);
  EXPECT_EQ(fetch("cur", columns), 100);
  std::free(out.byte.buffer);
  std::free(out.text_.buffer);
  clientFreeDescriptor(columns);
}

TEST_F(StatementTest, NullsComeBackAsIndicatorMinusOne) {
  ASSERT_EQ(execute("INSERT INTO every (c_integer) VALUES (0)"), 0);
  ASSERT_EQ(prepare("sel", "SELECT c_char, c_decimal, c_byte, c_date, c_datetime FROM every"), 0);
  DescriptorArea columns(5);
  char text[11] = "unchanged";
  IfxDecimal decimal{};
  IfxLocator byte{};
  byte.bufferSize = -1;
  int32_t date = 77;
  IfxDatetime datetime{};
  columns.bind(0, IFX_TYPE_CHAR, text, 11);
  columns.bind(1, IFX_TYPE_DECIMAL, decimal, 22);
  columns.bind(2, IFX_TYPE_BYTE, byte, 56);
  columns.bind(3, IFX_TYPE_DATE, date);
  columns.bind(4, IFX_TYPE_DATETIME, datetime, 24);
  ASSERT_EQ(openCursor("sel", "cur"), 0);
  ASSERT_EQ(fetch("cur", columns.get()), 0);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(columns.indicator(i), -1) << i;
  EXPECT_EQ(decimal.sign, -1);
  EXPECT_EQ(byte.indicator, -1);
  EXPECT_EQ(byte.buffer, nullptr);
  EXPECT_EQ(date, 77);
}

TEST_F(StatementTest, NullParametersStoreNull) {
  ASSERT_EQ(prepare("ins", "INSERT INTO every (c_integer, c_decimal, c_varchar) VALUES (?, ?, ?)"), 0);
  DescriptorArea parameters(3);
  int32_t integer = 5;
  IfxDecimal decimal{};
  decimal.sign = -1;  // a NULL decimal
  char text[4] = "abc";
  parameters.bind(0, IFX_TYPE_INTEGER, integer);
  parameters.bind(1, IFX_TYPE_DECIMAL, decimal, 22);
  parameters.bind(2, IFX_TYPE_VARCHAR, text, 4);
  parameters.setNull(2);
  clientExecute(statementNamed("ins"), parameters.get());
  ASSERT_EQ(clientStatusCode(), 0);
  ASSERT_EQ(prepare("sel", "SELECT count(*) FROM every WHERE c_decimal IS NULL AND c_varchar IS NULL"), 0);
  DescriptorArea columns(1);
  int32_t count = 0;
  columns.bind(0, IFX_TYPE_INTEGER, count);
  ASSERT_EQ(openCursor("sel", "cur"), 0);
  ASSERT_EQ(fetch("cur", columns.get()), 0);
  EXPECT_EQ(count, 1);
}

TEST_F(StatementTest, LongDecimalsKeepEveryDigit) {
  const char* values[][3] = {{"12345678901234567890123456789012", "1234567890123456789012345678.9012", "99999999999999.99"},
                             {"-10000000000000000000000000000001", "-0.0001", "-12345678901234.56"},
                             {"0", "0", "0.01"}};
  ASSERT_EQ(prepare("ins", "INSERT INTO numbers VALUES (?, ?, ?)"), 0);
  for (const auto& row : values) {
    IfxDecimal d[3];
    DescriptorArea parameters(3);
    for (int i = 0; i < 3; ++i) {
      ASSERT_EQ(clientTextToDecimal(row[i], -1, &d[i]), 0) << row[i];
      parameters.bind(i, IFX_TYPE_DECIMAL, d[i], 22);
    }
    clientExecute(statementNamed("ins"), parameters.get());
    ASSERT_EQ(clientStatusCode(), 0);
  }
  ASSERT_EQ(prepare("sel", "SELECT d, f, m FROM numbers ORDER BY rowid"), 0);
  DescriptorArea columns(3);
  IfxDecimal d[3];
  for (int i = 0; i < 3; ++i) columns.bind(i, IFX_TYPE_DECIMAL, d[i], 22);
  ASSERT_EQ(openCursor("sel", "cur"), 0);
  for (const auto& row : values) {
    ASSERT_EQ(fetch("cur", columns.get()), 0);
    for (int i = 0; i < 3; ++i) {
      char text[50];
      ASSERT_EQ(clientDecimalToText(&d[i], text, 49, -1), 0);
      std::string read(text, 49);
      read.erase(read.find(' '));
      EXPECT_EQ(read, row[i]);
    }
  }
}

TEST_F(StatementTest, TextLongerThanItsPlaceIsCutAndReportsItsLength) {
  ASSERT_EQ(execute("INSERT INTO every (c_integer, c_varchar) VALUES (1, 'abcdefghij')"), 0);
  ASSERT_EQ(prepare("sel", "SELECT c_varchar FROM every"), 0);
  DescriptorArea columns(1);
  char place[5];
  columns.bind(0, IFX_TYPE_VARCHAR, place, 5);
  ASSERT_EQ(openCursor("sel", "cur"), 0);
  EXPECT_EQ(fetch("cur", columns.get()), -451);
  EXPECT_STREQ(place, "abcd");
  EXPECT_EQ(columns.indicator(0), 10);
}

TEST_F(StatementTest, ValuesBeyondTheirPlaceAreErrorsNotWrongNumbers) {
  ASSERT_EQ(execute("INSERT INTO every (c_integer, c_float) VALUES (1, 70000)"), 0);
  ASSERT_EQ(prepare("sel", "SELECT c_float FROM every"), 0);
  DescriptorArea columns(1);
  int16_t small = 0;
  columns.bind(0, IFX_TYPE_SMALLINT, small);
  ASSERT_EQ(openCursor("sel", "cur"), 0);
  EXPECT_EQ(fetch("cur", columns.get()), -1214);
}

TEST_F(StatementTest, CursorReadsEveryRowOnceAndCanBeOpenedAgain) {
  for (int i = 1; i <= 3; ++i) ASSERT_EQ(execute(("INSERT INTO every (c_integer) VALUES (" + std::to_string(i) + ")").c_str()), 0);
  ASSERT_EQ(prepare("sel", "SELECT c_integer FROM every WHERE c_integer >= ? ORDER BY 1"), 0);
  DescriptorArea parameters(1);
  int32_t minimum = 2;
  parameters.bind(0, IFX_TYPE_INTEGER, minimum);
  DescriptorArea columns(1);
  int32_t value = 0;
  columns.bind(0, IFX_TYPE_INTEGER, value);
  ASSERT_EQ(openCursor("sel", "cur", parameters.get()), 0);
  clientOpenCursor(cursorNamed("cur"), parameters.get());
  EXPECT_EQ(clientStatusCode(), -410);  // already open
  ASSERT_EQ(fetch("cur", columns.get()), 0);
  EXPECT_EQ(value, 2);
  ASSERT_EQ(fetch("cur", columns.get()), 0);
  EXPECT_EQ(value, 3);
  EXPECT_EQ(fetch("cur", columns.get()), 100);
  clientCloseCursor(cursorNamed("cur"));
  ASSERT_EQ(clientStatusCode(), 0);
  EXPECT_EQ(fetch("cur", columns.get()), -400);
  minimum = 1;
  clientOpenCursor(cursorNamed("cur"), parameters.get());
  ASSERT_EQ(clientStatusCode(), 0);
  ASSERT_EQ(fetch("cur", columns.get()), 0);
  EXPECT_EQ(value, 1);
}

TEST_F(StatementTest, HandlesAndNamesThatDoNotExistGiveMinus404) {
  EXPECT_EQ(statementNamed("nothing"), nullptr);
  EXPECT_EQ(clientStatusCode(), -404);
  EXPECT_EQ(areaArgument(), "nothing");
  EXPECT_EQ(clientFindStatement(nullptr, IFX_FIND_STATEMENT), nullptr);
  EXPECT_EQ(clientFindStatement("x", 7), nullptr);
  IfxDescriptor* columns = reinterpret_cast<IfxDescriptor*>(1);
  clientDescribe(nullptr, &columns);
  EXPECT_EQ(clientStatusCode(), -404);
  EXPECT_EQ(columns, nullptr);
  clientExecute(nullptr, nullptr);
  EXPECT_EQ(clientStatusCode(), -404);
  clientFetch(nullptr, nullptr);
  EXPECT_EQ(clientStatusCode(), -404);
  clientCloseCursor(nullptr);
  EXPECT_EQ(clientStatusCode(), -404);
  clientFree(nullptr);
  EXPECT_EQ(clientStatusCode(), -404);
  clientDeclareCursor("c", nullptr, 0);
  EXPECT_EQ(clientStatusCode(), -404);
  clientPrepare(nullptr, "SELECT 1");
  EXPECT_EQ(clientStatusCode(), -404);
  clientPrepare(std::string(200, 'n').c_str(), "SELECT 1");
  EXPECT_EQ(clientStatusCode(), -404);

  ASSERT_EQ(prepare("s", "SELECT 1"), 0);
  IfxStatement* statement = statementNamed("s");
  ASSERT_NE(statement, nullptr);
  clientDeclareCursor("c", statement, 0);
  IfxStatement* cursor = cursorNamed("c");
  ASSERT_NE(cursor, nullptr);
  clientDescribe(cursor, &columns);  // a cursor is not a statement
  EXPECT_EQ(clientStatusCode(), -404);
  clientFree(statement);  // frees its cursors too
  EXPECT_EQ(clientStatusCode(), 0);
  EXPECT_EQ(statementNamed("s"), nullptr);
  EXPECT_EQ(cursorNamed("c"), nullptr);
  clientFree(statement);  // already freed: refused, no crash
  EXPECT_EQ(clientStatusCode(), -404);
  clientFetch(cursor, nullptr);
  EXPECT_EQ(clientStatusCode(), -404);
}

TEST_F(StatementTest, BadTextsAndMissingParametersAreRefused) {
  const struct {
    const char* sql;
    int32_t code;
  } cases[] = {{"SELEC 1", -201}, {"", -201}, {"  ", -201}, {"SELECT 1; SELECT 2", -201},
               {"SELECT * FROM missing", -206}, {"SELECT nope FROM every", -217},
               {"SET ISOLATION TO NOTHING", -201}, {"EXECUTE PROCEDURE unknown ()", -674}};
  for (const auto& c : cases) EXPECT_EQ(prepare("bad", c.sql), c.code) << c.sql;
  clientPrepare("bad", nullptr);
  EXPECT_EQ(clientStatusCode(), -201);

  ASSERT_EQ(prepare("ins", "INSERT INTO every (c_integer, c_smallint) VALUES (?, ?)"), 0);
  clientExecute(statementNamed("ins"), nullptr);
  EXPECT_EQ(clientStatusCode(), -254);
  DescriptorArea one(1);
  int32_t value = 1;
  one.bind(0, IFX_TYPE_INTEGER, value);
  clientExecute(statementNamed("ins"), one.get());
  EXPECT_EQ(clientStatusCode(), -254);
  DescriptorArea two(2);
  two.bind(0, IFX_TYPE_INTEGER, value);
  two.bind(1, 99, value);  // no such type
  clientExecute(statementNamed("ins"), two.get());
  EXPECT_EQ(clientStatusCode(), -254);
  EXPECT_EQ(committedRows(path_, "every"), 0);
}

TEST_F(StatementTest, ExecuteReportsRowsProcessedAndRunsAgain) {
  for (int i = 1; i <= 4; ++i) ASSERT_EQ(execute(("INSERT INTO every (c_integer) VALUES (" + std::to_string(i) + ")").c_str()), 0);
  ASSERT_EQ(prepare("upd", "UPDATE every SET c_smallint = 1 WHERE c_integer > ?"), 0);
  DescriptorArea parameters(1);
  int32_t above = 1;
  parameters.bind(0, IFX_TYPE_INTEGER, above);
  clientExecute(statementNamed("upd"), parameters.get());
  EXPECT_EQ(clientStatusCode(), 0);
  EXPECT_EQ(areaInt(92), 3);
  above = 3;
  clientExecute(statementNamed("upd"), parameters.get());
  EXPECT_EQ(areaInt(92), 1);
  above = 10;
  clientExecute(statementNamed("upd"), parameters.get());
  EXPECT_EQ(clientStatusCode(), 0);  // a logged database: no 100
  EXPECT_EQ(areaInt(92), 0);
}

TEST_F(StatementTest, AnAnsiDatabaseReportsNoRowsChangedAs100) {
  const std::string ansi = pathOf("ansi.sqlite");
  ASSERT_EQ(ifxrtCreateDatabase(ansi.c_str(), IFX_LOG_ANSI), 0);
  ASSERT_EQ(ifxrtRunScript(ansi.c_str(), "CREATE TABLE t (a INTEGER)", nullptr, 0), 0);
  ASSERT_EQ(connect(ansi, "ansi"), 0);
  ASSERT_EQ(prepare("del", "DELETE FROM t"), 0);
  clientExecute(statementNamed("del"), nullptr);
  EXPECT_EQ(clientStatusCode(), 100);
}

TEST_F(StatementTest, AStatementRunsOnlyUnderItsOwnConnection) {
  ASSERT_EQ(prepare("sel", "SELECT c_integer FROM every"), 0);
  const std::string other = pathOf("other.sqlite");
  ASSERT_EQ(ifxrtCreateDatabase(other.c_str(), IFX_LOG_BUFFERED), 0);
  ASSERT_EQ(connect(other, "other"), 0);
  clientExecute(statementNamed("sel"), nullptr);
  EXPECT_EQ(clientStatusCode(), -404);
  clientSetConnection("main");
  clientExecute(statementNamed("sel"), nullptr);
  EXPECT_EQ(clientStatusCode(), 0);
  clientDisconnect("main");
  clientExecute(statementNamed("sel"), nullptr);
  EXPECT_EQ(clientStatusCode(), -1803);
  ASSERT_EQ(connect(path_, "main"), 0);  // the same file again: a new connection
  clientExecute(statementNamed("sel"), nullptr);
  EXPECT_EQ(clientStatusCode(), -404);
}

TEST_F(StatementTest, InformixDdlRunsThroughExecuteTextAndQuotedTypesStayWhole) {
  ASSERT_EQ(execute("CREATE TABLE typed (a DATETIME HOUR TO MINUTE, b INTERVAL YEAR(4) TO MONTH, "
                    "c \"DATETIME YEAR TO FRACTION(3)\", d MONEY(8,2), e NCHAR(3))"),
            0);
  ASSERT_EQ(execute("INSERT INTO typed VALUES ('10:30', '12-03', '2012-01-02 03:04:05.678', 12.5, 'ab')"), 0);
  ASSERT_EQ(prepare("sel", "SELECT * FROM typed"), 0);
  IfxDescriptor* columns = nullptr;
  ASSERT_EQ(describe("sel", &columns), 0);
  ASSERT_EQ(columns->count, 5);
  EXPECT_EQ(columns->entries[0].length, IFX_QUALIFIER(4, IFX_TU_HOUR, IFX_TU_MINUTE));
  EXPECT_EQ(columns->entries[1].type, 14);
  EXPECT_EQ(columns->entries[2].length, 4365);
  EXPECT_EQ(columns->entries[3].type, 8);
  clientFreeDescriptor(columns);
  DescriptorArea places(3);
  char interval[26];
  IfxDatetime stamp{};
  stamp.qualifier = 4365;
  IfxDecimal money;
  places.bind(0, IFX_TYPE_CHAR, interval, 26);
  places.bind(1, IFX_TYPE_DATETIME, stamp, 24);
  places.bind(2, IFX_TYPE_DECIMAL, money, 22);
  ASSERT_EQ(prepare("sel2", "SELECT b, c, d FROM typed"), 0);
  ASSERT_EQ(openCursor("sel2", "cur"), 0);
  ASSERT_EQ(fetch("cur", places.get()), 0) << areaArgument();
  EXPECT_STREQ(interval, "   12-03");
  char text[32];
  ASSERT_EQ(clientDatetimeToText(&stamp, text, sizeof text), 0);
  EXPECT_STREQ(text, "2012-01-02 03:04:05.678");
  ASSERT_EQ(clientDecimalToText(&money, text, 10, 2), 0);
  EXPECT_EQ(std::string(text, 5), "12.50");
}

TEST_F(StatementTest, SerialColumnsNumberRowsInsertedWithZeroOrNothing) {
  ASSERT_EQ(execute("CREATE TABLE numbered (id SERIAL, name VARCHAR(10))"), 0);
  ASSERT_EQ(prepare("mk", "CREATE TABLE counted (n SERIAL8, x INTEGER)"), 0);
  clientExecute(statementNamed("mk"), nullptr);
  ASSERT_EQ(clientStatusCode(), 0);
  for (const char* sql : {"INSERT INTO numbered VALUES (0, 'a')", "INSERT INTO numbered (name) VALUES ('b')",
                          "INSERT INTO numbered VALUES (10, 'c')", "INSERT INTO numbered VALUES (0, 'd')",
                          "INSERT INTO counted (x) VALUES (1)"}) {
    ASSERT_EQ(execute(sql), 0) << sql;
  }
  EXPECT_EQ(areaInt(92), 1);  // rows processed: the insert alone
  ASSERT_EQ(prepare("sel", "SELECT id FROM numbered ORDER BY name"), 0);
  DescriptorArea columns(1);
  int32_t id = 0;
  columns.bind(0, IFX_TYPE_INTEGER, id);
  ASSERT_EQ(openCursor("sel", "cur"), 0);
  for (int32_t expected : {1, 2, 10, 11}) {
    ASSERT_EQ(fetch("cur", columns.get()), 0);
    EXPECT_EQ(id, expected);
  }
  ASSERT_EQ(prepare("cnt", "SELECT n FROM counted"), 0);
  ASSERT_EQ(openCursor("cnt", "c2"), 0);
  ASSERT_EQ(fetch("c2", columns.get()), 0);
  EXPECT_EQ(id, 1);
}

TEST_F(StatementTest, PreparedTextsGoToTheStatementLog) {
  ifxrtClearStatements();
  ASSERT_EQ(prepare("s", "SELECT c_integer FROM every"), 0);
  ASSERT_EQ(ifxrtStatementCount(), 1u);
  EXPECT_STREQ(ifxrtStatementText(0), "SELECT c_integer FROM every");
  EXPECT_STREQ(ifxrtStatementConnection(0), "main");
}

TEST_F(StatementTest, ScriptsStopAtTheFirstFailingStatement) {
  char error[100];
  EXPECT_EQ(ifxrtRunScript(path_.c_str(), "CREATE TABLE a (x INT); INSERT INTO nope VALUES (1); CREATE TABLE b (y INT)",
                           error, sizeof error),
            -206);
  EXPECT_STREQ(error, "nope");
  EXPECT_EQ(ifxrtRunScript(pathOf("missing.sqlite").c_str(), "SELECT 1", error, sizeof error), -1);
  EXPECT_FALSE(std::filesystem::exists(pathOf("missing.sqlite")));
  EXPECT_EQ(prepare("s", "SELECT y FROM b"), -206);
  EXPECT_EQ(prepare("s", "SELECT x FROM a"), 0);
}

}  // namespace
