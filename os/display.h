// Drawing without a screen: a program that only writes what it draws into
// files (the calibration report's PDF) must start where no display is.
#pragma once

namespace torvane {

// Lets the Qt application made next start without a display. On Linux Qt
// is asked for its off-screen platform, unless QT_QPA_PLATFORM already
// names one; Windows's own platform needs no display, and nothing changes.
// Call before the application object is made.
void StartWithoutDisplay();

}  // namespace torvane
