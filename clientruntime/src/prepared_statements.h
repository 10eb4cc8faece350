// Prepared statements and cursors: what a statement or cursor handle of the
// runtime holds, and the process-wide table of them by name.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "column_types.h"
#include "ifxrt/client.h"
#include "session_statements.h"
#include "sqlite_statement.h"

// The handle type of ifxrt/statements.h: either a prepared statement or a
// cursor (ifxrt::PreparedStatement, ifxrt::Cursor).
struct IfxStatement {
  explicit IfxStatement(bool cursor, std::string name) : isCursor(cursor), name(std::move(name)) {}
  virtual ~IfxStatement() = default;
  IfxStatement(const IfxStatement&) = delete;
  IfxStatement& operator=(const IfxStatement&) = delete;
  const bool isCursor;
  const std::string name;
};

namespace ifxrt {

// One result column as describe presents it.
struct ResultColumn {
  std::string name;
  ColumnType type;
  bool notNull = false;
};

// An argument of EXECUTE PROCEDURE: a marker (its position among the
// markers) or an SQL expression evaluated when the procedure runs.
struct ProcedureArgument {
  int marker = -1;
  std::string expression;
};

struct ProcedureCall {
  std::string name;
  std::vector<std::string> parameterNames;  // in order, without ":"
  std::vector<ProcedureArgument> arguments;  // one per parameter
};

class Cursor;

class PreparedStatement : public IfxStatement {
 public:
  explicit PreparedStatement(std::string name) : IfxStatement(false, std::move(name)) {}

  sqlite3* database = nullptr;       // the connection it was prepared under
  std::string sqliteText;            // what SQLite runs (a procedure's body)
  SqliteStatement sqlite;            // prepared once; also keeps `database` alive
  SessionStatement session = SessionStatement::None;
  std::string sessionText;           // the text of a session statement
  int32_t kind = 0;                  // IFX_KIND_...
  std::vector<ResultColumn> columns;
  int markerCount = 0;
  bool hasProcedure = false;
  ProcedureCall procedure;
  std::vector<Cursor*> cursors;      // declared on it; freed with it
};

class Cursor : public IfxStatement {
 public:
  Cursor(std::string name, PreparedStatement* statement) : IfxStatement(true, std::move(name)), statement(statement) {}

  PreparedStatement* statement;  // null once the statement was freed
  std::unique_ptr<SqliteStatement> running;  // while open
  bool open = false;
  bool finished = false;         // the last row was passed
  int32_t fetched = 0;           // rows fetched since it was opened
};

// Statements and cursors by name. Owns them; a handle stays valid until it
// is freed here.
class StatementTable {
 public:
  // Null when the handle is not one this table holds (never made, freed).
  IfxStatement* live(IfxStatement* handle) const;
  PreparedStatement* findStatement(const std::string& name) const;
  Cursor* findCursor(const std::string& name) const;

  // Adds a statement or cursor, freeing one of the same name first.
  PreparedStatement* addStatement(std::unique_ptr<PreparedStatement> statement);
  Cursor* addCursor(std::unique_ptr<Cursor> cursor);

  // Frees a statement with its cursors, or a cursor.
  void free(IfxStatement* handle);
  void clear();

 private:
  std::map<std::string, std::unique_ptr<PreparedStatement>> statements_;
  std::map<std::string, std::unique_ptr<Cursor>> cursors_;
};

}  // namespace ifxrt
