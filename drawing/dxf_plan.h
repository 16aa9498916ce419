// Whether a drawing is drawn in plan: every height of what it draws is 0.
// A plan drawing keeps its heights whatever H0 is: shifting its zeros by
// H0 would only lift a flat drawing off its plane.
#pragma once

#include <cstdio>

namespace torvane {

// Reads the drawing in `file` from where it stands up to its 0 EOF, group
// by group in constant memory, and tells whether it is a plan: every z of
// a point (groups 30 to 37), every elevation (38) and every z of a world
// position in XDATA (1031) of the entities of model space and of the
// blocks' definitions (a block's base point included) is 0 ("0", "0.0",
// "-0", "+0e0" alike). Paper space (67 1), the header and the tables are
// not looked at: the header's extents follow the entities. A height that
// is not a number is no 0. Stops at the first height found, or where the
// groups cannot be read on (the conversion then tells why); the caller
// asks std::ferror(file) whether the reading failed, and puts the file
// back where it wants it.
bool IsPlanDrawing(std::FILE* file);

}  // namespace torvane
