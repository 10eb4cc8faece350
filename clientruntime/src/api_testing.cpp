// Test controls (ifxrt/testing.h): database properties, users, faults, the
// statement log and resetting the runtime between tests.
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "call_guard.h"
#include "sqlite_path.h"
#include "sqlite_statement.h"

using namespace ifxrt;

namespace {

// How long a test control waits for a connection of the runtime that holds
// the file locked.
constexpr int kBusyTimeoutMs = 2000;

// Closes the handle when the test control is done with the file.
struct SqliteFile {
  sqlite3* handle = nullptr;
  ~SqliteFile() { sqlite3_close(handle); }
};

bool openFile(const char* path, int flags, SqliteFile& file) {
  if (path == nullptr || *path == '\0') return false;
  if (sqlite3_open_v2(sqliteFileName(path).c_str(), &file.handle, flags, nullptr) != SQLITE_OK) return false;
  sqlite3_busy_timeout(file.handle, kBusyTimeoutMs);
  return true;
}

bool exec(sqlite3* db, const std::string& sql) {
  return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

// Inserts or replaces one row (key, value) of `table`.
bool putRow(sqlite3* db, const char* table, const char* key, const char* value) {
  SqliteStatement insert;
  int rc = insert.prepare(db, std::string("INSERT OR REPLACE INTO ") + table + " VALUES (?1, ?2)");
  if (rc == SQLITE_OK) rc = sqlite3_bind_text(insert.get(), 1, key, -1, SQLITE_TRANSIENT);
  if (rc == SQLITE_OK) rc = sqlite3_bind_text(insert.get(), 2, value, -1, SQLITE_TRANSIENT);
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
  if (!knownLogging(logging, kind) || !openFile(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, file)) return -1;
  const bool done =
      exec(file.handle, std::string("CREATE TABLE IF NOT EXISTS ") + kPropertiesTable +
                            " (name TEXT PRIMARY KEY, value TEXT NOT NULL)") &&
      putRow(file.handle, kPropertiesTable, "logging", loggingName(kind));
  return done ? 0 : -1;
}

int32_t addUser(const char* path, const char* user, const char* password) {
  std::error_code error;
  SqliteFile file;
  if (path == nullptr || user == nullptr || !std::filesystem::is_regular_file(path, error) ||
      !openFile(path, SQLITE_OPEN_READWRITE, file)) {
    return -1;
  }
  const bool done = exec(file.handle, std::string("CREATE TABLE IF NOT EXISTS ") + kUsersTable +
                                          " (name TEXT PRIMARY KEY, password TEXT NOT NULL)") &&
                    putRow(file.handle, kUsersTable, user, password != nullptr ? password : "");
  return done ? 0 : -1;
}

}  // namespace

extern "C" {

IFXRT_API int32_t ifxrtCreateDatabase(const char* path, IfxLogging logging) {
  try {
    return createDatabase(path, logging);
  } catch (...) {
    return -1;
  }
}

IFXRT_API int32_t ifxrtAddUser(const char* path, const char* user, const char* password) {
  try {
    return addUser(path, user, password);
  } catch (...) {
    return -1;
  }
}

IFXRT_API void ifxrtFailCall(IfxRole role, int nth, int32_t code, int32_t secondDetail) {
  try {
    runtime().faults.add(role, nth, Fault{code, secondDetail});
  } catch (...) {
    // Out of memory while planning a fault: the fault is not planned.
  }
}

IFXRT_API void ifxrtClearFaults(void) { runtime().faults.clear(); }

IFXRT_API size_t ifxrtStatementCount(void) { return runtime().statements.size(); }

IFXRT_API const char* ifxrtStatementText(size_t index) { return runtime().statements.text(index); }

IFXRT_API const char* ifxrtStatementConnection(size_t index) { return runtime().statements.connection(index); }

IFXRT_API void ifxrtClearStatements(void) { runtime().statements.clear(); }

IFXRT_API void ifxrtReset(void) {
  Runtime& rt = runtime();
  rt.prepared.clear();
  rt.lobs.clear();
  rt.connections.closeAll();
  rt.faults.clear();
  rt.statements.clear();
  resetStatusArea(rt.status);
}

}  // extern "C"
