// The guards that let a walk visit every item without the window following.
#include "ItemWalk.h"

namespace proposals {

FollowPause::FollowPause(bool& itemFollow, bool& lotFollow)
    : itemFollow_(itemFollow), lotFollow_(lotFollow), itemWas_(itemFollow), lotWas_(lotFollow) {
  itemFollow_ = false;
  lotFollow_ = false;
}

FollowPause::~FollowPause() {
  itemFollow_ = itemWas_;
  lotFollow_ = lotWas_;
}

AllItemsWalk::AllItemsWalk(recordtable::Table& items, bool& itemFollow, bool& lotFollow)
    : follow_(itemFollow, lotFollow),
      suspended_(items),
      items_(items),
      filterText_(items.filterText()),
      filtered_(items.filtered()) {
  items_.setFiltered(false);
}

AllItemsWalk::~AllItemsWalk() {
  // Runs before suspended_ and follow_ end: the filter is back before the
  // display resumes, and the display before the flags.
  try {
    items_.setFilterText(filterText_);
    items_.setFiltered(filtered_);
  } catch (...) {
    // A filter text that was valid before stays valid; nothing is left to do.
  }
}

}  // namespace proposals
