// BEGIN WORK, COMMIT WORK and ROLLBACK WORK as Informix runs them, over
// SQLite transactions.
//
// A logged database runs each statement in its own transaction until BEGIN
// WORK opens one: BEGIN while open gives -535, COMMIT or ROLLBACK with none
// open -255. A database without log has no transactions: all three give
// -256. An ANSI database is always in a transaction: the first statement after
// a commit opens one implicitly (see beginImplicitTransaction), so all three
// succeed and BEGIN keeps the open transaction going.
#pragma once

#include "database.h"
#include "status.h"

namespace ifxrt {

Status beginWork(Database& database);
Status commitWork(Database& database);
Status rollbackWork(Database& database);

// Opens the implicit transaction of an ANSI database before a statement runs;
// does nothing for other databases or when one is already open.
Status beginImplicitTransaction(Database& database);

}  // namespace ifxrt
