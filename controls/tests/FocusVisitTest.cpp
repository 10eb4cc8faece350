#include "controls/FocusVisit.h"

#include <gtest/gtest.h>

namespace controls {
namespace {

TEST(FocusVisit, MovingTheFocusEndsTheVisitButLosingTheWindowDoesNot) {
  FocusVisit visit;
  EXPECT_FALSE(visit.focusOut(Qt::TabFocusReason)) << "no exit without an enter";
  EXPECT_TRUE(visit.focusIn());

  // Another window or a popup menu in front: the box is not left.
  EXPECT_FALSE(visit.focusOut(Qt::ActiveWindowFocusReason));
  EXPECT_FALSE(visit.focusIn());
  EXPECT_FALSE(visit.focusOut(Qt::PopupFocusReason));
  EXPECT_FALSE(visit.focusIn());

  for (Qt::FocusReason reason : {Qt::TabFocusReason, Qt::BacktabFocusReason, Qt::MouseFocusReason,
                                 Qt::ShortcutFocusReason, Qt::OtherFocusReason}) {
    EXPECT_TRUE(visit.focusOut(reason)) << reason;
    EXPECT_FALSE(visit.focusOut(reason)) << "one exit per visit";
    EXPECT_TRUE(visit.focusIn()) << reason;
  }
}

TEST(FocusVisit, RefusedExitKeepsTheVisitWhileTheFocusComesBack) {
  FocusVisit visit;
  ASSERT_TRUE(visit.focusIn());
  ASSERT_TRUE(visit.focusOut(Qt::TabFocusReason));
  visit.stayInside();
  EXPECT_FALSE(visit.focusIn()) << "taking the focus back is not a new enter";
  EXPECT_TRUE(visit.focusOut(Qt::MouseFocusReason));
}

TEST(FocusVisit, ResetForgetsTheVisitWithoutAnExit) {
  FocusVisit visit;
  ASSERT_TRUE(visit.focusIn());
  visit.reset();
  EXPECT_FALSE(visit.focusOut(Qt::TabFocusReason));
  EXPECT_TRUE(visit.focusIn());
}

}  // namespace
}  // namespace controls
