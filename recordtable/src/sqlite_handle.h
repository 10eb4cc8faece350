// Owning handles for SQLite connections and statements, and the one helper
// that turns an SQLite failure into a TableError.
#pragma once

#include <sqlite3.h>

#include <string>

namespace recordtable::detail {

class Database {
 public:
  Database() = default;
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  sqlite3** out() { return &db_; }
  sqlite3* get() const { return db_; }
  // Closes now; returns SQLite's result (SQLITE_OK when nothing was open).
  int close();

 private:
  sqlite3* db_ = nullptr;
};

class Statement {
 public:
  Statement() = default;
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  sqlite3_stmt** out() { return &stmt_; }
  sqlite3_stmt* get() const { return stmt_; }
  void finalize();

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

// SQLite's own text for the last failure on `db`, quoted and escaped, with
// its code.
std::string sqliteReason(sqlite3* db, int code);

}  // namespace recordtable::detail
