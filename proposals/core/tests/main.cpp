// Test runner of the widget-free rules: a QCoreApplication, and the user's
// folders (HOME, XDG_DATA_HOME) pointed at a scratch folder for the whole run
// so that nothing the rules keep in the user's data folder touches the real
// user's.
#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  QTemporaryDir home;
  if (!home.isValid()) return 1;
  qputenv("HOME", home.path().toLocal8Bit());
  qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
  QCoreApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
