// Turns the toolkit's focus events into the enter and exit steps of an edit
// control. Widget-free, so the rules are tested without a window.
//
// A visit starts when the focus arrives and ends when the user moves the
// focus elsewhere in the window. Two kinds of focus loss do not end it: the
// window losing activation (another window or a message box in front) and a
// popup menu opening; the control stays its window's focus widget and gets
// the focus back without having been left. An exit that the control refuses
// keeps the visit going while the focus is taken back.
#pragma once

#include <Qt>

namespace controls {

class FocusVisit {
 public:
  // True when this focus-in starts a visit (the enter step runs).
  bool focusIn();

  // True when this focus-out ends the visit (the exit step runs).
  bool focusOut(Qt::FocusReason reason);

  // The exit step refused to let the focus go and has taken it back: the
  // coming focus-in continues the visit instead of starting a new one.
  void stayInside();

  // Forget the visit without an exit step (the control was hidden).
  void reset();

  bool inside() const { return inside_; }

 private:
  bool inside_ = false;
};

}  // namespace controls
