// Test runner of the desktop tests: they need a real X server with a window
// manager (run-under-wm.sh provides both) and refuse to run on any other
// platform, where they could pass without testing what they claim to.
#include <QApplication>

#include <gtest/gtest.h>

#include <iostream>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // Listing the tests needs no display.
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  if (qgetenv("QT_QPA_PLATFORM") != "xcb" || qEnvironmentVariableIsEmpty("DISPLAY")) {
    std::cerr << "These tests run on an X desktop: run-under-wm.sh " << argv[0] << '\n';
    return 2;
  }
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
