// A private X display with a window manager for the tests that need a real
// desktop: Xvfb on a free display number, openbox on it, and xdotool to move
// the mouse and press keys as a user does. The session is started before the
// QApplication exists and ended (its two processes, by their ids) after it.
#pragma once

#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

#include <sys/types.h>

namespace desktop_testing {

class DesktopSession {
 public:
  // Starts Xvfb with one screen of `screen` and openbox on it, and points
  // DISPLAY and QT_QPA_PLATFORM at it. started() tells whether all went well.
  explicit DesktopSession(QSize screen);
  ~DesktopSession();
  DesktopSession(const DesktopSession&) = delete;
  DesktopSession& operator=(const DesktopSession&) = delete;

  bool started() const { return started_; }
  const QString& failure() const { return failure_; }

 private:
  bool startServer(QSize screen);
  bool startWindowManager();

  pid_t server_ = -1;
  pid_t windowManager_ = -1;
  bool started_ = false;
  QString failure_;
};

// Runs xdotool with `arguments`; answers whether it succeeded.
bool xdotool(const QStringList& arguments);

// Real pointer events at a global position.
bool moveMouse(QPoint global);
bool clickMouse(QPoint global);
// Wheel notches at a global position: positive turns towards the user (down).
bool turnWheel(QPoint global, int notchesDown);
// A key by its X name ("Return", "KP_Enter", "Tab") to the focused window.
bool pressKey(const char* name);

}  // namespace desktop_testing
