#include "controls/FocusVisit.h"

namespace controls {

bool FocusVisit::focusIn() {
  if (inside_) return false;
  inside_ = true;
  return true;
}

bool FocusVisit::focusOut(Qt::FocusReason reason) {
  if (!inside_) return false;
  if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
  inside_ = false;
  return true;
}

void FocusVisit::stayInside() { inside_ = true; }

void FocusVisit::reset() { inside_ = false; }

}  // namespace controls
