// Scoped guards for walking the items of the proposal window's item table
// without the entry panel or the lot filter following each row the walk
// visits: FollowPause switches the window's follow flags off, AllItemsWalk
// also lifts the lot filter and suspends the display so that a walk sees
// every item of every lot. Both put everything back as it was when they end,
// a failure of the walk included.
#pragma once

#include <string>

#include "recordtable/table.h"

namespace proposals {

// The follow flags (ItemGridActive, LotGridActive) off while it lives.
class FollowPause {
 public:
  FollowPause(bool& itemFollow, bool& lotFollow);
  ~FollowPause();
  FollowPause(const FollowPause&) = delete;
  FollowPause& operator=(const FollowPause&) = delete;

 private:
  bool& itemFollow_;
  bool& lotFollow_;
  bool itemWas_;
  bool lotWas_;
};

// While it lives: the follow flags off, the display of `items` suspended and
// its filter off. It ends by putting the filter back (text and state), then
// resuming the display (one refresh), then the flags. The current row is
// wherever the walk left it: the caller moves to the row it wants shown.
class AllItemsWalk {
 public:
  AllItemsWalk(recordtable::Table& items, bool& itemFollow, bool& lotFollow);
  ~AllItemsWalk();
  AllItemsWalk(const AllItemsWalk&) = delete;
  AllItemsWalk& operator=(const AllItemsWalk&) = delete;

 private:
  // Declared in the order they are set up; they end in the reverse order.
  FollowPause follow_;
  recordtable::DisplaySuspension suspended_;
  recordtable::Table& items_;
  std::string filterText_;
  bool filtered_;
};

}  // namespace proposals
