#include "controls/FocusVisit.h"

#include <gtest/gtest.h>

namespace controls {
namespace {

TEST(FocusVisit, LeavingIsNoLongerBeingTheWindowsFocusWidget) {
  FocusVisit visit;
  EXPECT_FALSE(visit.focusOut(false)) << "no exit without an enter";
  EXPECT_TRUE(visit.focusIn());

  // Another window or a popup menu in front: the box is still its window's
  // focus widget and is not left.
  EXPECT_FALSE(visit.focusOut(true));
  EXPECT_TRUE(visit.inside());
  EXPECT_FALSE(visit.focusIn()) << "getting the focus back is not a new enter";

  EXPECT_TRUE(visit.focusOut(false));
  EXPECT_FALSE(visit.focusOut(false)) << "one exit per visit";
  EXPECT_TRUE(visit.focusIn());
}

TEST(FocusVisit, RefusedExitKeepsTheVisitWhileTheFocusComesBack) {
  FocusVisit visit;
  ASSERT_TRUE(visit.focusIn());
  ASSERT_TRUE(visit.focusOut(false));
  visit.stayInside();
  EXPECT_FALSE(visit.focusIn()) << "taking the focus back is not a new enter";
  EXPECT_TRUE(visit.focusOut(false));
}

TEST(FocusVisit, ResetForgetsTheVisitWithoutAnExit) {
  FocusVisit visit;
  ASSERT_TRUE(visit.focusIn());
  visit.reset();
  EXPECT_FALSE(visit.focusOut(false));
  EXPECT_TRUE(visit.focusIn());
}

}  // namespace
}  // namespace controls
