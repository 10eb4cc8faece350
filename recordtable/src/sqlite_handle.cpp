#include "sqlite_handle.h"

#include "recordtable/message_text.h"

namespace recordtable::detail {

Database::~Database() { close(); }

int Database::close() {
  if (db_ == nullptr) return SQLITE_OK;
  const int rc = sqlite3_close(db_);
  // A refusal would only come from an unfinalised statement, which the
  // Statement handles exclude; force it rather than leak.
  if (rc != SQLITE_OK) sqlite3_close_v2(db_);
  db_ = nullptr;
  return rc;
}

Statement::~Statement() { finalize(); }

void Statement::finalize() {
  if (stmt_ != nullptr) sqlite3_finalize(stmt_);
  stmt_ = nullptr;
}

std::string sqliteReason(sqlite3* db, int code) {
  // SQLite's text may repeat names read from a damaged file.
  const char* reason = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code);
  return quotedForMessage(reason != nullptr ? reason : "") + " (SQLite " + std::to_string(code) + ")";
}

}  // namespace recordtable::detail
