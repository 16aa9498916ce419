// The point lines of nearly every file, read in one pass over their bytes:
// at least three fields, X and Y plain decimals ("P12 , 3456789.123 ,
// 512345.678 , 1234.567"). The bytes are line_rule.h's, the reading is
// ParseLayoutLine's with the usual layout (PointLayout{}), which is left
// every other line and gives the same point on every line read here.
#pragma once

#include <cstddef>

#include "batch/point_file.h"

namespace torvane {

// Reads the line starting at `first`, which ends at the first CR or LF,
// into *point, and *fields with its comma-separated field count. Returns
// where the line ends, and sets *unusual when a byte of the name or of the
// fields after Y is one UnusualByteFlags flags (the line may hold quoted
// fields, which are ParseLayoutLine's); returns nullptr, and leaves the
// line to ParseLayoutLine, for a line of another form. A CR or LF must come
// at or after `first` (a reader puts one after its data), and the bytes
// up to `readable` must be readable, at least 8 of them from any position
// up to the line end: the line is read a word at a time, stopped by the
// line end.
const char* ParseUsualLine(const char* first, const char* readable, std::size_t line_number,
                           PointRecord* point, std::size_t* fields, bool* unusual);

}  // namespace torvane
