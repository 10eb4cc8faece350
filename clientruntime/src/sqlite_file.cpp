// Opening an SQLite file for an administration call.
#include "sqlite_file.h"

#include <filesystem>
#include <system_error>

#include "sqlite_path.h"

namespace ifxrt {
namespace {

// How long an administration call waits for a connection of the runtime
// that holds the file locked.
constexpr int kBusyTimeoutMs = 2000;

}  // namespace

bool SqliteFile::open(const char* path, FileOpening opening) {
  if (path == nullptr || *path == '\0' || handle_ != nullptr) return false;
  std::error_code error;
  if (opening == FileOpening::ExistingOnly && !std::filesystem::is_regular_file(path, error)) return false;
  int flags = SQLITE_OPEN_READWRITE;
  if (opening == FileOpening::CreateWhenMissing) flags |= SQLITE_OPEN_CREATE;
  if (sqlite3_open_v2(sqliteFileName(path).c_str(), &handle_, flags, nullptr) != SQLITE_OK) return false;
  sqlite3_busy_timeout(handle_, kBusyTimeoutMs);
  return true;
}

bool SqliteFile::exec(const std::string& sql) {
  return sqlite3_exec(handle_, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

}  // namespace ifxrt
