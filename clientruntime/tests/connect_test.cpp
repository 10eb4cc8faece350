// Connecting: logging flags, missing or unusable databases, named
// connections and the current connection, credentials.
#include <sqlite3.h>

#include <fstream>

#include "test_databases.h"

namespace {

constexpr int kUnset = -1;  // a database without the logging property

struct LoggingCase {
  int logging;  // IfxLogging, or kUnset
  char warning0, logged, ansi;
};

class ConnectLoggingTest : public RuntimeTest, public ::testing::WithParamInterface<LoggingCase> {};

TEST_P(ConnectLoggingTest, WarningFlagsTellTheLoggingKind) {
  const LoggingCase& c = GetParam();
  std::string path = pathOf("db.sqlite");
  if (c.logging == kUnset) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE t (a INT)", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
  } else {
    path = createDatabase("db.sqlite", static_cast<IfxLogging>(c.logging));
  }
  ASSERT_EQ(connect(path), 0);
  EXPECT_EQ(areaByte(108), c.warning0);
  EXPECT_EQ(areaByte(109), c.logged);
  EXPECT_EQ(areaByte(110), c.ansi);
  EXPECT_EQ(areaByte(111), '\0');
}

INSTANTIATE_TEST_SUITE_P(Kinds, ConnectLoggingTest,
                         ::testing::Values(LoggingCase{IFX_LOG_NONE, '\0', '\0', '\0'},
                                           LoggingCase{IFX_LOG_BUFFERED, 'W', 'W', '\0'},
                                           LoggingCase{IFX_LOG_ANSI, 'W', 'W', 'W'},
                                           LoggingCase{kUnset, 'W', 'W', '\0'}));

using ConnectTest = RuntimeTest;

TEST_F(ConnectTest, MissingDatabaseIsNotFoundAndNotCreated) {
  const std::string path = pathOf("absent.sqlite");
  for (const std::string& target : {path, path + "@ol_server"}) {
    EXPECT_EQ(connect(target), -329) << target;
    EXPECT_EQ(areaInt(0), -329);
    EXPECT_EQ(areaInt(88), -111);
    EXPECT_EQ(areaByte(109), '\0');
  }
  EXPECT_FALSE(std::filesystem::exists(path));
  clientExecuteText("SELECT 1");
  EXPECT_EQ(clientStatusCode(), -1803) << "a failed connect leaves no current connection";
}

TEST_F(ConnectTest, ThingsThatAreNotDatabaseFilesAreNotFound) {
  const std::string textFile = pathOf("notes.txt");
  std::ofstream(textFile) << "this is not an SQLite database, only some text long enough to be read";
  const std::string folder = pathOf("");
  for (const std::string& target : {textFile, folder, std::string(":memory:"), std::string()}) {
    EXPECT_EQ(connect(target), -329) << target;
  }
  clientConnect(nullptr, "c2", nullptr);
  EXPECT_EQ(clientStatusCode(), -329);
}

TEST_F(ConnectTest, ServerPartOfTheTargetSelectsNothing) {
  const std::string path = createDatabase("db.sqlite", IFX_LOG_BUFFERED);
  ASSERT_EQ(connect(path + "@ol_server"), 0);
  EXPECT_EQ(execute("INSERT INTO items (name) VALUES ('a')"), 0);
  EXPECT_EQ(committedRows(path, "items"), 1);
}

TEST_F(ConnectTest, UnknownLoggingPropertyRefusesTheConnect) {
  const std::string path = createDatabase("db.sqlite", IFX_LOG_BUFFERED);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "UPDATE ifxrt_properties SET value = 'sometimes' WHERE name = 'logging'", nullptr,
                         nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  EXPECT_EQ(connect(path), -29000);
  EXPECT_NE(areaArgument().find("sometimes"), std::string::npos);
}

TEST_F(ConnectTest, NamedConnectionsAndTheCurrentOne) {
  const std::string first = createDatabase("first.sqlite", IFX_LOG_NONE);
  const std::string second = createDatabase("second.sqlite", IFX_LOG_NONE);
  ASSERT_EQ(connect(first, "one"), 0);
  ASSERT_EQ(connect(second, "two"), 0);
  EXPECT_EQ(execute("INSERT INTO items (name) VALUES ('to second')"), 0) << "the newest connection is current";
  clientSetConnection("one");
  ASSERT_EQ(clientStatusCode(), 0);
  EXPECT_EQ(execute("INSERT INTO items (name) VALUES ('to first')"), 0);
  EXPECT_EQ(execute("INSERT INTO items (name) VALUES ('again to first')"), 0);
  EXPECT_EQ(committedRows(first, "items"), 2);
  EXPECT_EQ(committedRows(second, "items"), 1);

  EXPECT_EQ(connect(second, "one"), -1802) << "a name in use";
  EXPECT_EQ(execute("INSERT INTO items (name) VALUES ('still first')"), 0) << "the failed connect changed nothing";
  EXPECT_EQ(committedRows(first, "items"), 3);

  clientDisconnect("one");
  ASSERT_EQ(clientStatusCode(), 0);
  EXPECT_EQ(execute("SELECT 1"), -1803) << "the current connection was closed";
  clientSetConnection("one");
  EXPECT_EQ(clientStatusCode(), -1803);
  clientDisconnect("one");
  EXPECT_EQ(clientStatusCode(), -1803);
  clientSetConnection("two");
  EXPECT_EQ(clientStatusCode(), 0);
  EXPECT_EQ(connect(first, "one"), 0) << "a closed name can be used again";
}

TEST_F(ConnectTest, UnknownOrMissingNamesAreRefused) {
  for (const char* name : {"nobody", "", static_cast<const char*>(nullptr)}) {
    clientSetConnection(name);
    EXPECT_EQ(clientStatusCode(), -1803);
    clientDisconnect(name);
    EXPECT_EQ(clientStatusCode(), -1803);
  }
}

TEST_F(ConnectTest, ConnectionWithoutNameIsKnownByItsTarget) {
  const std::string path = createDatabase("db.sqlite", IFX_LOG_NONE);
  ASSERT_EQ(connect(path, ""), 0);
  EXPECT_EQ(connect(path, nullptr), -1802) << "the target is already a connection name";
  clientDisconnect(path.c_str());
  EXPECT_EQ(clientStatusCode(), 0);
}

struct LoginCase {
  const char* user;
  const char* password;
  int32_t status;
};

class LoginTest : public RuntimeTest, public ::testing::WithParamInterface<LoginCase> {};

TEST_P(LoginTest, UsersTableDecidesWhoMayConnect) {
  const std::string path = createDatabase("db.sqlite", IFX_LOG_BUFFERED);
  ASSERT_EQ(ifxrtAddUser(path.c_str(), "alice", "secret"), 0);
  ASSERT_EQ(ifxrtAddUser(path.c_str(), "bob", "hunter2"), 0);
  const LoginCase& c = GetParam();
  EXPECT_EQ(connect(path, "c1", c.user, c.password), c.status);
  if (c.status != 0) {
    EXPECT_EQ(areaArgument(), c.user);
    EXPECT_EQ(areaByte(109), '\0');
  }
}

INSTANTIATE_TEST_SUITE_P(Credentials, LoginTest,
                         ::testing::Values(LoginCase{"alice", "secret", 0}, LoginCase{"bob", "hunter2", 0},
                                           LoginCase{"alice", "hunter2", -951}, LoginCase{"alice", "", -951},
                                           LoginCase{"carol", "secret", -951}, LoginCase{"", "", -951},
                                           LoginCase{"Alice", "secret", -951}));

TEST_F(ConnectTest, WithoutUsersAnyLoginConnectsButWithUsersNoLoginDoesNot) {
  const std::string path = createDatabase("db.sqlite", IFX_LOG_BUFFERED);
  clientConnect(path.c_str(), "anonymous", nullptr);
  EXPECT_EQ(clientStatusCode(), 0);
  EXPECT_EQ(connect(path, "someone", "someone", "anything"), 0);
  ASSERT_EQ(ifxrtAddUser(path.c_str(), "alice", "secret"), 0);
  clientConnect(path.c_str(), "anonymous again", nullptr);
  EXPECT_EQ(clientStatusCode(), -951);
  EXPECT_EQ(ifxrtAddUser(pathOf("absent.sqlite").c_str(), "alice", "secret"), -1);
  EXPECT_FALSE(std::filesystem::exists(pathOf("absent.sqlite")));
}

}  // namespace

namespace {

using DatabaseNameTest = RuntimeTest;

// Runs the test body with the test's folder as the working directory, for
// relative database names.
class WorkingFolder {
 public:
  explicit WorkingFolder(const std::filesystem::path& folder) : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~WorkingFolder() { std::filesystem::current_path(previous_); }

 private:
  std::filesystem::path previous_;
};

// Connects under `name`, inserts one row into items, and disconnects.
int32_t insertThrough(const std::string& target, const char* name) {
  IfxLogin* login = clientMakeLogin("", "");
  clientConnect(target.c_str(), name, login);
  clientFreeLogin(login);
  int32_t status = clientStatusCode();
  if (status != 0) return status;
  clientExecuteText("INSERT INTO items (name) VALUES (hex(randomblob(8)))");
  status = clientStatusCode();
  clientDisconnect(name);
  return status;
}

// An "@" inside a file name is part of the name; only a target that names no
// file has a server part, after its last "@".
TEST_F(DatabaseNameTest, AtSignInAFileNameBelongsToTheFile) {
  const std::string withAt = createDatabase("joao@empresa.db", IFX_LOG_BUFFERED);
  const std::string decoy = createDatabase("joao", IFX_LOG_BUFFERED);
  struct Case {
    std::string target;
    int32_t status;
  };
  const Case kCases[] = {{withAt, 0}, {withAt + "@ol_server", 0}, {withAt + "@a@b", -329}};
  for (const Case& c : kCases) {
    EXPECT_EQ(insertThrough(c.target, "at"), c.status) << c.target;
  }
  EXPECT_EQ(committedRows(withAt, "items"), 2);
  EXPECT_EQ(committedRows(decoy, "items"), 0) << "the part before the first @ is another file";
}

// A relative name beginning with "file:" is a plain file name, never an SQLite
// URI (which would open "x.db" and take options such as mode=).
TEST_F(DatabaseNameTest, FileColonNamesAPlainFile) {
  const std::string decoy = createDatabase("x.db", IFX_LOG_BUFFERED);
  WorkingFolder here(std::filesystem::path(pathOf("")));
  ASSERT_EQ(ifxrtCreateDatabase("file:x.db", IFX_LOG_BUFFERED), 0);
  ASSERT_TRUE(std::filesystem::is_regular_file("file:x.db")) << "created under its own name";
  ASSERT_EQ(ifxrtAddUser("file:x.db", "ana", "pw"), 0);

  IfxLogin* login = clientMakeLogin("ana", "pw");
  clientConnect("file:x.db", "uri", login);
  clientFreeLogin(login);
  ASSERT_EQ(clientStatusCode(), 0);
  EXPECT_EQ(execute("CREATE TABLE only_here (a INT)"), 0);
  clientDisconnect("uri");
  EXPECT_EQ(committedRows(pathOf("file:x.db"), "only_here"), 0);
  EXPECT_EQ(committedRows(decoy, "only_here"), -1) << "x.db is untouched";
  EXPECT_EQ(committedRows(decoy, "ifxrt_users"), -1);

  EXPECT_EQ(connect("file:x.db?mode=memory", "opts"), -329) << "no such file; options do not pass";
  EXPECT_EQ(ifxrtAddUser("file:x.db?mode=memory", "ana", "pw"), -1);
}

}  // namespace
