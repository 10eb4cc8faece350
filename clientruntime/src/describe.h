// What describing a prepared statement reports: its result columns with
// their Informix types, and the statement kind.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "prepared_statements.h"

struct sqlite3_stmt;

namespace ifxrt {

// One ResultColumn per result column of `statement`. Columns without an
// Informix declared type (expressions) are typed from their first value when
// the statement only reads, else VARCHAR(255).
void describeColumns(sqlite3_stmt* statement, std::vector<ResultColumn>& columns);

// The type an untyped value gets: INTEGER within 32 bits, DECIMAL(32,0)
// beyond, FLOAT, VARCHAR(255), BYTE; VARCHAR(255) for NULL (storage is an
// SQLite type code).
ColumnType typeOfStoredValue(int storage, long long integer);

// IFX_KIND_... for an SQL text; SELECT for any statement returning columns.
int32_t statementKind(std::string_view sql, size_t columnCount);

}  // namespace ifxrt
