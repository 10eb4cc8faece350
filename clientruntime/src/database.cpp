#include "database.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <filesystem>
#include <string>
#include <system_error>

#include "catalogue.h"
#include "sqlite_errors.h"
#include "sqlite_path.h"
#include "sqlite_statement.h"
#include "status_codes.h"

namespace ifxrt {
namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

// The first word of a statement, to tell the row-changing statements apart.
std::string_view leadingKeyword(std::string_view sql) {
  size_t start = 0;
  while (start < sql.size() && std::isspace(static_cast<unsigned char>(sql[start]))) ++start;
  size_t end = start;
  while (end < sql.size() && std::isalpha(static_cast<unsigned char>(sql[end]))) ++end;
  return sql.substr(start, end - start);
}

bool changesRows(std::string_view sql) {
  const std::string_view keyword = leadingKeyword(sql);
  return equalsIgnoringCase(keyword, "INSERT") || equalsIgnoringCase(keyword, "UPDATE") ||
         equalsIgnoringCase(keyword, "DELETE");
}

bool tableExists(sqlite3* db, const char* table, Status& status) {
  SqliteStatement query;
  int rc = query.prepare(db, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1");
  if (rc == SQLITE_OK) rc = sqlite3_bind_text(query.get(), 1, table, -1, SQLITE_STATIC);
  if (rc == SQLITE_OK) rc = sqlite3_step(query.get());
  if (rc != SQLITE_ROW && rc != SQLITE_DONE) status = statusFromSqlite(db, rc);
  return rc == SQLITE_ROW;
}

}  // namespace

void useWriteAheadLog(sqlite3* db) {
  // A file another program holds locked keeps its journal; that is no fault.
  sqlite3_exec(db, "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr);
  sqlite3_exec(db, "PRAGMA synchronous = NORMAL", nullptr, nullptr, nullptr);
}

Status readLogging(sqlite3* db, Logging& logging) {
  logging = Logging::Buffered;
  Status status;
  if (!tableExists(db, kPropertiesTable, status)) return status;
  SqliteStatement query;
  const std::string sql = std::string("SELECT value FROM ") + kPropertiesTable + " WHERE name = 'logging'";
  int rc = query.prepare(db, sql);
  if (rc == SQLITE_OK) rc = sqlite3_step(query.get());
  if (rc == SQLITE_DONE) return Status::ok();
  if (rc != SQLITE_ROW) return statusFromSqlite(db, rc);
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(query.get(), 0));
  if (text == nullptr) return Status::ok();
  if (!loggingFromName(text, logging)) {
    return Status::error(code::kRuntimeError, 0, std::string("(unknown logging kind '") + text + "') ");
  }
  return Status::ok();
}

namespace {

// Rejects a text holding more than one statement: only comments and blanks
// may follow the first.
Status checkSingleStatement(sqlite3* db, const char* rest) {
  while (rest != nullptr && *rest != '\0') {
    SqliteStatement next;
    const char* tail = nullptr;
    if (next.prepare(db, rest, &tail) != SQLITE_OK || next) return Status::error(code::kSyntaxError);
    if (tail == rest) break;
    rest = tail;
  }
  return Status::ok();
}

}  // namespace

const char* loggingName(Logging logging) {
  switch (logging) {
    case Logging::None: return "none";
    case Logging::Ansi: return "ansi";
    case Logging::Buffered: break;
  }
  return "buffered";
}

bool loggingFromName(std::string_view name, Logging& logging) {
  for (Logging kind : {Logging::None, Logging::Buffered, Logging::Ansi}) {
    if (equalsIgnoringCase(name, loggingName(kind))) {
      logging = kind;
      return true;
    }
  }
  return false;
}

Status Database::open(const std::string& path, std::unique_ptr<Database>& opened) {
  // Only an existing plain file is a database: no file is ever created, and
  // SQLite's special names (":memory:", URIs) are not files.
  std::error_code error;
  if (path.empty() || !std::filesystem::is_regular_file(path, error)) {
    return Status::error(code::kDatabaseNotFound, code::kIsamNoRecord);
  }
  sqlite3* handle = nullptr;
  const int rc = sqlite3_open_v2(sqliteFileName(path).c_str(), &handle, SQLITE_OPEN_READWRITE, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_close(handle);
    return Status::error(code::kDatabaseNotFound, code::kIsamNoRecord);
  }
  sqlite3_exec(handle, "PRAGMA foreign_keys = ON", nullptr, nullptr, nullptr);
  useWriteAheadLog(handle);
  Logging logging = Logging::Buffered;
  Status status = readLogging(handle, logging);
  if (!status.failed()) status = attachCatalogue(handle);
  if (!status.failed()) status = registerValueFunctions(handle);
  if (status.failed()) {
    sqlite3_close(handle);
    // A file that is not a database is not found as a database either.
    if (status.code == code::kRuntimeError && status.secondDetail == SQLITE_NOTADB) {
      return Status::error(code::kDatabaseNotFound);
    }
    return status;
  }
  opened.reset(new Database(handle, logging));
  return Status::ok();
}

Database::~Database() {
  if (inTransaction()) sqlite3_exec(handle_, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close_v2(handle_);
}

void Database::setLockWait(int seconds) {
  constexpr int kMaxSeconds = INT_MAX / 1000;
  sqlite3_busy_timeout(handle_, seconds < 0 || seconds > kMaxSeconds ? INT_MAX : seconds * 1000);
}

Status Database::guardValues() {
  // Inside a transaction that has not read yet, looking at the schema would
  // open a read transaction, and SQLite never waits for a lock to turn a
  // read transaction into a write one (SET LOCK MODE TO WAIT would be lost).
  // The triggers made by the last statement serve; a table created by this
  // transaction is seen by its next statement, which runs after a write.
  if (inTransaction() && sqlite3_txn_state(handle_, "main") == SQLITE_TXN_NONE && guarded_.main != -1) {
    return Status::ok();
  }
  return refreshValueGuards(handle_, logging_ == Logging::Ansi ? LongText::Refuse : LongText::Cut, guarded_);
}

bool Database::inTransaction() const { return sqlite3_get_autocommit(handle_) == 0; }

Status Database::checkLogin(const IfxLogin* login) const {
  Status status;
  if (!tableExists(handle_, kUsersTable, status)) return status;
  const std::string user = login != nullptr ? login->user : std::string();
  const std::string password = login != nullptr ? login->password : std::string();
  SqliteStatement query;
  const std::string sql = std::string("SELECT count(*), sum(name = ?1 AND password = ?2) FROM ") + kUsersTable;
  int rc = query.prepare(handle_, sql);
  if (rc == SQLITE_OK) rc = sqlite3_bind_text(query.get(), 1, user.c_str(), -1, SQLITE_TRANSIENT);
  if (rc == SQLITE_OK) rc = sqlite3_bind_text(query.get(), 2, password.c_str(), -1, SQLITE_TRANSIENT);
  if (rc == SQLITE_OK) rc = sqlite3_step(query.get());
  if (rc != SQLITE_ROW) return statusFromSqlite(handle_, rc);
  const bool hasUsers = sqlite3_column_int64(query.get(), 0) > 0;
  const bool matches = sqlite3_column_int64(query.get(), 1) > 0;
  if (hasUsers && !matches) return Status::error(code::kIncorrectLogin, 0, user);
  return Status::ok();
}

Status Database::execute(std::string_view sql) {
  if (sql.size() > INT_MAX) return Status::error(code::kSyntaxError);
  Status catalogue = prepareCatalogue(handle_, sql);
  if (catalogue.failed()) return catalogue;
  Status guarded = guardValues();
  if (guarded.failed()) return guarded;
  SqliteStatement statement;
  const char* tail = nullptr;
  int rc = statement.prepare(handle_, sql, &tail);
  if (rc != SQLITE_OK) return statusFromSqlite(handle_, rc);
  if (!statement) return Status::error(code::kSyntaxError);  // only blanks or comments
  const std::string rest(tail, sql.data() + sql.size());
  Status status = checkSingleStatement(handle_, rest.c_str());
  if (status.failed()) return status;
  int32_t rows = 0;
  while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) ++rows;
  if (rc != SQLITE_DONE) return statusFromSqlite(handle_, rc);
  // A SELECT reports the rows it processed, a change the rows it changed.
  if (sqlite3_column_count(statement.get()) > 0) status.rowsProcessed = rows;
  if (changesRows(sql)) status.rowsProcessed = sqlite3_changes(handle_);
  return status;
}

}  // namespace ifxrt
