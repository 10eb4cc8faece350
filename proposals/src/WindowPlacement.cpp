// Placing a fixed-size window on a screen that may be smaller than it.
#include "WindowPlacement.h"

#include <algorithm>

namespace proposals {
namespace {

// Offset of a span of `size` centred in `room` starting at `start`; a span
// larger than the room starts where the room starts.
int centred(int start, int room, int size) { return start + std::max(0, (room - size) / 2); }

}  // namespace

WindowPlace placeWindow(const QRect& available, const QSize& client, const QMargins& frame) {
  const int frameWidth = frame.left() + frame.right();
  const int frameHeight = frame.top() + frame.bottom();
  if (client.width() + frameWidth <= available.width() && client.height() + frameHeight <= available.height()) {
    // Fits: the client area centred as it always was.
    return {QPoint(centred(available.x(), available.width(), client.width()),
                   centred(available.y(), available.height(), client.height())),
            client};
  }
  const QSize shown(std::clamp(available.width() - frameWidth, 1, client.width()),
                    std::clamp(available.height() - frameHeight, 1, client.height()));
  return {QPoint(centred(available.x(), available.width(), shown.width() + frameWidth),
                 centred(available.y(), available.height(), shown.height() + frameHeight)),
          shown};
}

}  // namespace proposals
