// BYTE and TEXT through memory locators, BLOB and CLOB as large objects, and
// stored procedures.
#include <cstring>
#include <string>

#include "statement_helpers.h"
#include "test_databases.h"

namespace {

constexpr size_t kMebibyte = 1024 * 1024;

std::string patterned(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + 7) % 256);
  return bytes;
}

class ObjectTest : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    path_ = pathOf("db.sqlite");
    ASSERT_EQ(ifxrtCreateDatabase(path_.c_str(), IFX_LOG_BUFFERED), 0);
    ASSERT_EQ(ifxrtRunScript(path_.c_str(),
                             "CREATE TABLE docs (id INTEGER, b BYTE, t TEXT, bl BLOB, cl CLOB);"
                             "CREATE TABLE items (id INTEGER PRIMARY KEY, name VARCHAR(40), price DECIMAL(16,2));"
                             "INSERT INTO items VALUES (1, 'pen', 2.5), (2, 'book', 40), (3, 'desk', 900.99);",
                             nullptr, 0),
              0);
    ASSERT_EQ(connect(path_, "main"), 0);
  }

  // Writes `bytes` into a new large object of `kind`; its handle in `handle`.
  void makeLob(const std::string& bytes, int32_t kind, IfxLobHandle& handle) {
    IfxLobSpec* creation = nullptr;
    ASSERT_EQ(clientLobSpec(&creation), 0);
    ASSERT_EQ(clientLobSpecSetType(creation, kind), 0);
    ASSERT_EQ(clientLobCreate(creation, IFX_LO_RDWR, &handle), 0);
    const int32_t lob = clientLobOpen(&handle, IFX_LO_RDWR);
    ASSERT_GE(lob, 0);
    EXPECT_EQ(clientLobWrite(lob, bytes.data(), static_cast<int32_t>(bytes.size())), static_cast<int32_t>(bytes.size()));
    EXPECT_EQ(clientLobClose(lob), 0);
    EXPECT_EQ(clientLobFreeSpec(creation), 0);
  }

  std::string readLob(const IfxLobHandle& handle) {
    const int32_t lob = clientLobOpen(&handle, IFX_LO_RDONLY);
    if (lob < 0) return "<open failed>";
    IfxLobStat stat{};
    int64_t size = -1;
    EXPECT_EQ(clientLobStat(lob, &stat), 0);
    EXPECT_EQ(clientLobSize(&stat, &size), 0);
    std::string bytes(static_cast<size_t>(size), '\0');
    EXPECT_EQ(clientLobRead(lob, bytes.data(), static_cast<int32_t>(size)), static_cast<int32_t>(size));
    char more;
    EXPECT_EQ(clientLobRead(lob, &more, 1), 0);  // at the end
    EXPECT_EQ(clientLobClose(lob), 0);
    return bytes;
  }

  std::string path_;
};

class BlobSizeTest : public ObjectTest, public ::testing::WithParamInterface<size_t> {};

TEST_P(BlobSizeTest, EveryKindOfBlobComesBackWhole) {
  const std::string bytes = patterned(GetParam());
  IfxLobHandle blob;
  IfxLobHandle clob;
  makeLob(bytes, IFX_XID_BLOB, blob);
  makeLob(bytes, IFX_XID_CLOB, clob);
  IfxLocator byte{};
  byte.locationKind = IFX_LOC_MEMORY;
  byte.buffer = const_cast<char*>(bytes.data());
  byte.size = static_cast<int32_t>(bytes.size());
  IfxLocator text = byte;
  ASSERT_EQ(prepare("ins", "INSERT INTO docs VALUES (1, ?, ?, ?, ?)"), 0);
  DescriptorArea parameters(4);
  parameters.bind(0, IFX_TYPE_BYTE, byte, static_cast<int32_t>(bytes.size()));
  parameters.bind(1, IFX_TYPE_TEXT, text, static_cast<int32_t>(bytes.size()));
  parameters.bind(2, IFX_TYPE_OPAQUE, blob, 72);
  parameters.bind(3, IFX_TYPE_OPAQUE, clob, 72);
  clientExecute(statementNamed("ins"), parameters.get());
  ASSERT_EQ(clientStatusCode(), 0) << areaArgument();

  ASSERT_EQ(prepare("sel", "SELECT b, t, bl, cl FROM docs"), 0);
  DescriptorArea columns(4);
  IfxLocator outByte{};
  outByte.bufferSize = -1;
  IfxLocator outText{};
  outText.bufferSize = -1;
  IfxLobHandle outBlob{};
  IfxLobHandle outClob{};
  columns.bind(0, IFX_TYPE_BYTE, outByte, 56);
  columns.bind(1, IFX_TYPE_TEXT, outText, 56);
  columns.bind(2, IFX_TYPE_OPAQUE, outBlob, 72);
  columns.bind(3, IFX_TYPE_OPAQUE, outClob, 72);
  ASSERT_EQ(openCursor("sel", "cur"), 0);
  ASSERT_EQ(fetch("cur", columns.get()), 0);
  EXPECT_EQ(outByte.indicator, 0);
  EXPECT_EQ(std::string(outByte.buffer != nullptr ? outByte.buffer : "", static_cast<size_t>(outByte.size)), bytes);
  EXPECT_EQ(std::string(outText.buffer != nullptr ? outText.buffer : "", static_cast<size_t>(outText.size)), bytes);
  EXPECT_EQ(readLob(outBlob), bytes);
  EXPECT_EQ(readLob(outClob), bytes);
  std::free(outByte.buffer);
  std::free(outText.buffer);
}

INSTANTIATE_TEST_SUITE_P(Sizes, BlobSizeTest, ::testing::Values(size_t{0}, size_t{1}, kMebibyte));

TEST_F(ObjectTest, ACallersOwnLocatorBufferTakesWhatFitsAndSaysSo) {
  ASSERT_EQ(execute("INSERT INTO docs (id, b) VALUES (1, x'0102030405')"), 0);
  ASSERT_EQ(prepare("sel", "SELECT b FROM docs"), 0);
  char buffer[3];
  IfxLocator locator{};
  locator.buffer = buffer;
  locator.bufferSize = sizeof buffer;
  DescriptorArea columns(1);
  columns.bind(0, IFX_TYPE_BYTE, locator, 56);
  ASSERT_EQ(openCursor("sel", "cur"), 0);
  EXPECT_EQ(fetch("cur", columns.get()), -451);
  EXPECT_EQ(locator.size, 3);
  EXPECT_EQ(locator.status, -451);
  EXPECT_EQ(std::string(buffer, 3), std::string("\1\2\3"));
  EXPECT_EQ(locator.buffer, buffer);
}

TEST_F(ObjectTest, LargeObjectsRefuseBadDescriptorsAndModes) {
  IfxLobHandle handle;
  makeLob("abc", IFX_XID_BLOB, handle);
  const int32_t reading = clientLobOpen(&handle, IFX_LO_RDONLY);
  ASSERT_GE(reading, 0);
  EXPECT_EQ(clientLobWrite(reading, "x", 1), -9812);
  EXPECT_EQ(clientLobClose(reading), 0);
  EXPECT_EQ(clientLobClose(reading), -9810);  // closed already
  char buffer[4];
  EXPECT_EQ(clientLobRead(12345, buffer, 4), -9810);
  EXPECT_EQ(clientLobRead(-1, buffer, 4), -9810);
  IfxLobStat stat;
  EXPECT_EQ(clientLobStat(12345, &stat), -9810);
  EXPECT_EQ(clientLobSize(nullptr, nullptr), -9810);
  IfxLobHandle garbage;
  std::memset(&garbage, 0x5a, sizeof garbage);
  EXPECT_EQ(clientLobOpen(&garbage, IFX_LO_RDONLY), -9810);
  EXPECT_EQ(clientLobOpen(nullptr, IFX_LO_RDONLY), -9810);
  EXPECT_EQ(clientLobCreate(nullptr, IFX_LO_RDWR, &handle), -9810);
  const int32_t writing = clientLobOpen(&handle, IFX_LO_RDWR);
  EXPECT_EQ(clientLobWrite(writing, nullptr, 3), -9810);
  EXPECT_EQ(clientLobWrite(writing, "x", -1), -9810);
  EXPECT_EQ(clientLobClose(writing), 0);

  // A handle of another database is not found in this one.
  const std::string other = pathOf("other.sqlite");
  ASSERT_EQ(ifxrtCreateDatabase(other.c_str(), IFX_LOG_BUFFERED), 0);
  ASSERT_EQ(connect(other, "other"), 0);
  EXPECT_EQ(clientLobOpen(&handle, IFX_LO_RDONLY), -9811);
}

TEST_F(ObjectTest, ALargeObjectIsStoredWithItsTransaction) {
  clientBeginWork();
  ASSERT_EQ(clientStatusCode(), 0);
  IfxLobHandle handle;
  makeLob("kept only if committed", IFX_XID_CLOB, handle);
  clientRollbackWork();
  ASSERT_EQ(clientStatusCode(), 0);
  EXPECT_EQ(clientLobOpen(&handle, IFX_LO_RDONLY), -9811);
}

// Stored procedures.

class ProcedureTest : public ObjectTest {
 protected:
  void SetUp() override {
    ObjectTest::SetUp();
    ASSERT_EQ(ifxrtAddProcedure(path_.c_str(), "raise_prices", "p_percent DECIMAL(5,2), p_min DECIMAL(16,2)", "",
                                "UPDATE items SET price = price * (1 + :p_percent / 100.0) WHERE price >= :p_min"),
              0);
    ASSERT_EQ(ifxrtAddProcedure(path_.c_str(), "items_above", "p_min DECIMAL(16,2)", "INTEGER, VARCHAR(40)",
                                "SELECT id, name FROM items WHERE price > :p_min ORDER BY id"),
              0);
  }
};

TEST_F(ProcedureTest, AProcedureWithParametersChangesRows) {
  ASSERT_EQ(prepare("p", "EXECUTE PROCEDURE raise_prices ( ?, ? )"), 0);
  IfxDescriptor* columns = nullptr;
  EXPECT_EQ(describe("p", &columns), 56);
  ASSERT_NE(columns, nullptr);
  EXPECT_EQ(columns->count, 0);
  clientFreeDescriptor(columns);
  IfxDecimal percent;
  IfxDecimal minimum;
  ASSERT_EQ(clientTextToDecimal("10", -1, &percent), 0);
  ASSERT_EQ(clientTextToDecimal("40", -1, &minimum), 0);
  DescriptorArea parameters(2);
  parameters.bind(0, IFX_TYPE_DECIMAL, percent, 22);
  parameters.bind(1, IFX_TYPE_DECIMAL, minimum, 22);
  clientExecute(statementNamed("p"), parameters.get());
  ASSERT_EQ(clientStatusCode(), 0) << areaArgument();
  EXPECT_EQ(areaInt(92), 2);
  ASSERT_EQ(prepare("sum", "SELECT sum(price) FROM items"), 0);
  DescriptorArea total(1);
  double sum = 0;
  total.bind(0, IFX_TYPE_FLOAT, sum);
  ASSERT_EQ(openCursor("sum", "c"), 0);
  ASSERT_EQ(fetch("c", total.get()), 0);
  // 900.99 * 1.1 is stored in the DECIMAL(16,2) column rounded to 991.09.
  EXPECT_NEAR(sum, 2.5 + 44 + 991.09, 1e-9);
}

TEST_F(ProcedureTest, AFunctionReturnsRowsThroughACursor) {
  ASSERT_EQ(prepare("f", "EXECUTE PROCEDURE items_above (?)"), 0);
  IfxDescriptor* columns = nullptr;
  ASSERT_EQ(describe("f", &columns), 56);
  ASSERT_EQ(columns->count, 2);
  EXPECT_EQ(columns->entries[0].type, IFX_TYPE_INTEGER);
  EXPECT_EQ(columns->entries[1].type, IFX_TYPE_VARCHAR);
  EXPECT_EQ(columns->entries[1].length, 40);
  int32_t id = 0;
  char name[41];
  int16_t indicators[2];
  columns->entries[0].data = reinterpret_cast<char*>(&id);
  columns->entries[0].indicator = &indicators[0];
  columns->entries[1].data = name;
  columns->entries[1].length = 41;
  columns->entries[1].indicator = &indicators[1];
  IfxDecimal minimum;
  ASSERT_EQ(clientTextToDecimal("3", -1, &minimum), 0);
  DescriptorArea parameters(1);
  parameters.bind(0, IFX_TYPE_DECIMAL, minimum, 22);
  ASSERT_EQ(openCursor("f", "cur", parameters.get()), 0);
  ASSERT_EQ(fetch("cur", columns), 0);
  EXPECT_EQ(id, 2);
  EXPECT_STREQ(name, "book");
  ASSERT_EQ(fetch("cur", columns), 0);
  EXPECT_EQ(id, 3);
  EXPECT_EQ(fetch("cur", columns), 100);
  clientFreeDescriptor(columns);
}

TEST_F(ProcedureTest, LiteralArgumentsAndExecuteTextWork) {
  ASSERT_EQ(execute("EXECUTE PROCEDURE informix.raise_prices (100, 0)"), 0);
  EXPECT_EQ(areaInt(92), 3);
  ASSERT_EQ(prepare("f", "execute function items_above ( 1000 + 0.5 )"), 0);
  ASSERT_EQ(openCursor("f", "cur"), 0);
  DescriptorArea columns(1);
  int32_t id = 0;
  columns.bind(0, IFX_TYPE_INTEGER, id);
  ASSERT_EQ(fetch("cur", columns.get()), 0);
  EXPECT_EQ(id, 3);  // 1801.98
  EXPECT_EQ(fetch("cur", columns.get()), 100);
}

TEST_F(ProcedureTest, UnknownProceduresAndWrongArgumentCountsAreNotResolved) {
  EXPECT_EQ(prepare("p", "EXECUTE PROCEDURE nothing_here ()"), -674);
  EXPECT_EQ(areaArgument(), "nothing_here");
  EXPECT_EQ(prepare("p", "EXECUTE PROCEDURE raise_prices (?)"), -674);
  EXPECT_EQ(prepare("p", "EXECUTE PROCEDURE items_above"), -674);
  EXPECT_EQ(prepare("p", "EXECUTE PROCEDURE items_above (1"), -201);
  EXPECT_EQ(execute("EXECUTE PROCEDURE raise_prices (?, ?)"), -254);
  ASSERT_EQ(ifxrtAddProcedure(path_.c_str(), "broken", "", "NOSUCHTYPE", "SELECT 1"), 0);
  EXPECT_EQ(prepare("p", "EXECUTE PROCEDURE broken ()"), -29000);
}

// Counts the rows of a one-number query; -1 when it does not run.
int32_t countOf(const char* sql) {
  if (prepare("count", sql) != 0) return -1;
  DescriptorArea result(1);
  int32_t count = -1;
  result.bind(0, IFX_TYPE_INTEGER, count);
  if (openCursor("count", "count_cursor") != 0 || fetch("count_cursor", result.get()) != 0) return -1;
  clientCloseCursor(cursorNamed("count_cursor"));
  return count;
}

TEST_F(ObjectTest, CreatedRoutinesRunShowInTheCatalogueAndDrop) {
  // The database has no procedures table yet: the first CREATE makes it.
  ASSERT_EQ(execute("CREATE PROCEDURE halve_prices (p_min DECIMAL(16,2))\n"
                    "  UPDATE items SET price = price / 2 WHERE price >= :p_min;\n"
                    "END PROCEDURE;"),
            0)
      << areaArgument();
  ASSERT_EQ(prepare("c", "create dba function Cheap_Items (p_max decimal(16,2)) returning integer, varchar(40)\n"
                         "  select id, name from items where price < :p_max order by id;\n"
                         "end function"),
            0)
      << areaArgument();
  clientExecute(statementNamed("c"), nullptr);
  ASSERT_EQ(clientStatusCode(), 0) << areaArgument();

  ASSERT_EQ(execute("EXECUTE PROCEDURE halve_prices (40)"), 0) << areaArgument();
  EXPECT_EQ(areaInt(92), 2);
  ASSERT_EQ(prepare("f", "EXECUTE FUNCTION cheap_items (30)"), 0) << areaArgument();
  ASSERT_EQ(openCursor("f", "cur"), 0);
  DescriptorArea columns(2);
  int32_t id = 0;
  char name[41];
  columns.bind(0, IFX_TYPE_INTEGER, id);
  columns.bindBytes(1, IFX_TYPE_CHAR, name, sizeof name);
  ASSERT_EQ(fetch("cur", columns.get()), 0);
  EXPECT_EQ(id, 1);
  ASSERT_EQ(fetch("cur", columns.get()), 0);
  EXPECT_EQ(id, 2);  // 40 halved
  EXPECT_EQ(fetch("cur", columns.get()), 100);
  clientCloseCursor(cursorNamed("cur"));

  EXPECT_EQ(countOf("SELECT count(*) FROM informix.sysprocedures WHERE procname IN ('halve_prices', 'cheap_items')"),
            2);
  EXPECT_EQ(countOf("SELECT count(*) FROM informix.sysprocbody WHERE data LIKE 'CREATE FUNCTION cheap_items (%'"), 1);

  ASSERT_EQ(execute("DROP PROCEDURE halve_prices"), 0) << areaArgument();
  EXPECT_EQ(execute("EXECUTE PROCEDURE halve_prices (40)"), -674);
  EXPECT_EQ(execute("DROP FUNCTION halve_prices"), -674);
  EXPECT_EQ(countOf("SELECT count(*) FROM informix.sysprocedures WHERE procname = 'halve_prices'"), 0);
}

TEST_F(ProcedureTest, BadOrDuplicateRoutineTextsAreRefusedAndRegisterNothing) {
  struct Case {
    const char* sql;
    int32_t code;
  };
  const Case cases[] = {
      {"CREATE PROCEDURE Raise_Prices (p INT) UPDATE items SET price = 1; END PROCEDURE", -673},
      {"CREATE FUNCTION items_above () RETURNING INTEGER SELECT 1; END FUNCTION;", -673},
      {"CREATE PROCEDURE p1 (a INT) UPDATE items SET price = 1;", -201},              // no END PROCEDURE
      {"CREATE PROCEDURE p2 (a INT) UPDATE items SET price = 1; END FUNCTION", -201},  // wrong END
      {"CREATE PROCEDURE p3 (a INT UPDATE items SET price = 1; END PROCEDURE", -201},  // unclosed list
      {"CREATE PROCEDURE p4 UPDATE items SET price = 1; END PROCEDURE", -201},         // no parameter list
      {"CREATE FUNCTION f1 (a INT) SELECT 1; END FUNCTION", -201},                     // returns nothing
      {"CREATE FUNCTION f2 () RETURNING NOSUCHTYPE SELECT 1; END FUNCTION", -201},
      {"CREATE FUNCTION f3 () RETURNING INTEGER; END FUNCTION", -201},  // no body
      {"CREATE PROCEDURE p5 () UPDATE items SET price = 1; DELETE FROM items; END PROCEDURE", -201},
      {"CREATE PROCEDURE p6 () LET x = 1; END PROCEDURE", -201},
      {"CREATE PROCEDURE p7 () UPDATE nosuch SET a = 1; END PROCEDURE", -206},
      {"DROP PROCEDURE nothing_here", -674},
      {"DROP PROCEDURE", -201},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(execute(c.sql), c.code) << c.sql;
    EXPECT_EQ(prepare("bad", c.sql), c.code) << c.sql;
  }
  EXPECT_EQ(countOf("SELECT count(*) FROM ifxrt_procedures"), 2);
  // The registered procedure is the one from before, unchanged.
  ASSERT_EQ(execute("EXECUTE PROCEDURE raise_prices (100, 0)"), 0);
  EXPECT_EQ(areaInt(92), 3);
}

}  // namespace
