// Where the main window goes on screens of every size.
#include <gtest/gtest.h>

#include "WindowPlacement.h"

namespace {

using proposals::placeWindow;
using proposals::WindowPlace;

TEST(WindowPlacement, AWindowThatFitsIsCentredWholeAndASmallScreenScrollsIt) {
  const QSize client(1009, 646);
  const QMargins frame(4, 30, 4, 4);
  const struct {
    const char* what;
    QRect available;
    WindowPlace expected;
  } cases[] = {
      {"desktop 1280 x 800", {0, 0, 1280, 800}, {{135, 77}, client}},
      {"just large enough", {0, 0, 1017, 680}, {{4, 17}, client}},
      {"one pixel too low", {0, 0, 1017, 679}, {{0, 0}, {1009, 645}}},
      {"netbook 1024 x 600", {0, 0, 1024, 600}, {{3, 0}, {1009, 566}}},
      {"projector 800 x 600", {0, 0, 800, 600}, {{0, 0}, {792, 566}}},
      {"second screen, panel on top", {1280, 24, 1024, 576}, {{1283, 24}, {1009, 542}}},
      {"absurdly small", {0, 0, 5, 5}, {{0, 0}, {1, 1}}},
  };
  for (const auto& c : cases) {
    const WindowPlace place = placeWindow(c.available, client, frame);
    EXPECT_EQ(place.position, c.expected.position) << c.what;
    EXPECT_EQ(place.shown, c.expected.shown) << c.what;
    if (place.shown != client) {
      // The frame, title bar included, lies on the screen.
      const QRect framed(place.position, place.shown.grownBy(frame));
      EXPECT_TRUE(c.available.contains(framed) || place.shown == QSize(1, 1)) << c.what;
    }
  }
}

}  // namespace
