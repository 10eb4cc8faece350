#include "transactions.h"

#include "status_codes.h"

namespace ifxrt {
namespace {

// Ends the open transaction with `statement` ("COMMIT" or "ROLLBACK").
Status endTransaction(Database& database, const char* statement) {
  switch (database.logging()) {
    case Logging::None:
      return Status::error(code::kTransactionNotAvailable);
    case Logging::Ansi:
      return database.inTransaction() ? database.execute(statement) : Status::ok();
    case Logging::Buffered:
      break;
  }
  if (!database.inTransaction()) return Status::error(code::kNotInTransaction);
  return database.execute(statement);
}

}  // namespace

Status beginWork(Database& database) {
  switch (database.logging()) {
    case Logging::None:
      return Status::error(code::kTransactionNotAvailable);
    case Logging::Ansi:
      return beginImplicitTransaction(database);
    case Logging::Buffered:
      break;
  }
  if (database.inTransaction()) return Status::error(code::kAlreadyInTransaction);
  return database.execute("BEGIN");
}

Status commitWork(Database& database) { return endTransaction(database, "COMMIT"); }

Status rollbackWork(Database& database) { return endTransaction(database, "ROLLBACK"); }

Status beginImplicitTransaction(Database& database) {
  if (database.logging() != Logging::Ansi || database.inTransaction()) return Status::ok();
  return database.execute("BEGIN");
}

}  // namespace ifxrt
