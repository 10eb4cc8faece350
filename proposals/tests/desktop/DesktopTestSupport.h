// Helpers of the desktop tests: waiting for a condition, pictures of the
// real screen, and the window fixture of the widget tests.
#pragma once

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include "../WindowFixture.h"
#include "DesktopSession.h"

namespace desktop_testing {

// Waits until `condition` holds, processing events; false after `ms`.
template <class Condition>
bool waitUntil(Condition condition, int ms = 10000) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > ms) return false;
    QTest::qWait(20);
  }
  return true;
}

// What the screen shows, as the X server has it.
inline QImage screenPicture() { return QGuiApplication::primaryScreen()->grabWindow(0).toImage(); }

// The darkest pixel inside `widget` (two pixels in from its edges) on a
// picture of the screen: the core of its text's strokes.
inline QColor darkestPixel(const QImage& screen, const QWidget* widget) {
  const QRect area(widget->mapToGlobal(QPoint(0, 0)), widget->size());
  QColor darkest = Qt::white;
  for (int y = area.top() + 2; y < area.bottom() - 1; ++y) {
    for (int x = area.left() + 2; x < area.right() - 1; ++x) {
      const QColor colour = screen.pixelColor(x, y);
      if (colour.lightness() < darkest.lightness()) darkest = colour;
    }
  }
  return darkest;
}

inline QPoint centreOf(const QWidget* widget) { return widget->mapToGlobal(widget->rect().center()); }

}  // namespace desktop_testing
