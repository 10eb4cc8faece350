// Owns a prepared SQLite statement for the length of one query.
#pragma once

#include <sqlite3.h>

#include <string_view>

namespace ifxrt {

class SqliteStatement {
 public:
  SqliteStatement() = default;
  ~SqliteStatement() { sqlite3_finalize(statement_); }
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;

  // Prepares the first statement of `sql`; `tail` receives where the rest of
  // the text begins. Returns the SQLite result code.
  int prepare(sqlite3* db, std::string_view sql, const char** tail = nullptr) {
    sqlite3_finalize(statement_);
    statement_ = nullptr;
    return sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &statement_, tail);
  }

  sqlite3_stmt* get() const { return statement_; }
  explicit operator bool() const { return statement_ != nullptr; }

 private:
  sqlite3_stmt* statement_ = nullptr;
};

}  // namespace ifxrt
