// FocusVisit: the enter and exit rules of a control's focus visits.
#include "controls/FocusVisit.h"

namespace controls {

bool FocusVisit::focusIn() {
  if (inside_) return false;
  inside_ = true;
  return true;
}

bool FocusVisit::focusOut(WindowFocus windowFocus) {
  if (!inside_ || windowFocus == WindowFocus::OnControl) return false;
  inside_ = false;
  return true;
}

void FocusVisit::stayInside() { inside_ = true; }

void FocusVisit::reset() { inside_ = false; }

}  // namespace controls
