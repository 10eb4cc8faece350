// One open SQLite database: what a named connection of the runtime holds.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "login.h"
#include "status.h"
#include "value_guards.h"

struct sqlite3;

namespace ifxrt {

// How the database keeps its transactions; stored in the database itself
// (table ifxrt_properties, row 'logging'); a database without the row is
// logged.
enum class Logging { None, Buffered, Ansi };

// Names of the runtime's own tables inside a database.
inline constexpr const char* kPropertiesTable = "ifxrt_properties";
inline constexpr const char* kUsersTable = "ifxrt_users";

// Text stored for a logging kind, and the kind read back from such a text
// (case does not matter; false for an unknown text).
const char* loggingName(Logging logging);
bool loggingFromName(std::string_view name, Logging& logging);

// Puts the database open on `db` in SQLite's write-ahead-log mode, so that
// readers never hold up another connection's commit and a writer never
// stops readers, as Informix's committed read behaves; writers still take
// turns, the second one meeting the first one's lock (-244/-107).
void useWriteAheadLog(sqlite3* db);

// The logging kind recorded in the database open on `db`.
Status readLogging(sqlite3* db, Logging& logging);

// Owns its SQLite connection; closing it rolls back an open transaction.
class Database {
 public:
  // Opens the existing SQLite file `path` and reads its logging kind. Never
  // creates a file: a missing one gives -329 with second detail -111.
  static Status open(const std::string& path, std::unique_ptr<Database>& opened);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  Logging logging() const { return logging_; }

  // 0 when the database has no users, or `login` names one of them with the
  // right password; -951 (message argument: the user name) otherwise.
  Status checkLogin(const IfxLogin* login) const;

  // Runs exactly one SQL statement; a second statement in the text is a
  // syntax error. Rows processed is set for INSERT, UPDATE and DELETE.
  Status execute(std::string_view sql);

  // Brings the connection's value triggers up to date with the schema (see
  // value_guards.h); run before any statement that may write rows.
  Status guardValues();

  // True while an SQLite transaction is open on this connection.
  bool inTransaction() const;

  // How long a statement waits for a lock held by another connection before
  // failing with -244; 0 (the default, as Informix's NOT WAIT) fails at once,
  // a negative value waits without end.
  void setLockWait(int seconds);

  // The SQLite connection, for prepared statements, cursors and large
  // objects. Statements prepared on it keep it alive after the Database is
  // closed (it is closed with sqlite3_close_v2), so a statement can tell by
  // comparing handles whether the current connection is still its own.
  sqlite3* handle() const { return handle_; }

 private:
  Database(sqlite3* handle, Logging logging) : handle_(handle), logging_(logging) {}

  sqlite3* handle_;
  Logging logging_;
  SchemaVersions guarded_;
};

}  // namespace ifxrt
