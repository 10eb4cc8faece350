// Connection lifetime, connect and disconnect against stand-in databases,
// generated names, tracing, and the objects a connection creates.
#include <gtest/gtest.h>

#include <string>

#include "host_fixture.h"
#include "ifxrt/client.h"

using namespace quovex;

namespace {

using Connections = HostTest;

const std::vector<std::string> kOpenLogged = {"ESQL/C Open Database", "ESQL/C SetIsolationLevel"};
const std::vector<std::string> kDisconnect = {"ESQL/C SetConnect", "ESQL/C SetConnect", "ESQL/C Commit Work",
                                              "ESQL/C Close Database"};

std::string lastConnectionName() {
  const std::vector<LoggedStatement> statements = loggedStatements();
  return statements.empty() ? std::string() : statements.back().connection;
}

TEST_F(Connections, ReferenceCountAndQuery) {
  host::Connection c;
  ASSERT_EQ(driver_.createConnection(&c.self), RESULT_OK);
  int first = 1;
  int second = 2;
  EXPECT_EQ(c.query(&first, &second), RESULT_OK);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 2);
  EXPECT_EQ(c.addRef(), 2);
  EXPECT_EQ(c.release(), 1);
  EXPECT_EQ(c.release(), 0);
}

struct ConnectCase {
  const char* name;
  IfxLogging logging;
  std::int32_t logged;                      // option 21
  std::vector<std::string> statements;      // sent by connect
  std::vector<std::string> traces;          // traced by connect
};

TEST_F(Connections, ConnectAndDisconnectByLoggingKind) {
  const ConnectCase kCases[] = {
      {"logged", IFX_LOG_BUFFERED, 1, {" SET ISOLATION TO COMMITTED READ"}, kOpenLogged},
      {"ansi", IFX_LOG_ANSI, 1, {" SET ISOLATION TO COMMITTED READ", " SET ISOLATION TO COMMITTED READ"},
       {"ESQL/C Open Database", "ESQL/C SetIsolationLevel", "ESQL/C SetIsolationLevel"}},
      {"unlogged", IFX_LOG_NONE, 0, {}, {"ESQL/C Open Database"}},
  };
  for (const ConnectCase& kind : kCases) {
    SCOPED_TRACE(kind.name);
    const std::string path = createDatabase(std::string(kind.name) + ".db", kind.logging);
    host::Connection c = connection();
    ASSERT_EQ(c.setOption(9, reinterpret_cast<std::intptr_t>(&recordTrace)), RESULT_OK);
    ifxrtClearStatements();
    traceEvents().clear();

    ASSERT_EQ(c.connect(path.c_str(), "", ""), RESULT_OK);
    EXPECT_EQ(c.numberOption(21), kind.logged);
    std::vector<std::string> sent;
    for (const LoggedStatement& statement : loggedStatements()) sent.push_back(statement.text);
    EXPECT_EQ(sent, kind.statements);
    EXPECT_EQ(traceTexts(), kind.traces);

    traceEvents().clear();
    EXPECT_EQ(c.disconnect(), RESULT_OK);
    EXPECT_EQ(traceTexts(), kDisconnect);
    EXPECT_EQ(c.disconnect(), RESULT_INVALID_HANDLE) << "no client record any more";
    std::int32_t value = 0;
    std::int16_t length = 0;
    EXPECT_EQ(c.getOption(21, &value, sizeof value, &length), RESULT_INVALID_HANDLE);
  }
}

TEST_F(Connections, MissingDatabaseFailsWithItsText) {
  host::Connection c = connection();
  ASSERT_EQ(c.setOption(9, reinterpret_cast<std::intptr_t>(&recordTrace)), RESULT_OK);
  EXPECT_EQ(c.connect(pathOf("missing.db").c_str()), RESULT_INVALID_LOGIN);
  EXPECT_EQ(traceTexts(), std::vector<std::string>{"ESQL/C Open Database"});
  EXPECT_EQ(c.errorText(), "Database not found or no system permission.");
  EXPECT_EQ(c.errorText(), "ISAM error: no record found.") << "the second detail code, asked next";
  EXPECT_EQ(c.errorText(), "Database not found or no system permission.");
  EXPECT_EQ(c.errorText(), "ISAM error: no record found.");  // leaves nothing pending for other tests
  EXPECT_EQ(c.disconnect(), RESULT_INVALID_HANDLE);
}

TEST_F(Connections, WrongPasswordIsRefused) {
  const std::string path = createDatabase("users.db", IFX_LOG_BUFFERED);
  ASSERT_EQ(ifxrtAddUser(path.c_str(), "ana", "secret"), 0);
  host::Connection c = connection();
  EXPECT_EQ(c.connect(path.c_str(), "ana", "wrong"), RESULT_INVALID_LOGIN);
  EXPECT_EQ(c.errorText(), "Incorrect password or user ana is not known on the database server.");
  EXPECT_EQ(c.connect(path.c_str(), "ana", "secret"), RESULT_OK);
}

// Two connections given the same name (option 19): the second connect is
// refused with the runtime's text for a name in use; the first stays open.
TEST_F(Connections, NameInUseIsRefusedWithItsText) {
  const std::string path = createDatabase("same.db", IFX_LOG_BUFFERED);
  host::Connection first = connectedAs(path, "SAME");
  host::Connection second = connection();
  ASSERT_EQ(second.setOption(19, reinterpret_cast<std::intptr_t>("SAME")), RESULT_OK);
  EXPECT_EQ(second.connect(path.c_str()), RESULT_INVALID_LOGIN);
  EXPECT_EQ(second.errorText(), "Connection name is already in use.");
  EXPECT_EQ(first.disconnect(), RESULT_OK);
  EXPECT_EQ(second.connect(path.c_str()), RESULT_OK) << "the name is free once the first is closed";
}

TEST_F(Connections, GeneratedNamesFollowTheCounter) {
  const std::string path = createDatabase("names.db", IFX_LOG_BUFFERED);
  host::Connection a = connection();
  host::Connection b = connection();
  ASSERT_EQ(a.connect(path.c_str()), RESULT_OK);
  const std::string first = lastConnectionName();
  ASSERT_EQ(b.connect(path.c_str()), RESULT_OK);
  const std::string second = lastConnectionName();
  ASSERT_EQ(first.rfind("CONN", 0), 0u) << first;
  ASSERT_EQ(second.rfind("CONN", 0), 0u) << second;
  EXPECT_EQ(std::stol(second.substr(4)), std::stol(first.substr(4)) + 1);
}

TEST_F(Connections, ServerNameSelectsNothingWithTheStandIn) {
  const std::string path = createDatabase("server.db", IFX_LOG_BUFFERED);
  host::Connection c = connection();
  ASSERT_EQ(c.setOption(10, reinterpret_cast<std::intptr_t>("ol_server")), RESULT_OK);
  ASSERT_EQ(c.connect(path.c_str()), RESULT_OK);
  EXPECT_EQ(lastConnectionName().rfind("CONN", 0), 0u);
  EXPECT_EQ(c.disconnect(), RESULT_OK);
}

// A target is never cut: cutting a long path could open another database.
TEST_F(Connections, LongTargetIsPassedWhole) {
  const std::string path = createDatabase(std::string(120, 'd') + ".db", IFX_LOG_BUFFERED);
  ASSERT_GT(path.size(), 100u);
  host::Connection c = connection();
  EXPECT_EQ(c.connect(path.c_str()), RESULT_OK);
}

TEST_F(Connections, TracesCarryCategoryAndClientValue) {
  const std::string path = createDatabase("trace.db", IFX_LOG_BUFFERED);
  host::Connection c = connection();
  const std::intptr_t clientValue = static_cast<std::intptr_t>(0x123456789aLL);
  ASSERT_EQ(c.setOption(12, clientValue), RESULT_OK);
  ASSERT_EQ(c.setOption(9, reinterpret_cast<std::intptr_t>(&recordTrace)), RESULT_OK);
  ASSERT_EQ(c.connect(path.c_str()), RESULT_OK);
  ASSERT_EQ(c.setOption(12, 77), RESULT_OK);
  TransactionDesc desc{1, 0, ISOLATION_DIRTY_READ, 0};
  ASSERT_EQ(c.begin(&desc), RESULT_OK);
  ASSERT_EQ(c.commit(&desc), RESULT_OK);
  std::int16_t length = 0;
  ASSERT_EQ(c.errorMessageLength(&length), RESULT_OK);
  ASSERT_EQ(c.disconnect(), RESULT_OK);

  std::vector<std::string> expected = kOpenLogged;
  for (const char* text : {"ESQL/C SetIsolationLevel", "ESQL/C SetConnect", "ESQL/C SetConnect", "ESQL/C Commit Work",
                           "ESQL/C Begin Work", "ESQL/C SetIsolationLevel", "ESQL/C SetConnect",
                           "ESQL/C Commit Work", "ESQL/C GetErrorMessage"}) {
    expected.push_back(text);
  }
  expected.insert(expected.end(), kDisconnect.begin(), kDisconnect.end());
  EXPECT_EQ(traceTexts(), expected);
  for (std::size_t i = 0; i < traceEvents().size(); ++i) {
    const TraceEvent& event = traceEvents()[i];
    EXPECT_EQ(event.callType, 1);
    EXPECT_EQ(event.category, 256);
    EXPECT_EQ(event.clientValue, i < 2 ? clientValue : 77) << event.text;
  }
}

TEST_F(Connections, TraceCallbackGivenWhileConnected) {
  const std::string path = createDatabase("late.db", IFX_LOG_BUFFERED);
  host::Connection c = connection();
  ASSERT_EQ(c.setOption(12, 5), RESULT_OK);
  ASSERT_EQ(c.connect(path.c_str()), RESULT_OK);
  EXPECT_TRUE(traceEvents().empty());
  ASSERT_EQ(c.setOption(9, reinterpret_cast<std::intptr_t>(&recordTrace)), RESULT_OK);
  ASSERT_EQ(c.disconnect(), RESULT_OK);
  EXPECT_EQ(traceTexts(), kDisconnect);
  EXPECT_EQ(traceEvents().front().clientValue, 5);
}

TEST_F(Connections, SecondConnectLeavesTheOpenConnectionAlone) {
  const std::string path = createDatabase("twice.db", IFX_LOG_BUFFERED);
  host::Connection c = connectedAs(path, "ONLY");
  EXPECT_EQ(c.connect(path.c_str()), RESULT_INVALID_LOGIN);
  EXPECT_EQ(c.errorText(), "Connection is already open; disconnect before connecting again.");
  ifxrtClearStatements();
  EXPECT_EQ(c.setOption(6, 2), RESULT_OK);
  EXPECT_EQ(loggedStatements(), (std::vector<LoggedStatement>{{" SET ISOLATION TO DIRTY READ", "ONLY"}}));
  EXPECT_EQ(c.disconnect(), RESULT_OK);
}

// Released while connected: the runtime connection is closed without a
// commit, so its name is free again and its open work is rolled back.
TEST_F(Connections, ReleaseWhileConnectedClosesWithoutCommit) {
  const std::string path = createDatabase("release.db", IFX_LOG_BUFFERED);
  host::Connection c;
  ASSERT_EQ(driver_.createConnection(&c.self), RESULT_OK);
  ASSERT_EQ(c.setOption(19, reinterpret_cast<std::intptr_t>("KEEP")), RESULT_OK);
  ASSERT_EQ(c.connect(path.c_str()), RESULT_OK);
  TransactionDesc desc{1, 0, ISOLATION_COMMITTED_READ, 0};
  ASSERT_EQ(c.begin(&desc), RESULT_OK);
  ASSERT_EQ(runOn("KEEP", "INSERT INTO items VALUES (1, 'one')"), 0);
  EXPECT_EQ(c.release(), 0);

  EXPECT_EQ(committedRows(path, "items"), 0);
  host::Connection again = connectedAs(path, "KEEP");
  EXPECT_EQ(again.disconnect(), RESULT_OK);
}

TEST_F(Connections, CommandsAndMetaDataAreCountedAndReleased) {
  const std::string path = createDatabase("children.db", IFX_LOG_BUFFERED);
  host::Connection c = connection();
  EXPECT_EQ(c.createCommand(nullptr), RESULT_OK);
  EXPECT_EQ(c.createMetaData(nullptr), RESULT_OK);

  host::Command unconnected;
  EXPECT_EQ(c.createCommand(&unconnected.self), RESULT_INVALID_HANDLE) << "handed out without a statement";
  ASSERT_NE(unconnected.self, nullptr);
  std::int16_t length = 0;
  EXPECT_EQ(unconnected.errorMessageLength(&length), RESULT_INVALID_HANDLE);
  EXPECT_EQ(unconnected.release(), 0);

  ASSERT_EQ(c.setOption(2, 2048), RESULT_OK);
  ASSERT_EQ(c.connect(path.c_str()), RESULT_OK);
  host::Command command;
  host::MetaData metadata;
  ASSERT_EQ(c.createCommand(&command.self), RESULT_OK);
  ASSERT_EQ(c.createMetaData(&metadata.self), RESULT_OK);
  EXPECT_EQ(command.addRef(), 2);
  EXPECT_EQ(command.release(), 1);
  EXPECT_EQ(metadata.addRef(), 2);
  EXPECT_EQ(metadata.release(), 1);
  EXPECT_EQ(command.query(nullptr, nullptr), RESULT_OK);

  void* cursor = &length;
  EXPECT_EQ(command.nextResult(&cursor), RESULT_NOT_SUPPORTED);
  EXPECT_EQ(cursor, &length) << "the cursor place is left unchanged";
  std::int32_t rows = -1;
  EXPECT_EQ(command.rowsAffected(&rows), RESULT_OK);
  EXPECT_EQ(rows, 0);
  std::int32_t value = -1;
  EXPECT_EQ(command.getOption(4, &value, 4, &length), RESULT_OK);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(command.getOption(5, &value, 4, &length), RESULT_NOT_SUPPORTED);
  EXPECT_EQ(command.setOption(6, 1), RESULT_CLIENT_NOT_SUPPORTED);

  EXPECT_EQ(metadata.release(), 0);
  EXPECT_EQ(command.release(), 0);
  EXPECT_EQ(c.disconnect(), RESULT_OK);
}

// A "," or "@" in a database path is part of the path: only the ",name" the
// driver appends after a server name is left out of the target.
TEST_F(Connections, CommaInTheDatabasePathOpensThatDatabase) {
  const std::string path = createDatabase("vendas,2024@loja.db", IFX_LOG_BUFFERED);
  const std::string decoy = createDatabase("vendas", IFX_LOG_BUFFERED);
  const char* kServers[] = {"", "ol_server"};
  for (const char* server : kServers) {
    SCOPED_TRACE(server);
    host::Connection c = connection();
    ASSERT_EQ(c.setOption(10, reinterpret_cast<std::intptr_t>(server)), RESULT_OK);
    ASSERT_EQ(c.setOption(19, reinterpret_cast<std::intptr_t>("COMMA")), RESULT_OK);
    ASSERT_EQ(c.connect(path.c_str()), RESULT_OK);
    ASSERT_EQ(runOn("COMMA", "INSERT INTO items (name) VALUES ('here')"), 0);
    ASSERT_EQ(c.disconnect(), RESULT_OK);
  }
  EXPECT_EQ(committedRows(path, "items"), 2);
  EXPECT_EQ(committedRows(decoy, "items"), 0);
  host::Connection c = connection();
  EXPECT_EQ(c.connect((pathOf("vendas") + ",2024@x.db").c_str()), RESULT_INVALID_LOGIN) << "no such file";
}

// A long-running host connects and disconnects many times; the runtime's
// statement log stays bounded.
TEST_F(Connections, ManyConnectCyclesKeepTheStatementLogBounded) {
  const std::string path = createDatabase("cycles.db", IFX_LOG_BUFFERED);
  host::Connection c = connection();
  for (int i = 0; i < 3000; ++i) {  // two statements each: beyond what the log keeps
    ASSERT_EQ(c.connect(path.c_str()), RESULT_OK);
    ASSERT_EQ(c.disconnect(), RESULT_OK);
  }
  EXPECT_LE(ifxrtStatementCount(), 4096u);
  EXPECT_EQ(loggedStatements().back().text, "COMMIT WORK");
}

}  // namespace
