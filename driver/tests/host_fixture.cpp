#include "host_fixture.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cstring>

#include "ifxrt/client.h"

namespace {

std::vector<TraceEvent> events;

}  // namespace

std::int32_t recordTrace(std::int32_t callType, quovex::TraceRecord* record) {
  events.push_back({callType, std::string(record->text, strnlen(record->text, sizeof record->text)),
                    record->category, quovex::traceClientValue(record)});
  return 0;
}

std::vector<TraceEvent>& traceEvents() { return events; }

std::vector<std::string> traceTexts() {
  std::vector<std::string> texts;
  for (const TraceEvent& event : events) texts.push_back(event.text);
  return texts;
}

std::vector<LoggedStatement> loggedStatements() {
  std::vector<LoggedStatement> statements;
  for (std::size_t i = 0; i < ifxrtStatementCount(); ++i) {
    statements.push_back({ifxrtStatementText(i), ifxrtStatementConnection(i)});
  }
  return statements;
}

std::int64_t committedRows(const std::string& path, const char* table) {
  sqlite3* db = nullptr;
  std::int64_t rows = -1;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* count = nullptr;
    const std::string sql = std::string("SELECT COUNT(*) FROM ") + table;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &count, nullptr) == SQLITE_OK && sqlite3_step(count) == SQLITE_ROW) {
      rows = sqlite3_column_int64(count, 0);
    }
    sqlite3_finalize(count);
  }
  sqlite3_close(db);
  return rows;
}

void HostTest::SetUp() {
  ifxrtReset();
  ifxrtClearFaults();
  ifxrtClearStatements();
  events.clear();
  char pattern[] = "/tmp/quovexinf-test-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  folder_ = pattern;
  ASSERT_EQ(host::getDriver("first", "second", &driver_.self), quovex::RESULT_OK);
}

void HostTest::TearDown() {
  ifxrtClearFaults();
  for (const host::Connection& owned : owned_) owned.release();
  if (driver_.self != nullptr) driver_.release();
  ifxrtReset();
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

std::string HostTest::pathOf(const std::string& fileName) const { return (folder_ / fileName).string(); }

std::string HostTest::createDatabase(const std::string& fileName, IfxLogging logging) {
  const std::string path = pathOf(fileName);
  EXPECT_EQ(ifxrtCreateDatabase(path.c_str(), logging), 0);
  sqlite3* db = nullptr;
  EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db, "CREATE TABLE items(id INTEGER PRIMARY KEY, name TEXT)", nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  return path;
}

host::Connection HostTest::connection() {
  host::Connection made;
  EXPECT_EQ(driver_.createConnection(&made.self), quovex::RESULT_OK);
  owned_.push_back(made);
  return made;
}

host::Connection HostTest::connectedAs(const std::string& path, const char* name) {
  host::Connection made = connection();
  EXPECT_EQ(made.setOption(19, reinterpret_cast<std::intptr_t>(name)), quovex::RESULT_OK);
  EXPECT_EQ(made.connect(path.c_str()), quovex::RESULT_OK);
  return made;
}

std::int32_t HostTest::runOn(const char* name, const char* sql) {
  clientSetConnection(name);
  if (clientStatusCode() != 0) return clientStatusCode();
  clientExecuteText(sql);
  return clientStatusCode();
}
