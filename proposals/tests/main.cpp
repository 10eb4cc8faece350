// Test runner: the widget tests need a QApplication. Without a display the
// offscreen platform is used. The user's folders (HOME, XDG_DATA_HOME) point
// at a scratch folder for the whole run, so that what the program keeps in
// the user's data folder never touches the real user's; a child run started
// by a test keeps the folders its parent gave it.
#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  std::unique_ptr<QTemporaryDir> home;
  if (!qEnvironmentVariableIsSet("PROPOSALS_TESTS_HOME")) {
    home = std::make_unique<QTemporaryDir>();
    if (!home->isValid()) return 1;
    qputenv("PROPOSALS_TESTS_HOME", home->path().toLocal8Bit());
    qputenv("HOME", home->path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", home->filePath(QStringLiteral("data")).toLocal8Bit());
  }
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
