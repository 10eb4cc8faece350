// Every runtime call on the connection paths failing in turn: the operation's
// result code, whether the connection is still connected afterwards, and the
// error text of the failure. Run under the sanitizers, these also show that
// no failure path crashes or leaks.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>

#include "host_fixture.h"

using namespace quovex;

namespace {

enum class Operation { Connect, Begin, Commit, Rollback, Disconnect, SetIsolation };

struct FaultCase {
  const char* name;
  IfxLogging logging;
  Operation operation;
  IfxRole role;
  int nth;
  std::int32_t code;      // status code of the failing call
  ResultCode result;      // the operation's answer
  bool connectedAfter;    // the connection still holds its client record
};

constexpr std::int32_t kSyntax = -201;
constexpr std::int32_t kNotInTransaction = -255;

const FaultCase kFaults[] = {
    {"ConnectMakeLogin", IFX_LOG_BUFFERED, Operation::Connect, IFX_ROLE_MAKE_LOGIN, 1, kSyntax, RESULT_INVALID_LOGIN, false},
    {"ConnectConnect", IFX_LOG_BUFFERED, Operation::Connect, IFX_ROLE_CONNECT, 1, kSyntax, RESULT_INVALID_LOGIN, false},
    {"ConnectStatusArea", IFX_LOG_BUFFERED, Operation::Connect, IFX_ROLE_STATUS_AREA, 1, kSyntax, RESULT_INVALID_LOGIN, false},
    {"ConnectFreeLogin", IFX_LOG_BUFFERED, Operation::Connect, IFX_ROLE_FREE_LOGIN, 1, kSyntax, RESULT_OK, true},
    {"ConnectIsolationSetConnection", IFX_LOG_BUFFERED, Operation::Connect, IFX_ROLE_SET_CONNECTION, 1, kSyntax, RESULT_CLIENT_ERROR, false},
    {"ConnectIsolationStatement", IFX_LOG_BUFFERED, Operation::Connect, IFX_ROLE_EXECUTE_FIXED, 1, kSyntax, RESULT_CLIENT_ERROR, false},
    {"ConnectIsolationStatusCode", IFX_LOG_BUFFERED, Operation::Connect, IFX_ROLE_STATUS_CODE, 3, kSyntax, RESULT_CLIENT_ERROR, false},
    {"ConnectClearBuffer", IFX_LOG_BUFFERED, Operation::Connect, IFX_ROLE_CLEAR_BUFFER, 1, kSyntax, RESULT_OK, true},
    {"ConnectAnsiSetConnection", IFX_LOG_ANSI, Operation::Connect, IFX_ROLE_SET_CONNECTION, 1, kSyntax, RESULT_CLIENT_ERROR, false},
    {"ConnectAnsiStatement", IFX_LOG_ANSI, Operation::Connect, IFX_ROLE_EXECUTE_FIXED, 1, kSyntax, RESULT_CLIENT_ERROR, false},
    {"ConnectAnsiSecondIsolation", IFX_LOG_ANSI, Operation::Connect, IFX_ROLE_EXECUTE_FIXED, 2, kSyntax, RESULT_CLIENT_ERROR, false},
    {"BeginIsolationSetConnection", IFX_LOG_BUFFERED, Operation::Begin, IFX_ROLE_SET_CONNECTION, 1, kSyntax, RESULT_CLIENT_ERROR, true},
    {"BeginIsolationStatement", IFX_LOG_BUFFERED, Operation::Begin, IFX_ROLE_EXECUTE_FIXED, 1, kSyntax, RESULT_CLIENT_ERROR, true},
    {"BeginSetConnect", IFX_LOG_BUFFERED, Operation::Begin, IFX_ROLE_SET_CONNECTION, 2, kSyntax, RESULT_CLIENT_ERROR, true},
    {"BeginCommitSetConnect", IFX_LOG_BUFFERED, Operation::Begin, IFX_ROLE_SET_CONNECTION, 3, kSyntax, RESULT_CLIENT_ERROR, true},
    {"BeginCommitFails", IFX_LOG_BUFFERED, Operation::Begin, IFX_ROLE_COMMIT_WORK, 1, kSyntax, RESULT_CLIENT_ERROR, true},
    {"BeginCommitNotInTransaction", IFX_LOG_BUFFERED, Operation::Begin, IFX_ROLE_COMMIT_WORK, 1, kNotInTransaction, RESULT_OK, true},
    {"BeginWork", IFX_LOG_BUFFERED, Operation::Begin, IFX_ROLE_BEGIN_WORK, 1, kSyntax, RESULT_CLIENT_ERROR, true},
    {"CommitSetConnect", IFX_LOG_BUFFERED, Operation::Commit, IFX_ROLE_SET_CONNECTION, 2, kSyntax, RESULT_CLIENT_ERROR, true},
    {"CommitIsolationStatement", IFX_LOG_BUFFERED, Operation::Commit, IFX_ROLE_EXECUTE_FIXED, 1, kSyntax, RESULT_CLIENT_ERROR, true},
    {"CommitWork", IFX_LOG_BUFFERED, Operation::Commit, IFX_ROLE_COMMIT_WORK, 1, kSyntax, RESULT_CLIENT_ERROR, true},
    {"RollbackIsolationSetConnection", IFX_LOG_BUFFERED, Operation::Rollback, IFX_ROLE_SET_CONNECTION, 1, kSyntax, RESULT_CLIENT_ERROR, true},
    {"RollbackWork", IFX_LOG_BUFFERED, Operation::Rollback, IFX_ROLE_ROLLBACK_WORK, 1, kSyntax, RESULT_CLIENT_ERROR, true},
    {"DisconnectSetConnect", IFX_LOG_BUFFERED, Operation::Disconnect, IFX_ROLE_SET_CONNECTION, 1, kSyntax, RESULT_CLIENT_ERROR, true},
    {"DisconnectCommitSetConnect", IFX_LOG_BUFFERED, Operation::Disconnect, IFX_ROLE_SET_CONNECTION, 2, kSyntax, RESULT_OK, false},
    {"DisconnectCommit", IFX_LOG_BUFFERED, Operation::Disconnect, IFX_ROLE_COMMIT_WORK, 1, kSyntax, RESULT_OK, false},
    {"DisconnectClose", IFX_LOG_BUFFERED, Operation::Disconnect, IFX_ROLE_DISCONNECT, 1, kSyntax, RESULT_CLIENT_ERROR, true},
    {"IsolationSetConnection", IFX_LOG_BUFFERED, Operation::SetIsolation, IFX_ROLE_SET_CONNECTION, 1, kSyntax, RESULT_CLIENT_ERROR, true},
    {"IsolationStatement", IFX_LOG_BUFFERED, Operation::SetIsolation, IFX_ROLE_EXECUTE_FIXED, 1, kSyntax, RESULT_CLIENT_ERROR, true},
};

void PrintTo(const FaultCase& fault, std::ostream* out) { *out << fault.name; }

class ConnectionFaults : public HostTest, public ::testing::WithParamInterface<FaultCase> {
 protected:
  ResultCode run(const host::Connection& c, Operation operation, const std::string& path) {
    TransactionDesc desc{1, 0, ISOLATION_DIRTY_READ, 0};
    switch (operation) {
      case Operation::Connect: return c.connect(path.c_str());
      case Operation::Begin: return c.begin(&desc);
      case Operation::Commit: return c.commit(&desc);
      case Operation::Rollback: return c.rollback(&desc);
      case Operation::Disconnect: return c.disconnect();
      case Operation::SetIsolation: return c.setOption(6, ISOLATION_REPEATABLE_READ);
    }
    return RESULT_OK;
  }

  static bool connected(const host::Connection& c) {
    std::int32_t logged = 0;
    std::int16_t length = 0;
    return c.getOption(21, &logged, sizeof logged, &length) == RESULT_OK;
  }

  static bool logged(const char* text) {
    const std::vector<LoggedStatement> statements = loggedStatements();
    return std::any_of(statements.begin(), statements.end(),
                       [text](const LoggedStatement& statement) { return statement.text == text; });
  }
};

TEST_P(ConnectionFaults, GivesItsCodeAndStaysUsable) {
  const FaultCase& fault = GetParam();
  const std::string path = createDatabase("faults.db", fault.logging);
  host::Connection c = connection();
  ASSERT_EQ(c.setOption(19, reinterpret_cast<std::intptr_t>("F")), RESULT_OK);
  if (fault.operation != Operation::Connect) {
    ASSERT_EQ(c.connect(path.c_str()), RESULT_OK);
    if (fault.operation == Operation::Commit || fault.operation == Operation::Rollback) {
      TransactionDesc desc{1, 0, ISOLATION_COMMITTED_READ, 0};
      ASSERT_EQ(c.begin(&desc), RESULT_OK);
    }
  }
  ifxrtClearStatements();
  ifxrtFailCall(fault.role, fault.nth, fault.code, 0);

  EXPECT_EQ(run(c, fault.operation, path), fault.result);
  ifxrtClearFaults();
  EXPECT_EQ(connected(c), fault.connectedAfter);
  if (fault.result != RESULT_OK) {
    EXPECT_EQ(c.errorText(), "A syntax error has occurred.");
  }
  if (fault.operation == Operation::Begin) {
    EXPECT_EQ(logged("BEGIN WORK"), fault.result == RESULT_OK) << "begin runs only after the commit before it";
  }

  // Usable afterwards: a connection that kept its record disconnects, and
  // one that lost it (every failed connect) connects again under the same
  // name, so the runtime connection of the failed connect was closed.
  if (connected(c)) {
    EXPECT_EQ(c.disconnect(), RESULT_OK);
  } else {
    EXPECT_EQ(c.connect(path.c_str()), RESULT_OK) << "the name is free again";
    EXPECT_EQ(c.disconnect(), RESULT_OK);
  }
}

INSTANTIATE_TEST_SUITE_P(EachCall, ConnectionFaults, ::testing::ValuesIn(kFaults),
                         [](const ::testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

// The error text survives failing reads of the message template and of the
// status area.
TEST_F(HostTest, ErrorTextWhenItsOwnCallsFail) {
  const std::string path = createDatabase("text.db", IFX_LOG_BUFFERED);
  host::Connection c = connectedAs(path, "T");
  ifxrtFailCall(IFX_ROLE_MESSAGE_TEXT, 1, kSyntax, 0);
  std::int16_t length = 0;
  EXPECT_EQ(c.errorMessageLength(&length), RESULT_OK);
  EXPECT_EQ(length, 1);
  ifxrtFailCall(IFX_ROLE_STATUS_AREA, 1, kSyntax, 0);
  EXPECT_EQ(c.errorMessageLength(&length), RESULT_OK);
  EXPECT_GE(length, 1);
}

}  // namespace
