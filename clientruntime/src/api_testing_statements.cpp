// Test controls for statements (ifxrt/testing.h): running a script into a
// database and registering stored procedures.
#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "ifxrt/testing.h"
#include "procedures.h"
#include "serial_columns.h"
#include "sqlite_errors.h"
#include "sqlite_statement.h"
#include "type_phrases.h"

using namespace ifxrt;

namespace {

constexpr int kBusyTimeoutMs = 2000;

struct SqliteFile {
  sqlite3* handle = nullptr;
  ~SqliteFile() { sqlite3_close(handle); }
};

bool openExisting(const char* path, SqliteFile& file) {
  std::error_code error;
  if (path == nullptr || *path == '\0' || !std::filesystem::is_regular_file(path, error)) return false;
  if (sqlite3_open_v2(path, &file.handle, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) return false;
  sqlite3_busy_timeout(file.handle, kBusyTimeoutMs);
  return true;
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
  if (script == nullptr || !openExisting(path, file)) {
    copyError("cannot open the database file", error, errorSize);
    return -1;
  }
  const std::string sql = rewriteTypePhrases(script);
  const char* next = sql.c_str();
  while (*next != '\0') {
    SqliteStatement statement;
    const char* tail = nullptr;
    int rc = statement.prepare(file.handle, next, &tail);
    if (rc == SQLITE_OK && statement) {
      while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
      }
      if (rc == SQLITE_DONE) rc = SQLITE_OK;
    }
    if (rc == SQLITE_OK) numberSerialColumns(file.handle, std::string_view(next, tail != nullptr ? static_cast<size_t>(tail - next) : 0));
    if (rc != SQLITE_OK) {
      const Status status = statusFromSqlite(file.handle, rc);
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
  if (name == nullptr || *name == '\0' || body == nullptr || !openExisting(path, file)) return -1;
  const std::string create = std::string("CREATE TABLE IF NOT EXISTS ") + kProceduresTable +
                             " (name TEXT PRIMARY KEY, parameters TEXT NOT NULL, returns TEXT NOT NULL,"
                             " body TEXT NOT NULL)";
  if (sqlite3_exec(file.handle, create.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) return -1;
  SqliteStatement insert;
  int rc = insert.prepare(file.handle, std::string("INSERT OR REPLACE INTO ") + kProceduresTable + " VALUES (?1, ?2, ?3, ?4)");
  const char* values[] = {name, parameters != nullptr ? parameters : "", returns != nullptr ? returns : "", body};
  for (int i = 0; i < 4 && rc == SQLITE_OK; ++i) rc = sqlite3_bind_text(insert.get(), i + 1, values[i], -1, SQLITE_TRANSIENT);
  if (rc == SQLITE_OK) rc = sqlite3_step(insert.get());
  return rc == SQLITE_DONE ? 0 : -1;
}

}  // namespace

extern "C" {

IFXRT_API int32_t ifxrtRunScript(const char* path, const char* script, char* error, size_t errorSize) {
  try {
    return runScript(path, script, error, errorSize);
  } catch (...) {
    return -1;
  }
}

IFXRT_API int32_t ifxrtAddProcedure(const char* path, const char* name, const char* parameters, const char* returns,
                                    const char* body) {
  try {
    return addProcedure(path, name, parameters, returns, body);
  } catch (...) {
    return -1;
  }
}

}  // extern "C"
