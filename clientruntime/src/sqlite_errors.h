// Turns SQLite failures into the Informix status codes the driver expects.
#pragma once

#include "status.h"

struct sqlite3;

namespace ifxrt {

// Status for the SQLite result code `rc` of the last call on `db`, read with
// the connection's error message:
//   syntax errors -201; unknown table -206 (argument: the table); unknown
//   column -217; table or index already there -310 / -316; unique key -268
//   with second detail -100; NULL into NOT NULL -391; check -530; foreign key
//   -691; busy or locked -244 with second detail -107; out of memory -208;
//   anything else -29000 with the SQLite extended code as second detail and
//   "(<SQLite message>) " as argument.
Status statusFromSqlite(sqlite3* db, int rc);

}  // namespace ifxrt
