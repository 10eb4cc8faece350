// FocusVisit: when a focus change starts or ends a control's visit.
#include "controls/FocusVisit.h"

#include <QtCore/qnamespace.h>

#include <gtest/gtest.h>

#include <type_traits>

namespace controls {
namespace {

TEST(FocusVisit, LeavingIsNoLongerBeingTheWindowsFocusWidget) {
  FocusVisit visit;
  EXPECT_FALSE(visit.focusOut(WindowFocus::MovedOn)) << "no exit without an enter";
  EXPECT_TRUE(visit.focusIn());

  // Another window or a popup menu in front: the box is still its window's
  // focus widget and is not left.
  EXPECT_FALSE(visit.focusOut(WindowFocus::OnControl));
  EXPECT_TRUE(visit.inside());
  EXPECT_FALSE(visit.focusIn()) << "getting the focus back is not a new enter";

  EXPECT_TRUE(visit.focusOut(WindowFocus::MovedOn));
  EXPECT_FALSE(visit.focusOut(WindowFocus::MovedOn)) << "one exit per visit";
  EXPECT_TRUE(visit.focusIn());
}

TEST(FocusVisit, RefusedExitKeepsTheVisitWhileTheFocusComesBack) {
  FocusVisit visit;
  ASSERT_TRUE(visit.focusIn());
  ASSERT_TRUE(visit.focusOut(WindowFocus::MovedOn));
  visit.stayInside();
  EXPECT_FALSE(visit.focusIn()) << "taking the focus back is not a new enter";
  EXPECT_TRUE(visit.focusOut(WindowFocus::MovedOn));
}

// A focus event's reason once stood where the window's focus belongs, and
// every reason but a click read as "still here". The flag takes nothing else.
static_assert(!std::is_invocable_v<decltype(&FocusVisit::focusOut), FocusVisit&, Qt::FocusReason>);
static_assert(!std::is_invocable_v<decltype(&FocusVisit::focusOut), FocusVisit&, bool>);
static_assert(!std::is_invocable_v<decltype(&FocusVisit::focusOut), FocusVisit&, int>);
static_assert(std::is_invocable_v<decltype(&FocusVisit::focusOut), FocusVisit&, WindowFocus>);

TEST(FocusVisit, ResetForgetsTheVisitWithoutAnExit) {
  FocusVisit visit;
  ASSERT_TRUE(visit.focusIn());
  visit.reset();
  EXPECT_FALSE(visit.focusOut(WindowFocus::MovedOn));
  EXPECT_TRUE(visit.focusIn());
}

}  // namespace
}  // namespace controls
