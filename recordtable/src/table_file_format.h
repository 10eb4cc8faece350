// The table file format: the one place where reader and writer take their
// names, numbers and statements from. FORMAT.md describes the format in words.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "recordtable/field.h"

namespace recordtable::detail::format {

// PRAGMA application_id: "ZULT" in ASCII.
inline constexpr std::int32_t kApplicationId = 0x5A554C54;
// PRAGMA user_version: the format version this engine writes and reads.
inline constexpr std::int32_t kFormatVersion = 1;

// Field definitions, one row per field, `position` counting from 0.
inline constexpr const char* kFieldsTable = "fields";
inline constexpr const char* kFieldsColumns[] = {"position", "name", "kind", "size"};
inline constexpr const char* kCreateFields =
    "CREATE TABLE fields(position INTEGER PRIMARY KEY, name TEXT NOT NULL, "
    "kind TEXT NOT NULL, size INTEGER NOT NULL)";
inline constexpr const char* kInsertField =
    "INSERT INTO fields(position, name, kind, size) VALUES(?1, ?2, ?3, ?4)";
inline constexpr const char* kSelectFields =
    "SELECT position, name, kind, size FROM fields ORDER BY position";

// Records, one row per record in index order (rowid ascending). Field at
// position p is column "c<p+1>".
inline constexpr const char* kRecordsTable = "records";
inline std::string recordColumnName(std::size_t position) {
  std::string name(1, 'c');
  name += std::to_string(position + 1);
  return name;
}

// Page size of a written file: small tables in small pages, so that a file
// of a few items stays small; big tables in SQLite's largest pages, which
// keep long texts in fewer overflow pages and make the load's integrity
// check several times cheaper. Readers accept any valid page size.
inline constexpr int kSmallPageSize = 4096;
inline constexpr int kLargePageSize = 65536;
inline constexpr std::size_t kLargePageFromTextBytes = std::size_t{1} << 20;

// Most fields a table may have (SQLite allows 2000 columns).
inline constexpr std::size_t kMaxFieldCount = 1000;

// Declared column type of each field kind in `records`, and the SQLite value
// type each kind is stored as:
//   Text, LongText -> TEXT (UTF-8)
//   Int16, Int32   -> INTEGER
//   Float          -> REAL (finite)
//   DateTime       -> INTEGER, milliseconds since 0001-01-01T00:00:00.000,
//                     at most 9999-12-31T23:59:59.999
//   Decimal        -> INTEGER, the count of 10^-size units
//   null           -> NULL for every kind
inline const char* declaredType(FieldKind kind) {
  switch (kind) {
    case FieldKind::Text:
    case FieldKind::LongText:
      return "TEXT";
    case FieldKind::Float:
      return "REAL";
    default:
      return "INTEGER";
  }
}

}  // namespace recordtable::detail::format
