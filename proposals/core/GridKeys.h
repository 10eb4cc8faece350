// The key the grids discard: Ctrl+Delete (with Shift or Alt held as well),
// the grid's shortcut for deleting the current row. Rows are never deleted
// from the grids; every other key passes unchanged.
#pragma once

#include <Qt>

namespace proposals {

inline bool isDiscardedGridKey(int key, Qt::KeyboardModifiers modifiers) {
  return key == Qt::Key_Delete && modifiers.testFlag(Qt::ControlModifier);
}

}  // namespace proposals
