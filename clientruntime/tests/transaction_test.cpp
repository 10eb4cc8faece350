// Transactions keep or discard data as Informix does for each logging kind.
#include <chrono>

#include "test_databases.h"

namespace {

class TransactionTest : public RuntimeTest {
 protected:
  // Connects to a fresh database of the given kind.
  void open(IfxLogging logging) {
    path_ = createDatabase("db.sqlite", logging);
    ASSERT_EQ(connect(path_), 0);
  }
  int32_t insert(const char* name) {
    return execute((std::string("INSERT INTO items (name) VALUES ('") + name + "')").c_str());
  }
  int64_t committed() { return committedRows(path_, "items"); }
  static int32_t begin() { return clientBeginWork(), clientStatusCode(); }
  static int32_t commit() { return clientCommitWork(), clientStatusCode(); }
  static int32_t rollback() { return clientRollbackWork(), clientStatusCode(); }

  std::string path_;
};

TEST_F(TransactionTest, LoggedDatabaseKeepsCommittedAndDiscardsRolledBackWork) {
  open(IFX_LOG_BUFFERED);
  ASSERT_EQ(begin(), 0);
  ASSERT_EQ(insert("kept"), 0);
  EXPECT_EQ(committed(), 0) << "not visible before commit";
  ASSERT_EQ(commit(), 0);
  EXPECT_EQ(committed(), 1);

  ASSERT_EQ(begin(), 0);
  ASSERT_EQ(insert("discarded"), 0);
  ASSERT_EQ(rollback(), 0);
  EXPECT_EQ(committed(), 1);

  ASSERT_EQ(insert("outside a transaction"), 0);
  EXPECT_EQ(committed(), 2) << "each statement commits by itself outside a transaction";
}

TEST_F(TransactionTest, LoggedDatabaseRefusesUnbalancedStatements) {
  open(IFX_LOG_BUFFERED);
  EXPECT_EQ(commit(), -255);
  EXPECT_EQ(rollback(), -255);
  ASSERT_EQ(begin(), 0);
  EXPECT_EQ(begin(), -535);
  ASSERT_EQ(insert("x"), 0);
  ASSERT_EQ(commit(), 0) << "the refused begin kept the transaction";
  EXPECT_EQ(committed(), 1);
  EXPECT_EQ(commit(), -255);
}

TEST_F(TransactionTest, DatabaseWithoutLogHasNoTransactions) {
  open(IFX_LOG_NONE);
  EXPECT_EQ(begin(), -256);
  EXPECT_EQ(commit(), -256);
  EXPECT_EQ(rollback(), -256);
  ASSERT_EQ(insert("x"), 0);
  EXPECT_EQ(rollback(), -256);
  EXPECT_EQ(committed(), 1);
}

TEST_F(TransactionTest, AnsiDatabaseIsAlwaysInATransaction) {
  open(IFX_LOG_ANSI);
  EXPECT_EQ(commit(), 0);
  EXPECT_EQ(rollback(), 0);
  ASSERT_EQ(insert("discarded"), 0);
  EXPECT_EQ(committed(), 0) << "the implicit transaction holds the row";
  ASSERT_EQ(rollback(), 0);
  EXPECT_EQ(committed(), 0);

  ASSERT_EQ(insert("kept"), 0);
  ASSERT_EQ(begin(), 0) << "begin keeps the open transaction";
  ASSERT_EQ(commit(), 0);
  EXPECT_EQ(committed(), 1);

  ASSERT_EQ(insert("lost at disconnect"), 0);
  clientDisconnect("c1");
  ASSERT_EQ(clientStatusCode(), 0);
  EXPECT_EQ(committed(), 1) << "a transaction open at disconnect is rolled back";
}

TEST_F(TransactionTest, TransactionStatementsAsTextFollowTheSameRules) {
  open(IFX_LOG_BUFFERED);
  EXPECT_EQ(execute("COMMIT WORK"), -255);
  ASSERT_EQ(execute("begin work;"), 0);
  EXPECT_EQ(execute("BEGIN"), -535);
  ASSERT_EQ(insert("discarded"), 0);
  ASSERT_EQ(execute("ROLLBACK WORK"), 0);
  EXPECT_EQ(committed(), 0);
}

TEST_F(TransactionTest, OpenTransactionIsRolledBackAtDisconnect) {
  open(IFX_LOG_BUFFERED);
  ASSERT_EQ(begin(), 0);
  ASSERT_EQ(insert("lost"), 0);
  clientDisconnect("c1");
  ASSERT_EQ(clientStatusCode(), 0);
  EXPECT_EQ(committed(), 0);
}

TEST_F(TransactionTest, EachConnectionHasItsOwnTransaction) {
  const std::string first = createDatabase("first.sqlite", IFX_LOG_BUFFERED);
  const std::string second = createDatabase("second.sqlite", IFX_LOG_BUFFERED);
  ASSERT_EQ(connect(first, "one"), 0);
  ASSERT_EQ(begin(), 0);
  ASSERT_EQ(connect(second, "two"), 0);
  EXPECT_EQ(commit(), -255) << "the second connection has no transaction";
  clientSetConnection("one");
  EXPECT_EQ(begin(), -535);
  EXPECT_EQ(commit(), 0);
}

TEST_F(TransactionTest, NoCurrentConnection) {
  EXPECT_EQ(begin(), -1803);
  EXPECT_EQ(commit(), -1803);
  EXPECT_EQ(rollback(), -1803);
}

// Two connections to one database: the second meets the first one's lock at
// once unless it asked to wait.
TEST_F(TransactionTest, LockOfAnotherConnectionFailsAtOnceUnlessWaiting) {
  path_ = createDatabase("db.sqlite", IFX_LOG_BUFFERED);
  ASSERT_EQ(connect(path_, "writer"), 0);
  ASSERT_EQ(begin(), 0);
  ASSERT_EQ(insert("held"), 0);
  ASSERT_EQ(connect(path_, "reader"), 0);
  ASSERT_EQ(begin(), 0);
  EXPECT_EQ(insert("blocked"), -244);
  EXPECT_EQ(areaInt(88), -107);
  ASSERT_EQ(execute("SET LOCK MODE TO WAIT 1"), 0);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(insert("blocked"), -244);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
  ASSERT_EQ(rollback(), 0);
  clientSetConnection("writer");
  ASSERT_EQ(commit(), 0);
  clientSetConnection("reader");
  EXPECT_EQ(insert("after the lock"), 0);
  EXPECT_EQ(committed(), 2);
}

}  // namespace
