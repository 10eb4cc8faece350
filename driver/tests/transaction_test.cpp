// Transactions through slots 9 to 11: data really kept or discarded, the
// isolation statement of the descriptor, and the answers without a log.
#include <gtest/gtest.h>

#include <string>

#include "host_fixture.h"

using namespace quovex;

namespace {

using Transactions = HostTest;

TransactionDesc descriptor(std::int32_t level) { return TransactionDesc{42, 0, level, 0}; }

TEST_F(Transactions, CommitKeepsAndRollbackDiscardsData) {
  for (IfxLogging logging : {IFX_LOG_BUFFERED, IFX_LOG_ANSI}) {
    SCOPED_TRACE(logging);
    const std::string path = createDatabase("data" + std::to_string(logging) + ".db", logging);
    const std::string name = "TX" + std::to_string(logging);
    host::Connection c = connectedAs(path, name.c_str());
    TransactionDesc desc = descriptor(ISOLATION_COMMITTED_READ);

    ASSERT_EQ(c.begin(&desc), RESULT_OK) << c.errorText();
    ASSERT_EQ(runOn(name.c_str(), "INSERT INTO items VALUES (1, 'kept')"), 0);
    EXPECT_EQ(committedRows(path, "items"), 0) << "not visible before the commit";
    ASSERT_EQ(c.commit(&desc), RESULT_OK) << c.errorText();
    EXPECT_EQ(committedRows(path, "items"), 1);

    ASSERT_EQ(c.begin(&desc), RESULT_OK) << c.errorText();
    ASSERT_EQ(runOn(name.c_str(), "INSERT INTO items VALUES (2, 'discarded')"), 0);
    ASSERT_EQ(c.rollback(&desc), RESULT_OK) << c.errorText();
    EXPECT_EQ(committedRows(path, "items"), 1);
    ASSERT_EQ(c.disconnect(), RESULT_OK);
  }
}

// Begin commits first: work still open when a new transaction begins is kept.
TEST_F(Transactions, BeginCommitsOpenWork) {
  const std::string path = createDatabase("twice.db", IFX_LOG_BUFFERED);
  host::Connection c = connectedAs(path, "TWICE");
  TransactionDesc desc = descriptor(ISOLATION_COMMITTED_READ);
  ASSERT_EQ(c.begin(&desc), RESULT_OK);
  ASSERT_EQ(runOn("TWICE", "INSERT INTO items VALUES (1, 'first')"), 0);
  ASSERT_EQ(c.begin(&desc), RESULT_OK);
  ASSERT_EQ(c.rollback(&desc), RESULT_OK);
  EXPECT_EQ(committedRows(path, "items"), 1);
}

TEST_F(Transactions, DisconnectCommitsOpenWork) {
  const std::string path = createDatabase("close.db", IFX_LOG_BUFFERED);
  host::Connection c = connectedAs(path, "CLOSE");
  TransactionDesc desc = descriptor(ISOLATION_COMMITTED_READ);
  ASSERT_EQ(c.begin(&desc), RESULT_OK);
  ASSERT_EQ(runOn("CLOSE", "INSERT INTO items VALUES (1, 'open')"), 0);
  ASSERT_EQ(c.disconnect(), RESULT_OK);
  EXPECT_EQ(committedRows(path, "items"), 1);
}

struct LevelCase {
  std::int32_t level;      // the descriptor's third field
  const char* statement;   // sent before the transaction statement, or null
};

// The level is the field's low 8 bits, sign-extended.
constexpr LevelCase kLevels[] = {
    {0, " SET ISOLATION TO COMMITTED READ"}, {1, " SET ISOLATION TO REPEATABLE READ"},
    {2, " SET ISOLATION TO DIRTY READ"},     {0x102, " SET ISOLATION TO DIRTY READ"},
    {7, nullptr},                            {0xFF, nullptr},
    {-1, nullptr},
};

TEST_F(Transactions, DescriptorLevelIsSentFirst) {
  const std::string path = createDatabase("levels.db", IFX_LOG_BUFFERED);
  host::Connection c = connectedAs(path, "LEVELS");
  for (const LevelCase& level : kLevels) {
    SCOPED_TRACE(level.level);
    TransactionDesc desc = descriptor(level.level);
    ifxrtClearStatements();
    ASSERT_EQ(c.begin(&desc), RESULT_OK);
    ASSERT_EQ(c.commit(&desc), RESULT_OK);
    std::vector<LoggedStatement> expected;
    if (level.statement) expected.push_back({level.statement, "LEVELS"});
    expected.push_back({"COMMIT WORK", "LEVELS"});
    expected.push_back({"BEGIN WORK", "LEVELS"});
    if (level.statement) expected.push_back({level.statement, "LEVELS"});
    expected.push_back({"COMMIT WORK", "LEVELS"});
    EXPECT_EQ(loggedStatements(), expected);
  }
}

TEST_F(Transactions, FailuresReportTheRuntimeText) {
  const std::string logged = createDatabase("logged.db", IFX_LOG_BUFFERED);
  const std::string plain = createDatabase("plain.db", IFX_LOG_NONE);
  host::Connection a = connectedAs(logged, "LOGGED");
  host::Connection b = connectedAs(plain, "PLAIN");
  TransactionDesc desc = descriptor(ISOLATION_COMMITTED_READ);

  EXPECT_EQ(a.commit(&desc), RESULT_CLIENT_ERROR);
  EXPECT_EQ(a.errorText(), "Not in transaction.");
  EXPECT_EQ(a.rollback(&desc), RESULT_CLIENT_ERROR);
  EXPECT_EQ(b.begin(&desc), RESULT_CLIENT_ERROR);
  EXPECT_EQ(b.errorText(), "Transaction not available.");
  EXPECT_EQ(b.commit(&desc), RESULT_CLIENT_ERROR);
}

TEST_F(Transactions, WithoutRecordOrDescriptor) {
  host::Connection c = connection();
  TransactionDesc desc = descriptor(0);
  EXPECT_EQ(c.begin(&desc), RESULT_INVALID_HANDLE);
  EXPECT_EQ(c.commit(&desc), RESULT_INVALID_HANDLE);
  EXPECT_EQ(c.rollback(&desc), RESULT_INVALID_HANDLE);
  std::int16_t length = 0;
  EXPECT_EQ(c.errorMessageLength(&length), RESULT_INVALID_HANDLE) << "nothing has failed yet";

  const std::string path = createDatabase("nulls.db", IFX_LOG_BUFFERED);
  ASSERT_EQ(c.connect(path.c_str()), RESULT_OK);
  EXPECT_EQ(c.begin(nullptr), RESULT_INVALID_PARAMETER);
  EXPECT_EQ(c.commit(nullptr), RESULT_INVALID_PARAMETER);
}

}  // namespace
