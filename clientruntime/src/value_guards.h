// Keeps every value written into a table in its column's Informix type.
//
// Each connection of the stand-in (and the connection of a script run)
// registers the SQL function ifxrt_store(value, type, length, refuse long
// texts) and holds temporary triggers, one after INSERT and one after
// UPDATE per table, that pass every written column through it: the value is
// replaced by what the column stores (column_values.h), or the statement
// fails with the Informix code of the refusal and SQLite undoes it, so the
// table is left as it was. The triggers are temporary (they live in the
// connection, not in the file), so other SQLite programs can still open the
// database; they are made again whenever the schema changed.
#pragma once

#include <cstdint>
#include <string_view>

#include "column_values.h"
#include "status.h"

struct sqlite3;

namespace ifxrt {

// Registers ifxrt_store on the connection.
Status registerValueFunctions(sqlite3* db);

// The schema versions the triggers were made for.
struct SchemaVersions {
  int64_t main = -1;
  int64_t temp = -1;
  bool operator==(const SchemaVersions&) const = default;
};

// Remakes the connection's triggers when the schema changed since they were
// made for `seen` (updated).
Status refreshValueGuards(sqlite3* db, LongText longText, SchemaVersions& seen);

// True, with the code and argument, for an SQLite error message that is a
// refusal raised by ifxrt_store.
bool refusalOfMessage(std::string_view message, Refusal& refusal);

}  // namespace ifxrt
