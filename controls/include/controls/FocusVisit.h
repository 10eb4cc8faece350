// Turns the toolkit's focus events into the enter and exit steps of an edit
// control. Widget-free, so the rules are tested without a window.
//
// A visit starts when the focus arrives and ends when the focus moves to
// another widget, whatever moved it (a key, a click, the program) and
// whether the window was active at the time. The control is left exactly
// when it is no longer its window's focus widget: the window losing
// activation (another window or a message box in front) or a popup menu
// opening takes the keyboard focus but leaves the control its window's focus
// widget, so it gets the focus back without having been left. An exit that
// the control refuses keeps the visit going while the focus is taken back.
#pragma once

namespace controls {

// Where a control's window keeps its focus when the control loses the
// keyboard focus. A type of its own, so that no focus reason, number or
// truth value can be passed in its place.
enum class WindowFocus {
  OnControl,  // still the control: its window lost activation, a popup opened
  MovedOn,    // another widget or none: the control has been left
};

class FocusVisit {
 public:
  // True when this focus-in starts a visit (the enter step runs).
  bool focusIn();

  // The control lost the keyboard focus, or its window's focus moved while
  // the window was not active; `windowFocus` tells whether its window still
  // has it as focus widget. True when this ends the visit (the exit step
  // runs).
  bool focusOut(WindowFocus windowFocus);

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
