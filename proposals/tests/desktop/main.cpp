// Runner of the desktop tests: starts a private X display of the screen size
// given by --screen=WIDTHxHEIGHT (1280x800 when absent) with openbox on it,
// then runs the tests with the xcb platform, then ends the display. The
// user's folders (HOME, XDG_DATA_HOME) point at a scratch folder, so that
// what the program keeps in the user's data folder stays out of the real one.
#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <iostream>

#include "DesktopSession.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  QSize screen(1280, 800);
  for (int i = 1; i < argc; ++i) {
    int width = 0;
    int height = 0;
    if (std::sscanf(argv[i], "--screen=%dx%d", &width, &height) == 2) screen = QSize(width, height);
  }
  const QTemporaryDir home;
  if (!home.isValid()) return 1;
  qputenv("HOME", home.path().toLocal8Bit());
  qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
  desktop_testing::DesktopSession session(screen);
  if (!session.started()) {
    std::cerr << "no desktop for the tests: " << session.failure().toStdString() << "\n";
    return 1;
  }
  int result = 0;
  {
    QApplication app(argc, argv);
    result = RUN_ALL_TESTS();
  }
  return result;
}
