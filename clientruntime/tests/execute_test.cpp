// Running SQL texts: error codes for SQLite failures, rows processed, fixed
// statements and the statement log.
#include <cstring>

#include "test_databases.h"

namespace {

class ExecuteTest : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    path_ = createDatabase("db.sqlite", IFX_LOG_BUFFERED);
    ASSERT_EQ(connect(path_, "main"), 0);
  }
  std::string path_;
};

struct ErrorCase {
  const char* setup;  // run first, must succeed; null for none
  const char* sql;
  int32_t code;
  int32_t secondDetail;
  const char* argument;
};

class ExecuteErrorTest : public ExecuteTest, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(ExecuteErrorTest, SqliteFailuresBecomeInformixCodes) {
  const ErrorCase& c = GetParam();
  if (c.setup != nullptr) {
    ASSERT_EQ(execute(c.setup), 0) << c.setup;
  }
  EXPECT_EQ(execute(c.sql), c.code) << c.sql;
  EXPECT_EQ(areaInt(88), c.secondDetail);
  EXPECT_EQ(areaArgument(), c.argument);
  EXPECT_EQ(areaInt(92), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExecuteErrorTest,
    ::testing::Values(
        ErrorCase{nullptr, "SELEC 1", -201, 0, ""}, ErrorCase{nullptr, "SELECT 'open", -201, 0, ""},
        ErrorCase{nullptr, "SELECT * FROM orders", -206, 0, "orders"},
        ErrorCase{nullptr, "SELECT price FROM items", -217, 0, "price"},
        ErrorCase{nullptr, "CREATE TABLE items (a INT)", -310, 0, "items"},
        ErrorCase{"CREATE INDEX by_name ON items (name)", "CREATE INDEX by_name ON items (id)", -316, 0, "by_name"},
        ErrorCase{"INSERT INTO items (name) VALUES ('a')", "INSERT INTO items (name) VALUES ('a')", -268, -100,
                  "items.name"},
        ErrorCase{"INSERT INTO items (id, name) VALUES (7, 'a')", "INSERT INTO items (id, name) VALUES (7, 'b')", -268,
                  -100, "items.id"},
        ErrorCase{nullptr, "INSERT INTO items (name) VALUES (NULL)", -391, 0, "items.name"},
        ErrorCase{"CREATE TABLE positive (a INT CONSTRAINT a_positive CHECK (a > 0))",
                  "INSERT INTO positive VALUES (0)", -530, 0, "a_positive"},
        ErrorCase{"CREATE TABLE child (item INT REFERENCES items (id))", "INSERT INTO child VALUES (99)", -691, 0, ""},
        ErrorCase{nullptr, "SELECT abs(-9223372036854775808)", -29000, 1, "(integer overflow) "},
        ErrorCase{nullptr, "SELECT 1; SELECT 2", -201, 0, ""}, ErrorCase{nullptr, "", -201, 0, ""},
        ErrorCase{nullptr, "  -- only a comment", -201, 0, ""},
        ErrorCase{nullptr, "SET ISOLATION TO NOWHERE", -201, 0, ""},
        ErrorCase{nullptr, "SET ISOLATION TO DIRTY READ NOW", -201, 0, ""},
        ErrorCase{nullptr, "SET LOCK MODE TO WAIT FOREVER", -201, 0, ""}));

TEST_F(ExecuteTest, RowsProcessedCountsChangedOrSelectedRows) {
  struct {
    const char* sql;
    int32_t rows;
  } const steps[] = {
      {"INSERT INTO items (name) VALUES ('a')", 1},
      {"INSERT INTO items (name) SELECT name || '2' FROM items", 1},
      {"INSERT INTO items (name) SELECT name || '3' FROM items", 2},
      {"UPDATE items SET name = name || '!' WHERE name LIKE 'a%2%'", 2},
      {"  update items SET name = 'x' WHERE id = 12345", 0},
      {"SELECT * FROM items", 4},  // a SELECT reports the rows it processed
      {"CREATE TABLE other (a INT)", 0},
      {"DELETE FROM items WHERE name <> 'a'", 3},
      {"INSERT INTO items (name) VALUES ('b')", 1},
      {"DELETE FROM items", 2},
  };
  for (const auto& step : steps) {
    ASSERT_EQ(execute(step.sql), 0) << step.sql;
    EXPECT_EQ(areaInt(92), step.rows) << step.sql;
  }
  EXPECT_EQ(committedRows(path_, "items"), 0);
}

TEST_F(ExecuteTest, OneStatementWithTrailingSemicolonOrCommentRuns) {
  EXPECT_EQ(execute("INSERT INTO items (name) VALUES ('a');  -- done"), 0);
  EXPECT_EQ(areaInt(92), 1);
  EXPECT_EQ(execute("INSERT INTO items (name) VALUES ('b'); INSERT INTO items (name) VALUES ('c')"), -201);
  EXPECT_EQ(committedRows(path_, "items"), 1) << "a text of two statements runs neither";
}

TEST_F(ExecuteTest, SessionSettingsAreAcceptedWithoutRunning) {
  for (const char* sql : {"SET ISOLATION TO DIRTY READ", " SET ISOLATION TO COMMITTED READ",
                          "set isolation to cursor stability;", "SET ISOLATION TO REPEATABLE READ",
                          "SET LOCK MODE TO WAIT", "SET LOCK MODE TO WAIT 30", "SET LOCK MODE TO NOT WAIT"}) {
    EXPECT_EQ(execute(sql), 0) << sql;
  }
}

TEST_F(ExecuteTest, NullTextIsASyntaxError) {
  EXPECT_EQ(execute(nullptr), -201);
  char id[8] = {};
  clientExecuteFixed(id, nullptr);
  EXPECT_EQ(clientStatusCode(), -201);
}

TEST_F(ExecuteTest, FixedStatementNeedsAClearedId) {
  unsigned char id[8];
  std::memset(id, 0xAB, sizeof id);
  clientExecuteFixed(id, " SET ISOLATION TO DIRTY READ");
  EXPECT_EQ(clientStatusCode(), -29000);
  EXPECT_EQ(areaArgument(), "(statement id not cleared) ");
  clientExecuteFixed(nullptr, " SET ISOLATION TO DIRTY READ");
  EXPECT_EQ(clientStatusCode(), -29000);
  EXPECT_EQ(ifxrtStatementCount(), 0u) << "a refused statement is not run";

  unsigned char guard[12];
  std::memset(guard, 0xAB, sizeof guard);
  clientClearBuffer(guard, 8);
  EXPECT_EQ(guard[7], 0);
  EXPECT_EQ(guard[8], 0xAB) << "only the given length is cleared";
  clientExecuteFixed(guard, " SET ISOLATION TO DIRTY READ");
  EXPECT_EQ(clientStatusCode(), 0);
  clientExecuteFixed(guard, "INSERT INTO items (name) VALUES ('fixed')");
  EXPECT_EQ(clientStatusCode(), 0);
  EXPECT_EQ(committedRows(path_, "items"), 1);
}

TEST_F(ExecuteTest, StatementLogRecordsWhatRanAndUnderWhichConnection) {
  const std::string other = createDatabase("other.sqlite", IFX_LOG_BUFFERED);
  char id[8];
  clientClearBuffer(id, sizeof id);
  clientExecuteFixed(id, " SET ISOLATION TO DIRTY READ");
  clientBeginWork();
  clientExecuteText("SELECT * FROM nowhere");
  ASSERT_EQ(connect(other, "second"), 0);
  clientCommitWork();
  clientSetConnection("main");
  clientRollbackWork();
  clientDisconnect("main");
  clientExecuteText("SELECT 1");

  const struct {
    const char* text;
    const char* connection;
  } expected[] = {{" SET ISOLATION TO DIRTY READ", "main"}, {"BEGIN WORK", "main"},
                  {"SELECT * FROM nowhere", "main"},        {"COMMIT WORK", "second"},
                  {"ROLLBACK WORK", "main"},                {"SELECT 1", ""}};
  ASSERT_EQ(ifxrtStatementCount(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_STREQ(ifxrtStatementText(i), expected[i].text) << i;
    EXPECT_STREQ(ifxrtStatementConnection(i), expected[i].connection) << i;
  }
  EXPECT_EQ(ifxrtStatementText(std::size(expected)), nullptr);
  EXPECT_EQ(ifxrtStatementConnection(std::size(expected)), nullptr);
  ifxrtClearStatements();
  EXPECT_EQ(ifxrtStatementCount(), 0u);
}

TEST_F(ExecuteTest, EarlierLogEntriesStayValidAsTheLogGrows) {
  clientExecuteText("SELECT 1");
  const char* first = ifxrtStatementText(0);
  for (int i = 0; i < 200; ++i) clientExecuteText("SELECT 2");
  EXPECT_STREQ(first, "SELECT 1");
}

}  // namespace

namespace {

// A host that connects and disconnects for hours logs an isolation statement
// each time; the log keeps only the latest entries, in order.
TEST_F(ExecuteTest, StatementLogKeepsOnlyTheLatestEntries) {
  constexpr int kRuns = 10000;
  for (int i = 0; i < kRuns; ++i) clientExecuteText(("SELECT " + std::to_string(i)).c_str());
  ASSERT_LE(ifxrtStatementCount(), 4096u);
  ASSERT_GT(ifxrtStatementCount(), 0u);
  const size_t last = ifxrtStatementCount() - 1;
  EXPECT_EQ(std::string(ifxrtStatementText(last)), "SELECT " + std::to_string(kRuns - 1));
  EXPECT_EQ(std::string(ifxrtStatementText(last - 1)), "SELECT " + std::to_string(kRuns - 2));
  EXPECT_EQ(ifxrtStatementText(last + 1), nullptr);
}

}  // namespace
