// The window's icon, drawn in code at 16×16 and 32×32.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace torvane {

// One image of the icon: two crossing pairs of axes, the survey grid upright
// in dark blue and the construction grid turned against it in red, on white.
// Drawn only in the sixteen standard colours.
QPixmap AppIconImage(int size);

// The icon with its 16×16 and 32×32 images.
QIcon AppIcon();

}  // namespace torvane
