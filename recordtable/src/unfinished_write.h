// Telling whether another program left a table file in the middle of a
// write. The reader opens files immutable, which ignores SQLite's side
// files: a file beside a hot rollback journal would load as a torn mix of
// committed and uncommitted pages, and one beside a write-ahead log would
// load without the rows kept in the log.
#pragma once

#include <filesystem>

namespace recordtable::detail {

// What the caller is about to do with the file; it only changes the
// message. A save over such a file is refused as well: the side file would
// stay beside the new file, so the next load would refuse it, and another
// SQLite program would replay a stale journal into it.
enum class SideFileCheck { BeforeLoad, BeforeSave };

// Throws TableError when a rollback journal that still holds pages to put
// back, or any write-ahead log, lies beside `path` (or beside the file a
// link at `path` leads to). Only looks; writes nothing.
void refuseUnfinishedWrite(const std::filesystem::path& path,
                           SideFileCheck check = SideFileCheck::BeforeLoad);

}  // namespace recordtable::detail
