// Running a statement on the current connection, with the statement log.
#pragma once

#include <string>

#include "runtime.h"
#include "status_codes.h"

namespace ifxrt {

// Records `logText` under the current connection's name (empty when there is
// none), then runs `operation` (Status operation(Database&)) on the current
// connection; -1803 when there is no current connection.
template <typename Operation>
Status onCurrentConnection(Runtime& rt, const std::string& logText, Operation&& operation) {
  rt.statements.record(logText, rt.connections.currentName());
  Database* database = rt.connections.current();
  if (database == nullptr) return Status::error(code::kConnectionDoesNotExist);
  return operation(*database);
}

}  // namespace ifxrt
