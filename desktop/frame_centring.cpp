#include "desktop/frame_centring.h"

namespace torvane {
namespace {

// Half of `excess` pixels, a half pixel rounded up: the same way for an
// excess below zero as above it.
int HalfUp(int excess) { return excess >= 0 ? (excess + 1) / 2 : excess / 2; }

}  // namespace

QPoint CentredClientPosition(const QRect& screen, const QMargins& frame, const QSize& client) {
  const QSize outer = client.grownBy(frame);
  const QPoint outer_corner(HalfUp(screen.width() - outer.width()),
                            HalfUp(screen.height() - outer.height()));
  return screen.topLeft() + outer_corner + QPoint(frame.left(), frame.top());
}

}  // namespace torvane
