// Moving values between descriptor entries and SQLite: parameters into a
// statement, result columns into the places a caller bound.
#pragma once

#include <cstdint>
#include <climits>

#include "ifxrt/client.h"
#include "prepared_statements.h"

struct sqlite3_stmt;

namespace ifxrt {

// Binds the value of a parameter entry to SQLite parameter `index` (from 1).
// 0, or -254 for an entry whose type or value cannot be bound, or a value
// conversion's code.
int32_t bindParameter(sqlite3_stmt* statement, int index, const IfxDescriptorEntry& entry);

// Writes result column `index` (from 0) of the current row, described as
// `column`, into the place bound in `entry`. 0, -451 when the value was cut
// (it is written all the same), -254 for a place of a type the runtime does
// not know, or a conversion's code.
int32_t fetchColumn(sqlite3_stmt* statement, int index, const ResultColumn& column, IfxDescriptorEntry& entry);

}  // namespace ifxrt
