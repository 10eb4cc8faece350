// An SQLite file opened by an administration call (not one of the runtime's
// connections): opening by path and closing when done.
#pragma once

#include <sqlite3.h>

#include <string>

namespace ifxrt {

// How the file is opened: an existing one only, or made when missing.
enum class FileOpening { ExistingOnly, CreateWhenMissing };

// Owns the handle; closes it when the call is done with the file.
class SqliteFile {
 public:
  SqliteFile() = default;
  ~SqliteFile() { sqlite3_close(handle_); }
  SqliteFile(const SqliteFile&) = delete;
  SqliteFile& operator=(const SqliteFile&) = delete;

  // Opens `path` as a plain file (never an SQLite URI or special name), for
  // reading and writing, waiting a while for a runtime connection that holds
  // it locked. False for a null or empty path, a missing file when
  // `opening` is ExistingOnly, or a file SQLite cannot open.
  bool open(const char* path, FileOpening opening);

  sqlite3* handle() const { return handle_; }

  // Runs SQL without results; true on success.
  bool exec(const std::string& sql);

 private:
  sqlite3* handle_ = nullptr;
};

}  // namespace ifxrt
