// Desktop: key and mouse events through the X test extension (libXtst).
#include "WmHarness.h"

#include <QGuiApplication>
#include <QTest>
#include <QWidget>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <xcb/xcb.h>

#include <cstdlib>

namespace wm_testing {
namespace {

KeySym modifierKeysym(Held held) {
  switch (held) {
    case Held::Shift:
      return XK_Shift_L;
    case Held::Control:
      return XK_Control_L;
    case Held::Alt:
      return XK_Alt_L;
    case Held::Nothing:
      break;
  }
  return NoSymbol;
}

// A round trip on the application's own connection: once its reply is back,
// every event the server sent before it is queued on the application's side.
void roundTripOfApplication() {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->connection() == nullptr) return;
  xcb_connection_t* connection = x11->connection();
  std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

}  // namespace

Desktop::Desktop() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return;
  int eventBase = 0, errorBase = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor)) {
    XCloseDisplay(display);
    return;
  }
  display_ = display;
}

Desktop::~Desktop() {
  if (display_ != nullptr) XCloseDisplay(display_);
}

void Desktop::pressKeysym(unsigned long keysym, bool down) {
  const KeyCode code = XKeysymToKeycode(display_, keysym);
  if (code == 0) return;
  XTestFakeKeyEvent(display_, code, down ? True : False, CurrentTime);
}

void Desktop::key(const char* keysymName, Held held, int times) {
  if (display_ == nullptr) return;
  const KeySym keysym = XStringToKeysym(keysymName);
  const KeySym modifier = modifierKeysym(held);
  for (int i = 0; i < times; ++i) {
    if (modifier != NoSymbol) pressKeysym(modifier, true);
    pressKeysym(keysym, true);
    pressKeysym(keysym, false);
    if (modifier != NoSymbol) pressKeysym(modifier, false);
  }
  settle();
}

void Desktop::type(const QString& text) {
  if (display_ == nullptr) return;
  for (const QChar c : text) {
    // Printable Latin-1 characters are their own keysyms.
    const KeySym keysym = c.unicode();
    const KeyCode code = XKeysymToKeycode(display_, keysym);
    if (code == 0) continue;
    const bool shifted = XkbKeycodeToKeysym(display_, code, 0, 0) != keysym;
    if (shifted) pressKeysym(XK_Shift_L, true);
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    if (shifted) pressKeysym(XK_Shift_L, false);
  }
  settle();
}

void Desktop::click(const QWidget* widget) { click(widget, widget->rect().center()); }

void Desktop::click(const QWidget* widget, QPoint local) {
  if (display_ == nullptr) return;
  // Qt's global coordinates are in device-independent pixels; at the test
  // server's scale of 1 they are the screen's.
  const QPoint global = widget->mapToGlobal(local);
  XTestFakeMotionEvent(display_, -1, global.x(), global.y(), CurrentTime);
  XTestFakeButtonEvent(display_, Button1, True, CurrentTime);
  XTestFakeButtonEvent(display_, Button1, False, CurrentTime);
  settle();
}

void Desktop::settle() {
  if (display_ == nullptr) return;
  XSync(display_, False);
  roundTripOfApplication();
  // The application reads its events on a thread of its own and hands them
  // to this thread; a few turns of the event loop deliver them.
  for (int i = 0; i < 3; ++i) QTest::qWait(15);
}

}  // namespace wm_testing
