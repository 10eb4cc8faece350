// Test runner: the widget tests need a QApplication. Without a display the
// offscreen platform is used, with a screen of 1280 × 800 (its own default,
// 800 × 600, is smaller than the main window, which would then scroll). The
// user's folders (HOME, XDG_DATA_HOME) point at a scratch folder for the
// whole run, so that what the program keeps in the user's data folder never
// touches the real user's; a child run started by a test keeps the folders
// its parent gave it.
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

// The offscreen platform's argument naming a screen of a desktop's size, or
// nothing when the configuration cannot be written.
QByteArray offscreenDesktop(const QTemporaryDir& folder) {
  QFile config(folder.filePath(QStringLiteral("offscreen.json")));
  if (!folder.isValid() || !config.open(QIODevice::WriteOnly)) return {};
  config.write(R"({"screens": [{"name": "desktop", "x": 0, "y": 0, "width": 1280, "height": 800,
                                "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
  return ":configfile=" + config.fileName().toUtf8();
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  const QTemporaryDir folder;
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qgetenv("QT_QPA_PLATFORM") == "offscreen") qputenv("QT_QPA_PLATFORM", "offscreen" + offscreenDesktop(folder));
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
