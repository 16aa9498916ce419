// A MULTILEADER's rule: its groups read in the order they are written, for
// the same codes mean other things in its context data, in each leader and
// leader line of it, and in the entity's own groups after the context.
#pragma once

#include "drawing/dxf_values.h"

namespace torvane {

// Converts the MULTILEADER that `c` holds, all of it in world coordinates:
// in its context data the content's base point, the text's location and
// direction, the block content's position, its scale (x and y) and its
// matrix (the block's coordinates taken on to the moved drawing), the
// plane's origin and axes, each leader's last point, dogleg direction and
// breaks, each leader line's vertices and breaks; the overall scale, text
// height, arrow head size, landing gap, dogleg length, text width and
// columns (metres, scaled); the text's and the block's rotation (radians,
// turned). The entity's own copies after the context (dogleg length,
// arrow head size, block scale and rotation, overall scale) likewise.
// Rejects what EntityConverter rejects: a value that is not a number
// (kDrawingDamaged), a result beyond the doubles (kResultOutOfRange).
bool ConvertMultileader(EntityConverter& c);

}  // namespace torvane
