// Fault seams for the engine's own tests. Not part of the public API.
#pragma once

#include <cstddef>

#include "recordtable/export.h"

namespace recordtable::testing {

// Makes the next save fail after writing `rows` records to its temporary
// file (as a full disk would), then disarms itself. Negative disarms.
RECORDTABLE_EXPORT void failNextSaveAfterRows(long rows);

}  // namespace recordtable::testing
