// Values converted to their column's type when written: SQL literals,
// parameters and UPDATE, values the column cannot hold refused with
// Informix's codes and the table left as it was; long texts cut (or refused
// in an ANSI database); and two connections under the write-ahead log.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "ifxrt/testing.h"
#include "statement_helpers.h"
#include "test_databases.h"

namespace {

class WrittenValueTest : public RuntimeTest {
 protected:
  // Connects to a new database of `logging` with table t (one column of
  // `type`, plus an id).
  void makeTable(const char* type, IfxLogging logging = IFX_LOG_NONE) {
    path_ = createDatabase("values.db", logging);
    ASSERT_EQ(connect(path_), 0);
    ASSERT_EQ(execute((std::string("CREATE TABLE t (id INTEGER, v ") + type + ")").c_str()), 0);
  }

  // quote(v) of the row with `id`: what SQLite holds, as an SQL literal;
  // "none" when the row is not there.
  std::string stored(int id) {
    const std::string sql = "SELECT quote(v) FROM t WHERE id = " + std::to_string(id);
    if (prepare("q", sql.c_str()) != 0) return "prepare failed";
    char text[200] = "";
    DescriptorArea columns(1);
    columns.bindBytes(0, IFX_TYPE_CHAR, text, sizeof text);
    if (openCursor("q", "qc") != 0) return "open failed";
    const int32_t rc = fetch("qc", columns.get());
    clientFree(cursorNamed("qc"));
    return rc == 100 ? "none" : std::string(text);
  }

  std::string path_;
};

struct WriteCase {
  const char* type;
  const char* literal;
  int32_t code;
  const char* stored;  // quote() of the stored value when accepted
};

// What Informix does with each value written into a column of the type.
const WriteCase kWriteCases[] = {
    {"INTEGER", "'12'", 0, "12"},
    {"INTEGER", "'12x'", -1213, ""},
    {"INTEGER", "12.9", 0, "12"},
    {"INTEGER", "-12.9", 0, "-12"},
    {"INTEGER", "2147483647", 0, "2147483647"},
    {"INTEGER", "1000000000000", -1215, ""},
    {"INTEGER", "-2147483649", -1215, ""},
    {"SMALLINT", "70000", -1214, ""},
    {"SMALLINT", "-32769", -1214, ""},
    {"SMALLINT", "'-32768'", 0, "-32768"},
    {"INT8", "9223372036854775807", 0, "9223372036854775807"},
    {"BIGINT", "'-9223372036854775807'", 0, "-9223372036854775807"},
    {"BIGINT", "'99999999999999999999'", -1215, ""},
    {"BIGINT", "'abc'", -1213, ""},
    {"DECIMAL(16,2)", "1234567890123.456", 0, "1234567890123.46"},
    {"DECIMAL(16,2)", "123456789012345.67", -1226, ""},
    {"DECIMAL(16,2)", "'1.005'", 0, "1.01"},
    {"DECIMAL(5,2)", "999.995", -1226, ""},
    {"DECIMAL(30,9)", "12345678901234567890.123456789", 0, "X'31323334353637383930313233343536373839302E313233343536373839'"},
    {"DECIMAL(4)", "123.456", 0, "123.5"},
    {"MONEY(8,2)", "'x1'", -1213, ""},
    {"FLOAT", "'1.5'", 0, "1.5"},
    {"FLOAT", "1e999", -1213, ""},
    {"FLOAT", "'abc'", -1213, ""},
    {"DATE", "'2012-02-29'", 0, "'2012-02-29'"},
    {"DATE", "'02/29/2012'", 0, "'2012-02-29'"},
    {"DATE", "'2011-02-29'", -1218, ""},
    {"DATE", "'yesterday'", -1218, ""},
    {"DATE", "0", 0, "'1899-12-31'"},
    {"DATETIME YEAR TO SECOND", "'2012-01-02 03:04:05'", 0, "'2012-01-02 03:04:05'"},
    {"DATETIME YEAR TO SECOND", "'2012-01-02'", 0, "'2012-01-02 00:00:00'"},
    {"DATETIME YEAR TO SECOND", "'garbage'", -1262, ""},
    {"DATETIME YEAR TO DAY", "'2012-13-01'", -1263, ""},
    {"INTERVAL DAY(3) TO SECOND", "'12 03:04:05'", 0, "'12 03:04:05'"},
    {"INTERVAL DAY(3) TO SECOND", "'garbage'", -1262, ""},
    {"CHAR(3)", "'abcdef'", 0, "'abc'"},
    {"VARCHAR(3)", "'abcdef'", 0, "'abc'"},
    {"LVARCHAR(4)", "'abcdef'", 0, "'abcd'"},
    // "ação" is 6 bytes: the cut never splits the two-byte "ç".
    {"CHAR(3)", "'ação'", 0, "'aç'"},
    {"CHAR(2)", "'ação'", 0, "'a'"},
    {"BOOLEAN", "'t'", 0, "1"},
    {"BOOLEAN", "'F'", 0, "0"},
    {"BOOLEAN", "'yes'", -1260, ""},
    {"BOOLEAN", "2", -1260, ""},
    {"INTEGER", "NULL", 0, "NULL"},
};

class WriteCaseTest : public WrittenValueTest, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(WriteCaseTest, InsertStoresTheColumnsValueOrRefusesIt) {
  const WriteCase& c = GetParam();
  makeTable(c.type);
  const std::string insert = std::string("INSERT INTO t VALUES (1, ") + c.literal + ")";
  EXPECT_EQ(execute(insert.c_str()), c.code) << c.type << " <- " << c.literal << ": " << areaArgument();
  EXPECT_EQ(stored(1), c.code == 0 ? std::string(c.stored) : "none") << c.type << " <- " << c.literal;
}

INSTANTIATE_TEST_SUITE_P(Cases, WriteCaseTest, ::testing::ValuesIn(kWriteCases));

TEST_F(WrittenValueTest, ARefusedUpdateLeavesEveryRowAsItWas) {
  makeTable("SMALLINT");
  ASSERT_EQ(execute("INSERT INTO t VALUES (1, 10)"), 0);
  ASSERT_EQ(execute("INSERT INTO t VALUES (2, 30000)"), 0);
  EXPECT_EQ(execute("UPDATE t SET v = v * 2"), -1214);  // row 1 fits, row 2 does not
  EXPECT_EQ(stored(1), "10");
  EXPECT_EQ(stored(2), "30000");
  EXPECT_EQ(execute("UPDATE t SET v = '7x' WHERE id = 1"), -1213);
  EXPECT_EQ(areaArgument(), "'7x'");
  EXPECT_EQ(stored(1), "10");
}

TEST_F(WrittenValueTest, ParametersAreConvertedAndNotANumberIsRefusedByName) {
  makeTable("FLOAT");
  ASSERT_EQ(prepare("ins", "INSERT INTO t VALUES (?, ?)"), 0);
  int32_t id = 1;
  double value = -0.0;
  DescriptorArea parameters(2);
  parameters.bind(0, IFX_TYPE_INTEGER, id);
  parameters.bind(1, IFX_TYPE_FLOAT, value);
  clientExecute(statementNamed("ins"), parameters.get());
  ASSERT_EQ(clientStatusCode(), 0) << areaArgument();
  const struct {
    double value;
    const char* name;
  } kRefused[] = {{std::numeric_limits<double>::quiet_NaN(), "'NaN'"},
                  {std::numeric_limits<double>::infinity(), "'Infinity'"},
                  {-std::numeric_limits<double>::infinity(), "'-Infinity'"}};
  for (const auto& refused : kRefused) {
    id = 2;
    value = refused.value;
    clientExecute(statementNamed("ins"), parameters.get());
    EXPECT_EQ(clientStatusCode(), -1213) << refused.name;
    EXPECT_EQ(areaArgument(), refused.name);
    char text[120] = "";
    ASSERT_EQ(clientMessageText(-1213, text, sizeof text, nullptr), 0);
    EXPECT_STREQ(text, "Character to numeric conversion error (%s).");
  }
  EXPECT_EQ(stored(2), "none");
  // -0.0 keeps its sign.
  ASSERT_EQ(prepare("sel", "SELECT v FROM t WHERE id = 1"), 0);
  double back = 1;
  DescriptorArea columns(1);
  columns.bind(0, IFX_TYPE_FLOAT, back);
  ASSERT_EQ(openCursor("sel", "c"), 0);
  ASSERT_EQ(fetch("c", columns.get()), 0);
  EXPECT_EQ(back, 0.0);
  EXPECT_TRUE(std::signbit(back));
}

TEST_F(WrittenValueTest, AnAnsiDatabaseRefusesATextLongerThanItsColumn) {
  makeTable("CHAR(3)", IFX_LOG_ANSI);
  EXPECT_EQ(execute("INSERT INTO t VALUES (1, 'abcd')"), -1279);
  EXPECT_EQ(execute("INSERT INTO t VALUES (2, 'abc   ')"), 0) << "only blanks are cut";
  EXPECT_EQ(stored(1), "none");
  EXPECT_EQ(stored(2), "'abc'");
}

// Write-ahead log: a connection reading (an open cursor in the middle of its
// rows) does not stop another connection's commit; two writers still take
// turns, the second meeting the first one's lock.
TEST_F(WrittenValueTest, AReaderNeverMakesAnotherConnectionsCommitFail) {
  path_ = createDatabase("shared.db", IFX_LOG_BUFFERED);
  ASSERT_EQ(connect(path_, "reader"), 0);
  ASSERT_EQ(execute("INSERT INTO items VALUES (1, 'one')"), 0);
  ASSERT_EQ(execute("INSERT INTO items VALUES (2, 'two')"), 0);
  ASSERT_EQ(prepare("all", "SELECT id FROM items"), 0);
  ASSERT_EQ(openCursor("all", "reading"), 0);
  int32_t id = 0;
  DescriptorArea columns(1);
  columns.bind(0, IFX_TYPE_INTEGER, id);
  ASSERT_EQ(fetch("reading", columns.get()), 0);

  ASSERT_EQ(connect(path_, "writer"), 0);
  ASSERT_EQ(execute("BEGIN WORK"), 0);
  ASSERT_EQ(execute("INSERT INTO items VALUES (3, 'three')"), 0);
  EXPECT_EQ(execute("COMMIT WORK"), 0) << areaArgument();
  EXPECT_EQ(committedRows(path_, "items"), 3);

  ASSERT_EQ(execute("BEGIN WORK"), 0);
  ASSERT_EQ(execute("UPDATE items SET name = 'uno' WHERE id = 1"), 0);
  clientSetConnection("reader");
  EXPECT_EQ(fetch("reading", columns.get()), 0);
  EXPECT_EQ(execute("DELETE FROM items WHERE id = 2"), -244);
  EXPECT_EQ(areaInt(88), -107);
  clientSetConnection("writer");
  EXPECT_EQ(execute("COMMIT WORK"), 0);
}

}  // namespace

namespace {

// BIGINT, INT8, SERIAL8, BIGSERIAL, BOOLEAN and LVARCHAR: described with
// Informix's type numbers and read back exactly through the places a
// driver binds for them (a decimal for the 64-bit integers, a SMALLINT or a
// text for BOOLEAN, a text for LVARCHAR).
TEST_F(WrittenValueTest, WideTypesAreDescribedAndReadExactly) {
  path_ = createDatabase("wide.db", IFX_LOG_NONE);
  ASSERT_EQ(connect(path_), 0);
  ASSERT_EQ(execute("CREATE TABLE w (a BIGINT, b INT8, c SERIAL8, d BIGSERIAL, e BOOLEAN, f LVARCHAR(500))"), 0);
  ASSERT_EQ(execute("INSERT INTO w VALUES (-9223372036854775807, 9223372036854775807, 0, 0, 't', 'longo')"), 0);
  ASSERT_EQ(prepare("sel", "SELECT a, b, c, d, e, e, f FROM w"), 0);
  IfxDescriptor* described = nullptr;
  ASSERT_EQ(describe("sel", &described), IFX_KIND_SELECT);
  const int16_t kTypes[] = {52, 17, 18, 53, 45, 45, 43};
  const int32_t kLengths[] = {8, 10, 10, 8, 1, 1, 500};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(described->entries[i].type, kTypes[i]) << i;
    EXPECT_EQ(described->entries[i].length, kLengths[i]) << i;
  }
  clientFreeDescriptor(described);
  IfxDecimal wide[4];
  int16_t flag = 0;
  char flagText[4] = "";
  char text[600] = "";
  DescriptorArea columns(7);
  for (int i = 0; i < 4; ++i) columns.bind(i, IFX_TYPE_DECIMAL, wide[i], 22);
  columns.bind(4, IFX_TYPE_SMALLINT, flag);
  columns.bindBytes(5, IFX_TYPE_CHAR, flagText, sizeof flagText);
  columns.bindBytes(6, IFX_TYPE_VARCHAR, text, sizeof text);
  ASSERT_EQ(openCursor("sel", "c"), 0);
  ASSERT_EQ(fetch("c", columns.get()), 0) << areaArgument();
  const char* kExpected[] = {"-9223372036854775807", "9223372036854775807", "1", "1"};
  for (int i = 0; i < 4; ++i) {
    char digits[40] = "";
    ASSERT_EQ(clientDecimalToText(&wide[i], digits, sizeof digits - 1, 0), 0);
    EXPECT_EQ(std::string(digits).substr(0, std::string(digits).find(' ')), kExpected[i]) << i;
  }
  EXPECT_EQ(flag, 1);
  EXPECT_STREQ(flagText, "t");
  EXPECT_STREQ(text, "longo");
}

}  // namespace

namespace {

// Informix's dialect run end to end, and the rows processed of a SELECT.
TEST_F(WrittenValueTest, InformixDialectRunsAndSelectCountsItsRows) {
  path_ = createDatabase("dialect.db", IFX_LOG_NONE);
  ASSERT_EQ(connect(path_), 0);
  ASSERT_EQ(execute("CREATE TABLE d (id INTEGER, name VARCHAR(20), day DATE, at DATETIME YEAR TO MINUTE, "
                    "span INTERVAL DAY(3) TO MINUTE) { the table of the test }"),
            0);
  for (int id = 1; id <= 5; ++id) {
    const std::string insert = "INSERT INTO d VALUES (" + std::to_string(id) +
                               ", 'nome" + std::to_string(id) +
                               "', TODAY, DATETIME (2012-01-02 03:04) YEAR TO MINUTE, INTERVAL (12 03:04) DAY(3) TO MINUTE)";
    ASSERT_EQ(execute(insert.c_str()), 0) << areaArgument();
  }
  EXPECT_EQ(execute("SELECT * FROM d WHERE name MATCHES 'nome[12]' -- two of them"), 0);
  EXPECT_EQ(areaInt(92), 2);
  EXPECT_EQ(execute("SELECT SKIP 1 FIRST 3 id FROM d ORDER BY id INTO TEMP picked WITH NO LOG"), 0);
  ASSERT_EQ(prepare("p", "SELECT id FROM picked WHERE id > 0"), 0);
  int32_t id = 0;
  DescriptorArea columns(1);
  columns.bind(0, IFX_TYPE_INTEGER, id);
  ASSERT_EQ(openCursor("p", "pc"), 0);
  ASSERT_EQ(fetch("pc", columns.get()), 0);
  EXPECT_EQ(id, 2);
  EXPECT_EQ(areaInt(92), 1);
  ASSERT_EQ(fetch("pc", columns.get()), 0);
  ASSERT_EQ(fetch("pc", columns.get()), 0);
  EXPECT_EQ(id, 4);
  EXPECT_EQ(fetch("pc", columns.get()), 100);
  EXPECT_EQ(areaInt(92), 3);
  ASSERT_EQ(execute("CREATE TABLE t (id INTEGER, v DATE)"), 0);
  ASSERT_EQ(execute("INSERT INTO t SELECT id, day FROM d WHERE id = 1 AND day = TODAY AND at < CURRENT"), 0);
  EXPECT_EQ(areaInt(92), 1);
}

}  // namespace
