// The result as JSON, for scripts: an array of points, one object a line,
//   [
//     {"name": "III11", "x": 291.64066, "y": -7.11449, "h": 1215.101},
//     ...
//   ]
// in UTF-8, as JSON has to be, whatever the point file's encoding, with LF
// line ends and no byte-order mark.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "batch/point_file.h"
#include "batch/result_writer.h"
#include "batch/text_encoding.h"
#include "params/transform.h"

namespace torvane {

// Appends the object of `point`, converted to `converted`, to `out`,
// without a separator or line end: name as a string (text in GBK is
// converted to UTF-8); x and y as CoordinateText with `pattern` (see
// coordinate_text.h); h the shortest text that reads back as the height's
// value when H is a decimal number ("1215.1010" gives 1215.101), H's text
// as a string when it is not one, null when the line has no H; a height a
// run shifted (PointRecord::h_shifted) as its exact decimal text.
void AppendJsonPoint(std::string& out, const PointRecord& point, PlanePoint converted,
                     std::string_view pattern, TextEncoding encoding);

// The writer of JSON: "[", the objects of AppendJsonPoint separated by
// ",", one a line, then "]"; x and y with `decimals` decimals (0 to
// kMaxResultDecimals, see coordinate_text.h); extension ".json", UTF-8.
std::unique_ptr<ResultWriter> MakeJsonWriter(int decimals);

}  // namespace torvane
