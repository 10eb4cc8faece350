// Reading and writing table files (see table_file_format.h and FORMAT.md).
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "cell.h"
#include "record_store.h"
#include "recordtable/field.h"

namespace recordtable::detail {

// Everything a table file holds, in the engine's in-memory form. Records
// are in file order.
struct TableData {
  std::vector<FieldDef> defs;
  RecordStore records;
  TextArena arena;
};

// Reads the file at `path`, opened read-only and immutable, and checks its
// marks, every definition and every value. Throws TableError naming the file
// on any fault (running out of memory included); never writes to or beside
// the file.
TableData readTableFile(const std::filesystem::path& path);

// What a save writes: the definitions and the records listed in `order`.
struct TableSnapshot {
  const std::vector<FieldDef>& defs;
  const RecordStore& records;
  const TextArena& arena;
  const std::vector<std::uint32_t>& order;
};

// Writes a temporary file beside `path`, syncs it, renames it over `path`
// and syncs the folder. On failure throws TableError; `path` is untouched
// and the temporary file removed.
void writeTableFile(const std::filesystem::path& path, const TableSnapshot& table);

}  // namespace recordtable::detail
