// The keyboard and mouse of a real X desktop for widget tests: key presses,
// typed text and mouse clicks are sent through the X test extension, so the
// X server and the window manager route them exactly as they would a user's
// (focus, activation, window stacking). Used by tests that run under
// run-under-wm.sh (Xvfb with openbox) on the xcb platform. GUI thread only.
#pragma once

#include <QPoint>
#include <QString>

class QWidget;
struct _XDisplay;

namespace wm_testing {

// Modifier held around a key press.
enum class Held { Nothing, Shift, Control, Alt };

class Desktop {
 public:
  // Opens a connection of its own to the X server named by DISPLAY.
  Desktop();
  ~Desktop();
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;

  // False when there is no X server to talk to (DISPLAY unset or wrong) or it
  // lacks the test extension.
  bool connected() const { return display_ != nullptr; }

  // Presses and releases a key named by its X keysym name ("Tab", "Down",
  // "Return", "space", "a"), `times` times, with `held` held down around it.
  void key(const char* keysymName, Held held = Held::Nothing, int times = 1);
  // Types printable ASCII text key by key (Shift where the keymap needs it).
  void type(const QString& text);
  // Moves the pointer to `widget`'s centre (or to `local`, in the widget's
  // coordinates) and clicks the left button there.
  void click(const QWidget* widget);
  void click(const QWidget* widget, QPoint local);

  // Waits until the server has handled every request sent so far and the
  // application has taken the events they caused.
  void settle();

 private:
  void pressKeysym(unsigned long keysym, bool down);

  _XDisplay* display_ = nullptr;
};

}  // namespace wm_testing
