// Administration of databases (ifxrt/admin.h): making a database of a
// logging kind, its users and stored procedures, and running a script.
#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "database.h"
#include "ifxrt/admin.h"
#include "procedures.h"
#include "serial_columns.h"
#include "sqlite_errors.h"
#include "sqlite_file.h"
#include "sqlite_statement.h"
#include "type_phrases.h"

using namespace ifxrt;

namespace {

// Inserts or replaces one row of `table` from `values` (texts, in order).
bool putRow(sqlite3* db, const char* table, std::initializer_list<const char*> values) {
  std::string sql = std::string("INSERT OR REPLACE INTO ") + table + " VALUES (";
  for (size_t i = 0; i < values.size(); ++i) sql += (i == 0 ? "?" : ", ?") + std::to_string(i + 1);
  SqliteStatement insert;
  int rc = insert.prepare(db, sql + ")");
  int index = 1;
  for (const char* value : values) {
    if (rc == SQLITE_OK) rc = sqlite3_bind_text(insert.get(), index++, value, -1, SQLITE_TRANSIENT);
  }
  if (rc == SQLITE_OK) rc = sqlite3_step(insert.get());
  return rc == SQLITE_DONE;
}

bool knownLogging(IfxLogging logging, Logging& kind) {
  switch (logging) {
    case IFX_LOG_NONE: kind = Logging::None; return true;
    case IFX_LOG_BUFFERED: kind = Logging::Buffered; return true;
    case IFX_LOG_ANSI: kind = Logging::Ansi; return true;
  }
  return false;
}

int32_t createDatabase(const char* path, IfxLogging logging) {
  Logging kind;
  SqliteFile file;
  if (!knownLogging(logging, kind) || !file.open(path, FileOpening::CreateWhenMissing)) return -1;
  useWriteAheadLog(file.handle());
  const bool done = file.exec(std::string("CREATE TABLE IF NOT EXISTS ") + kPropertiesTable +
                              " (name TEXT PRIMARY KEY, value TEXT NOT NULL)") &&
                    putRow(file.handle(), kPropertiesTable, {"logging", loggingName(kind)});
  return done ? 0 : -1;
}

int32_t addUser(const char* path, const char* user, const char* password) {
  SqliteFile file;
  if (user == nullptr || !file.open(path, FileOpening::ExistingOnly)) return -1;
  const bool done = file.exec(std::string("CREATE TABLE IF NOT EXISTS ") + kUsersTable +
                              " (name TEXT PRIMARY KEY, password TEXT NOT NULL)") &&
                    putRow(file.handle(), kUsersTable, {user, password != nullptr ? password : ""});
  return done ? 0 : -1;
}

void copyError(const std::string& text, char* error, size_t errorSize) {
  if (error == nullptr || errorSize == 0) return;
  const size_t size = std::min(text.size(), errorSize - 1);
  std::memcpy(error, text.data(), size);
  error[size] = '\0';
}

int32_t runScript(const char* path, const char* script, char* error, size_t errorSize) {
  copyError("", error, errorSize);
  SqliteFile file;
  if (script == nullptr || !file.open(path, FileOpening::ExistingOnly)) {
    copyError("cannot open the database file", error, errorSize);
    return -1;
  }
  Logging logging = Logging::Buffered;
  Status opened = readLogging(file.handle(), logging);
  if (!opened.failed()) opened = registerValueFunctions(file.handle());
  if (opened.failed()) {
    copyError(opened.argument, error, errorSize);
    return opened.code;
  }
  const LongText longText = logging == Logging::Ansi ? LongText::Refuse : LongText::Cut;
  SchemaVersions guarded;
  const std::string sql = rewriteTypePhrases(script);
  const char* next = sql.c_str();
  while (*next != '\0') {
    if (Status status = refreshValueGuards(file.handle(), longText, guarded); status.failed()) {
      copyError(status.argument, error, errorSize);
      return status.code;
    }
    SqliteStatement statement;
    const char* tail = nullptr;
    int rc = statement.prepare(file.handle(), next, &tail);
    if (rc == SQLITE_OK && statement) {
      while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
      }
      if (rc == SQLITE_DONE) rc = SQLITE_OK;
    }
    const std::string_view ran(next, tail != nullptr ? static_cast<size_t>(tail - next) : 0);
    if (rc == SQLITE_OK) numberSerialColumns(file.handle(), ran);
    if (rc != SQLITE_OK) {
      const Status status = statusFromSqlite(file.handle(), rc);
      copyError(status.argument.empty() ? std::string(next, tail != nullptr && tail > next ? tail : next + std::strlen(next))
                                        : status.argument,
                error, errorSize);
      return status.code;
    }
    if (tail == nullptr || tail == next) break;
    next = tail;
  }
  return 0;
}

int32_t addProcedure(const char* path, const char* name, const char* parameters, const char* returns, const char* body) {
  SqliteFile file;
  if (name == nullptr || *name == '\0' || body == nullptr || !file.open(path, FileOpening::ExistingOnly)) return -1;
  const std::string create = std::string("CREATE TABLE IF NOT EXISTS ") + kProceduresTable +
                             " (name TEXT PRIMARY KEY, parameters TEXT NOT NULL, returns TEXT NOT NULL,"
                             " body TEXT NOT NULL)";
  if (!file.exec(create)) return -1;
  const bool done = putRow(file.handle(), kProceduresTable,
                           {name, parameters != nullptr ? parameters : "", returns != nullptr ? returns : "", body});
  return done ? 0 : -1;
}

// Runs `call` and turns any exception into -1, so nothing crosses the C face.
template <typename Call>
int32_t guarded(Call&& call) {
  try {
    return call();
  } catch (...) {
    return -1;
  }
}

}  // namespace

extern "C" {

IFXRT_API int32_t ifxrtCreateDatabase(const char* path, IfxLogging logging) {
  return guarded([&] { return createDatabase(path, logging); });
}

IFXRT_API int32_t ifxrtAddUser(const char* path, const char* user, const char* password) {
  return guarded([&] { return addUser(path, user, password); });
}

IFXRT_API int32_t ifxrtRunScript(const char* path, const char* script, char* error, size_t errorSize) {
  return guarded([&] { return runScript(path, script, error, errorSize); });
}

IFXRT_API int32_t ifxrtAddProcedure(const char* path, const char* name, const char* parameters, const char* returns,
                                    const char* body) {
  return guarded([&] { return addProcedure(path, name, parameters, returns, body); });
}

}  // extern "C"
