// Roles 49, 415, 61: running SQL texts on the current connection.
#include <algorithm>
#include <cstring>
#include <string_view>

#include "call_guard.h"
#include "current_connection.h"
#include "procedures.h"
#include "serial_columns.h"
#include "session_statements.h"
#include "transactions.h"
#include "type_phrases.h"

using namespace ifxrt;

namespace {

// Size of the statement id a fixed statement runs with.
constexpr size_t kStatementIdSize = 8;

Status runText(Database& database, std::string_view sql) {
  switch (classifySessionStatement(sql)) {
    case SessionStatement::Isolation:
      return Status::ok();  // SQLite has one isolation level
    case SessionStatement::LockMode:
      database.setLockWait(lockWaitSeconds(sql));
      return Status::ok();
    case SessionStatement::Invalid:
      return Status::error(code::kSyntaxError);
    case SessionStatement::BeginWork:
      return beginWork(database);
    case SessionStatement::CommitWork:
      return commitWork(database);
    case SessionStatement::RollbackWork:
      return rollbackWork(database);
    case SessionStatement::None:
      break;
  }
  Status status = beginImplicitTransaction(database);
  if (status.failed()) return status;
  if (isProcedureCall(sql)) {
    status = database.guardValues();
    return status.failed() ? status : runProcedureCall(database, sql);
  }
  if (isRoutineDefinition(sql)) {
    std::string registration;
    status = routineDefinitionText(database.handle(), sql, registration);
    return status.failed() ? status : database.execute(registration);
  }
  // Informix type phrases in DDL become names SQLite takes.
  status = database.execute(rewriteInformixStatement(sql));
  if (!status.failed()) numberSerialColumns(database.handle(), sql);
  return status;
}

Status executeOnCurrent(Runtime& rt, const char* sql) {
  if (sql == nullptr) return Status::error(code::kSyntaxError);
  return onCurrentConnection(rt, sql, [sql](Database& database) { return runText(database, sql); });
}

bool isCleared(const void* id) {
  const auto* bytes = static_cast<const unsigned char*>(id);
  return std::all_of(bytes, bytes + kStatementIdSize, [](unsigned char byte) { return byte == 0; });
}

}  // namespace

extern "C" {

IFXRT_API void clientExecuteText(const char* sql) {
  runStatementCall(IFX_ROLE_EXECUTE_TEXT, [sql](Runtime& rt) { return executeOnCurrent(rt, sql); });
}

IFXRT_API void clientClearBuffer(void* id, size_t length) {
  if (takeFault(runtime(), IFX_ROLE_CLEAR_BUFFER)) return;
  if (id != nullptr) std::memset(id, 0, length);
}

IFXRT_API void clientExecuteFixed(void* id, const char* sql) {
  runStatementCall(IFX_ROLE_EXECUTE_FIXED, [id, sql](Runtime& rt) {
    if (id == nullptr || !isCleared(id)) {
      return Status::error(code::kRuntimeError, 0, "(statement id not cleared) ");
    }
    return executeOnCurrent(rt, sql);
  });
}

}  // extern "C"
