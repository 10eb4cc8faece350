// SERIAL numbering: Informix gives a SERIAL column the next number when a
// row is inserted with 0 (or no value) there. SQLite has no such column, so
// each SERIAL, SERIAL8 or BIGSERIAL column gets a trigger that numbers such
// rows after the insert: one more than the largest number in the column.
#pragma once

#include <string_view>

struct sqlite3;

namespace ifxrt {

// After a statement that may have made or changed a table (CREATE, ALTER):
// adds the numbering trigger of every SERIAL column that has none yet.
// Tables where a trigger cannot be made (WITHOUT ROWID) are left as they are.
void numberSerialColumns(sqlite3* db, std::string_view sql);

}  // namespace ifxrt
