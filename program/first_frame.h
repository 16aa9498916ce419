// The start-time probe that bench/workbench_start.sh measures by: with the
// variable TORVANE_FIRST_FRAME set in its environment, a window program
// writes one line, "first frame: N widgets in WIDTHxHEIGHT", to standard
// output once its window's first frame has been painted, and ends there.
#pragma once

class QWidget;

namespace torvane {

// The environment variable that turns the probe on.
inline constexpr const char* kFirstFrameVariable = "TORVANE_FIRST_FRAME";

// When kFirstFrameVariable is set: after `window` (a top-level window, not
// yet shown) has painted its first frame, writes the line with the number
// of widgets inside it (QObject::findChildren) and its size in pixels
// (without the frame), and ends the program at once, status 0, without
// tearing the window down. Otherwise does nothing.
void EndAtFirstFrameWhenAsked(QWidget& window);

}  // namespace torvane
