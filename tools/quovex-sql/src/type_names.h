// Informix type names from the system catalogue's coded column types, as
// dbschema writes them: "decimal(16,2)", "datetime year to second",
// "interval day(3) to day", "varchar(100,10)".
#pragma once

#include <string>

namespace quovexsql {

// The name of a column of syscolumns.coltype `coltype` (256 added for NOT
// NULL, which is not part of the name) and syscolumns.collength `collength`.
// `extendedName` names an extended type (coltype 40 and 41) from
// sysxtdtypes; empty when unknown.
std::string columnTypeName(int coltype, int collength, const std::string& extendedName = {});

// True when the coded type carries NOT NULL.
inline bool isNotNull(int coltype) { return (coltype & 0x100) != 0; }

}  // namespace quovexsql
