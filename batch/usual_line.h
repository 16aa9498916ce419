// The point lines of nearly every file, read in one pass over their bytes:
// at least three fields, X and Y plain decimals ("P12 , 3456789.123 ,
// 512345.678 , 1234.567"). Everything else is left to ParsePointLine, which
// these agree with on every line they accept.
#pragma once

#include <cstddef>

#include "batch/point_file.h"

namespace torvane {

// Reads the line starting at `first`, which ends at the first CR or LF,
// into *point, and *fields with its comma-separated field count. Returns
// where the line ends, and sets *unusual when a byte of the name or of the
// fields after Y is not ASCII, is NUL or is a double quote (the line may
// hold quoted fields, which are ParsePointLine's); returns nullptr, and leaves the
// line to ParsePointLine, for a line of another form. A CR or LF must come
// at or after `first` (a reader puts one after its data), and the bytes
// up to `readable` must be readable, at least 8 of them from any position
// up to the line end: the line is read a word at a time, stopped by the
// line end.
const char* ParseUsualLine(const char* first, const char* readable, std::size_t line_number,
                           PointRecord* point, std::size_t* fields, bool* unusual);

}  // namespace torvane
