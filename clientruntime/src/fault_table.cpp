#include "fault_table.h"

#include <algorithm>

namespace ifxrt {

void FaultTable::add(IfxRole role, int nth, Fault fault) {
  if (nth < 1) return;
  pending_.push_back({role, nth, fault});
}

std::optional<Fault> FaultTable::countCall(IfxRole role) {
  std::optional<Fault> due;
  for (Pending& entry : pending_) {
    if (entry.role != role) continue;
    if (--entry.callsLeft == 0 && !due) due = entry.fault;
  }
  std::erase_if(pending_, [](const Pending& entry) { return entry.callsLeft <= 0; });
  return due;
}

}  // namespace ifxrt
