// Where a window goes so that its outer frame, title bar and borders
// included, is centred on a screen.
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace torvane {

// The top-left corner of the client area, in desktop coordinates (logical
// pixels), that centres the outer frame on `screen`: the frame is the client
// area of `client` size with the window system's `frame` margins around it.
// A half pixel left over puts the frame half a pixel right or down. A frame
// larger than the screen is not held on it: half the excess lies beyond the
// left and top edges. Rejects nothing.
QPoint CentredClientPosition(const QRect& screen, const QMargins& frame, const QSize& client);

}  // namespace torvane
