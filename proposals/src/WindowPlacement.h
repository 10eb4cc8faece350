// Where a fixed-size window goes on a screen. Widget-free.
//
// A window that fits the screen (its frame included) is shown whole and
// centred. On a smaller screen (a netbook, a projector, a scaled laptop) the
// window is made as large as the screen allows and placed with its frame,
// title bar included, on the screen; its contents are then scrolled.
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace proposals {

struct WindowPlace {
  QPoint position;  // where the window goes (its frame's top left once it has a frame)
  QSize shown;      // the part of the client area shown; smaller than the client when scrolled
  bool operator==(const WindowPlace&) const = default;
};

// `available`: the screen's room for windows; `client`: the window's client
// area at full size; `frame`: the room the window manager's frame takes
// around the client area (title bar at the top).
WindowPlace placeWindow(const QRect& available, const QSize& client, const QMargins& frame);

// The frame assumed before the window manager has framed the window: a
// title bar of 30 px and borders of 4 px, more than most desktops take.
inline constexpr QMargins kAssumedFrame{4, 30, 4, 4};

}  // namespace proposals
