// windowFocusOf: whether a widget is still its window's focus widget, the
// question FocusVisit::focusOut asks when the widget loses the keyboard focus.
#pragma once

#include <QWidget>

#include "controls/FocusVisit.h"

namespace controls {

// Asked while the focus-out event is delivered: the toolkit has already made
// the new widget (or none) its window's focus widget, unless the whole window
// lost the keyboard focus.
inline WindowFocus windowFocusOf(const QWidget& widget) {
  return widget.window()->focusWidget() == &widget ? WindowFocus::OnControl : WindowFocus::MovedOn;
}

}  // namespace controls
