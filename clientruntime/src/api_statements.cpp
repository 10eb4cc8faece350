// Roles 31, 39, 41, 47, 21, 29, 23, 35, 89, 581: prepared statements and
// cursors.
#include <sqlite3.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "call_guard.h"
#include "catalogue.h"
#include "current_connection.h"
#include "describe.h"
#include "procedures.h"
#include "serial_columns.h"
#include "sqlite_errors.h"
#include "transactions.h"
#include "type_phrases.h"
#include "value_binding.h"

using namespace ifxrt;

namespace {

constexpr size_t kMaxNameLength = 128;

bool validName(const char* name) { return name != nullptr && *name != '\0' && std::strlen(name) <= kMaxNameLength; }

Status notAvailable(const char* name) { return Status::error(code::kStatementNotAvailable, 0, name != nullptr ? name : ""); }

PreparedStatement* liveStatement(Runtime& rt, IfxStatement* handle) {
  IfxStatement* live = rt.prepared.live(handle);
  return live != nullptr && !live->isCursor ? static_cast<PreparedStatement*>(live) : nullptr;
}

Cursor* liveCursor(Runtime& rt, IfxStatement* handle) {
  IfxStatement* live = rt.prepared.live(handle);
  return live != nullptr && live->isCursor ? static_cast<Cursor*>(live) : nullptr;
}

// The current connection when it is the one `statement` was prepared under.
Status connectionOf(Runtime& rt, const PreparedStatement& statement, Database*& database) {
  database = rt.connections.current();
  if (database == nullptr) return Status::error(code::kConnectionDoesNotExist);
  if (statement.session == SessionStatement::None && database->handle() != statement.database) {
    return notAvailable(statement.name.c_str());
  }
  return Status::ok();
}

Status runSessionStatement(Database& database, const PreparedStatement& statement) {
  switch (statement.session) {
    case SessionStatement::LockMode: database.setLockWait(lockWaitSeconds(statement.sessionText)); return Status::ok();
    case SessionStatement::BeginWork: return beginWork(database);
    case SessionStatement::CommitWork: return commitWork(database);
    case SessionStatement::RollbackWork: return rollbackWork(database);
    default: return Status::ok();  // isolation: SQLite has one level
  }
}

// Rejects a text with a second statement after the first.
bool onlyOneStatement(sqlite3* db, const char* tail) {
  while (tail != nullptr && *tail != '\0') {
    SqliteStatement next;
    const char* rest = nullptr;
    if (next.prepare(db, tail, &rest) != SQLITE_OK || next) return false;
    if (rest == tail) break;
    tail = rest;
  }
  return true;
}

Status prepareSql(Database& database, const std::string& sql, PreparedStatement& statement) {
  statement.database = database.handle();
  const SessionStatement session = classifySessionStatement(sql);
  if (session == SessionStatement::Invalid) return Status::error(code::kSyntaxError);
  if (session != SessionStatement::None) {
    statement.session = session;
    statement.sessionText = sql;
    statement.kind = IFX_KIND_OTHER;
    return Status::ok();
  }
  if (Status guarded = database.guardValues(); guarded.failed()) return guarded;
  if (isProcedureCall(sql)) return prepareProcedureCall(database.handle(), sql, statement);
  if (Status catalogue = prepareCatalogue(database.handle(), sql); catalogue.failed()) return catalogue;
  if (isRoutineDefinition(sql)) {
    if (Status status = routineDefinitionText(database.handle(), sql, statement.sqliteText); status.failed()) {
      return status;
    }
  } else {
    statement.sqliteText = rewriteInformixStatement(sql);
  }
  const char* tail = nullptr;
  const int rc = statement.sqlite.prepare(database.handle(), statement.sqliteText, &tail);
  if (rc != SQLITE_OK) return statusFromSqlite(database.handle(), rc);
  if (!statement.sqlite || !onlyOneStatement(database.handle(), tail)) return Status::error(code::kSyntaxError);
  statement.markerCount = sqlite3_bind_parameter_count(statement.sqlite.get());
  describeColumns(statement.sqlite.get(), statement.columns);
  statement.kind = statementKind(sql, statement.columns.size());
  return Status::ok();
}

int32_t bindArguments(sqlite3_stmt* sqlite, const PreparedStatement& statement, const IfxDescriptor* parameters) {
  if (statement.hasProcedure) return bindProcedureArguments(sqlite, statement.procedure, parameters);
  if (statement.markerCount == 0) return 0;
  if (parameters == nullptr || parameters->entries == nullptr || parameters->count < statement.markerCount) {
    return code::kHostVariableCount;
  }
  for (int i = 0; i < statement.markerCount; ++i) {
    const int32_t rc = bindParameter(sqlite, i + 1, parameters->entries[i]);
    if (rc != 0) return rc;
  }
  return 0;
}

bool changesRows(const PreparedStatement& statement, sqlite3_stmt* sqlite) {
  switch (statement.kind) {
    case IFX_KIND_INSERT:
    case IFX_KIND_UPDATE:
    case IFX_KIND_DELETE: return true;
    case IFX_KIND_EXECUTE_PROCEDURE: return !sqlite3_stmt_readonly(sqlite);
    default: return false;
  }
}

// Runs `sqlite` to its end; rows are passed over.
Status runToEnd(Database& database, const PreparedStatement& statement, sqlite3_stmt* sqlite) {
  int rc;
  int32_t rows = 0;
  while ((rc = sqlite3_step(sqlite)) == SQLITE_ROW) ++rows;
  if (rc != SQLITE_DONE) return statusFromSqlite(database.handle(), rc);
  Status status;
  if (statement.kind == IFX_KIND_SELECT) status.rowsProcessed = rows;  // the rows processed
  if (changesRows(statement, sqlite)) status.rowsProcessed = sqlite3_changes(database.handle());
  const bool updateOrDelete = statement.kind == IFX_KIND_UPDATE || statement.kind == IFX_KIND_DELETE;
  if (updateOrDelete && status.rowsProcessed == 0 && database.logging() == Logging::Ansi) status.code = code::kNoMoreRows;
  return status;
}

Status execute(Runtime& rt, IfxStatement* handle, const IfxDescriptor* parameters) {
  PreparedStatement* statement = liveStatement(rt, handle);
  if (statement == nullptr) return notAvailable(nullptr);
  Database* database = nullptr;
  Status status = connectionOf(rt, *statement, database);
  if (status.failed()) return status;
  if (statement->session != SessionStatement::None) return runSessionStatement(*database, *statement);
  status = beginImplicitTransaction(*database);
  if (!status.failed()) status = database->guardValues();
  if (status.failed()) return status;
  sqlite3_stmt* sqlite = statement->sqlite.get();
  sqlite3_reset(sqlite);
  sqlite3_clear_bindings(sqlite);
  const int32_t bound = bindArguments(sqlite, *statement, parameters);
  if (bound != 0) return Status::error(bound);
  status = runToEnd(*database, *statement, sqlite);
  sqlite3_reset(sqlite);  // lets go of the locks the run took
  if (!status.failed()) numberSerialColumns(database->handle(), statement->sqliteText);
  return status;
}

Status openCursor(Runtime& rt, IfxStatement* handle, const IfxDescriptor* parameters) {
  Cursor* cursor = liveCursor(rt, handle);
  if (cursor == nullptr) return notAvailable(nullptr);
  if (cursor->open || cursor->statement == nullptr) return Status::error(code::kCursorAlreadyOpen, 0, cursor->name);
  const PreparedStatement& statement = *cursor->statement;
  Database* database = nullptr;
  Status status = connectionOf(rt, statement, database);
  if (status.failed()) return status;
  if (statement.session != SessionStatement::None) {
    status = runSessionStatement(*database, statement);
    if (status.failed()) return status;
    cursor->open = cursor->finished = true;
    return status;
  }
  status = beginImplicitTransaction(*database);
  if (!status.failed()) status = database->guardValues();
  if (status.failed()) return status;
  status = prepareCatalogue(database->handle(), statement.sqliteText);
  if (status.failed()) return status;
  auto running = std::make_unique<SqliteStatement>();
  const int rc = running->prepare(database->handle(), statement.sqliteText);
  if (rc != SQLITE_OK) return statusFromSqlite(database->handle(), rc);
  const int32_t bound = bindArguments(running->get(), statement, parameters);
  if (bound != 0) return Status::error(bound);
  cursor->running = std::move(running);
  cursor->open = true;
  cursor->finished = false;
  cursor->fetched = 0;
  if (statement.columns.empty()) {  // nothing to fetch: it runs now
    status = runToEnd(*database, statement, cursor->running->get());
    cursor->finished = true;
  }
  return status;
}

Status fetch(Runtime& rt, IfxStatement* handle, IfxDescriptor* columns) {
  Cursor* cursor = liveCursor(rt, handle);
  if (cursor == nullptr) return notAvailable(nullptr);
  if (!cursor->open || cursor->statement == nullptr) return Status::error(code::kCursorNotOpen);
  Database* database = nullptr;
  Status status = connectionOf(rt, *cursor->statement, database);
  if (status.failed()) return status;
  if (cursor->finished || !cursor->running) {
    Status end = Status::error(code::kNoMoreRows);
    end.rowsProcessed = cursor->fetched;
    return end;
  }
  sqlite3_stmt* sqlite = cursor->running->get();
  const int rc = sqlite3_step(sqlite);
  // Rows processed is the count of rows fetched so far, as Informix counts.
  if (rc == SQLITE_DONE) {
    cursor->finished = true;
    Status end = Status::error(code::kNoMoreRows);
    end.rowsProcessed = cursor->fetched;
    return end;
  }
  if (rc != SQLITE_ROW) return statusFromSqlite(database->handle(), rc);
  ++cursor->fetched;
  Status row;
  row.rowsProcessed = cursor->fetched;
  if (columns == nullptr) return row;
  const std::vector<ResultColumn>& described = cursor->statement->columns;
  const int available = sqlite3_column_count(sqlite);
  int count = columns->count < static_cast<int>(described.size()) ? columns->count : static_cast<int>(described.size());
  if (count > available) count = available;
  if (count > 0 && columns->entries == nullptr) return Status::error(code::kHostVariableCount);
  int32_t outcome = 0;
  for (int i = 0; i < count; ++i) {
    const int32_t written = fetchColumn(sqlite, i, described[static_cast<size_t>(i)], columns->entries[i]);
    if (written == code::kValueTruncated) {
      outcome = written;
    } else if (written != 0) {
      return Status::error(written, 0, described[static_cast<size_t>(i)].name);
    }
  }
  row.code = outcome;
  return row;
}

void closeCursor(Cursor& cursor) {
  cursor.running.reset();
  cursor.open = false;
  cursor.finished = false;
}

// One block: head, entries, then the names.
IfxDescriptor* makeColumnArea(const std::vector<ResultColumn>& columns) {
  size_t size = IFX_DESCRIPTOR_SIZE(columns.size());
  for (const ResultColumn& column : columns) size += column.name.size() + 1;
  auto* area = static_cast<IfxDescriptor*>(std::calloc(1, size));
  if (area == nullptr) return nullptr;
  area->count = static_cast<int16_t>(columns.size());
  area->entries = reinterpret_cast<IfxDescriptorEntry*>(reinterpret_cast<char*>(area) + sizeof(IfxDescriptor));
  char* names = reinterpret_cast<char*>(area->entries + columns.size());
  for (size_t i = 0; i < columns.size(); ++i) {
    const ResultColumn& column = columns[i];
    IfxDescriptorEntry& entry = area->entries[i];
    entry.type = static_cast<int16_t>(column.type.type | (column.notNull ? IFX_TYPE_NOT_NULL : 0));
    entry.length = column.type.length;
    entry.extendedType = column.type.extendedType;
    entry.sourceType = entry.type;
    entry.sourceLength = entry.length;
    std::memcpy(names, column.name.c_str(), column.name.size() + 1);
    entry.name = names;
    names += column.name.size() + 1;
  }
  return area;
}

constexpr size_t kMaxColumns = 32767;

}  // namespace

extern "C" {

IFXRT_API IfxStatement* clientFindStatement(const char* name, int32_t mode) {
  Runtime& rt = runtime();
  if (takeFault(rt, IFX_ROLE_FIND_STATEMENT)) return nullptr;
  try {
    IfxStatement* found = nullptr;
    if (validName(name) && mode == IFX_FIND_STATEMENT) found = rt.prepared.findStatement(name);
    if (validName(name) && mode == IFX_FIND_CURSOR) found = rt.prepared.findCursor(name);
    if (found != nullptr) return found;
  } catch (...) {
  }
  resetStatusArea(rt.status);
  writeStatus(rt.status, notAvailable(name));
  return nullptr;
}

IFXRT_API void clientPrepare(const char* statementName, const char* sql) {
  runStatementCall(IFX_ROLE_PREPARE, [&](Runtime& rt) {
    if (!validName(statementName)) return notAvailable(statementName);
    if (sql == nullptr) return Status::error(code::kSyntaxError);
    return onCurrentConnection(rt, sql, [&](Database& database) {
      auto statement = std::make_unique<PreparedStatement>(statementName);
      const Status status = prepareSql(database, sql, *statement);
      if (status.failed()) return status;
      if (statement->columns.size() > kMaxColumns) return Status::error(code::kSyntaxError);
      rt.prepared.addStatement(std::move(statement));
      return status;
    });
  });
}

IFXRT_API void clientDescribe(IfxStatement* statement, IfxDescriptor** columns) {
  if (columns != nullptr) *columns = nullptr;
  runStatementCall(IFX_ROLE_DESCRIBE, [&](Runtime& rt) {
    PreparedStatement* prepared = liveStatement(rt, statement);
    if (prepared == nullptr || columns == nullptr) return notAvailable(nullptr);
    IfxDescriptor* area = makeColumnArea(prepared->columns);
    if (area == nullptr) return Status::error(code::kOutOfMemory);
    *columns = area;
    Status status;
    status.code = prepared->kind;
    return status;
  });
}

IFXRT_API void clientExecute(IfxStatement* statement, IfxDescriptor* parameters) {
  runStatementCall(IFX_ROLE_EXECUTE, [&](Runtime& rt) { return execute(rt, statement, parameters); });
}

IFXRT_API void clientDeclareCursor(const char* cursorName, IfxStatement* statement, int32_t /*options*/) {
  runStatementCall(IFX_ROLE_DECLARE_CURSOR, [&](Runtime& rt) {
    PreparedStatement* prepared = liveStatement(rt, statement);
    if (!validName(cursorName) || prepared == nullptr) return notAvailable(cursorName);
    rt.prepared.addCursor(std::make_unique<Cursor>(cursorName, prepared));
    return Status::ok();
  });
}

IFXRT_API void clientOpenCursor(IfxStatement* cursor, IfxDescriptor* parameters) {
  runStatementCall(IFX_ROLE_OPEN_CURSOR, [&](Runtime& rt) { return openCursor(rt, cursor, parameters); });
}

IFXRT_API void clientFetch(IfxStatement* cursor, IfxDescriptor* columns) {
  runStatementCall(IFX_ROLE_FETCH, [&](Runtime& rt) { return fetch(rt, cursor, columns); });
}

IFXRT_API void clientCloseCursor(IfxStatement* cursor) {
  runStatementCall(IFX_ROLE_CLOSE_CURSOR, [&](Runtime& rt) {
    Cursor* live = liveCursor(rt, cursor);
    if (live == nullptr) return notAvailable(nullptr);
    closeCursor(*live);
    return Status::ok();
  });
}

IFXRT_API void clientFree(IfxStatement* handle) {
  runStatementCall(IFX_ROLE_FREE, [&](Runtime& rt) {
    if (rt.prepared.live(handle) == nullptr) return notAvailable(nullptr);
    rt.prepared.free(handle);
    return Status::ok();
  });
}

IFXRT_API void clientFreeDescriptor(IfxDescriptor* area) {
  try {
    runtime().faults.countCall(IFX_ROLE_FREE_DESCRIPTOR);  // a planned fault changes nothing here
  } catch (...) {
  }
  std::free(area);
}

}  // extern "C"
