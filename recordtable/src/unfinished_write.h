// Telling whether another program left a table file in the middle of a
// write. The reader opens files immutable, which ignores SQLite's side
// files: a file beside a hot rollback journal would load as a torn mix of
// committed and uncommitted pages, and one beside a write-ahead log would
// load without the rows kept in the log.
#pragma once

#include <filesystem>

namespace recordtable::detail {

// Throws TableError when a rollback journal that still holds pages to put
// back, or any write-ahead log, lies beside `path` (or beside the file a
// link at `path` leads to). Only looks; writes nothing.
void refuseUnfinishedWrite(const std::filesystem::path& path);

}  // namespace recordtable::detail
