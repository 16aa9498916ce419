// Common points copied from a spreadsheet (Excel, WPS) and pasted into the
// workbench's table.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/expected.h"
#include "site/pasted_header.h"
#include "site/project_file.h"

namespace torvane {

// The rows of `text` as a spreadsheet puts cells on the clipboard: rows end
// in CR LF or LF (the last one may have no end), cells are separated by TAB,
// and a cell that holds a line end, a TAB or a double quote is quoted, each
// " in it doubled. Each row is name, Xs, Ys, Xc, Yc (the command line's
// common-point order, metres), and may have a 6th cell, the role (参与平差,
// 检核, 不用, or fit, check, off; an empty one is 参与平差); cells after it
// are ignored. Blanks around a cell are removed, blank rows skipped, and a
// first row whose four coordinate cells are none of them numbers while a
// later row has one is a header: it is read (ReadHeader), and where it
// places every field the cells are taken from the columns it names, in
// whatever order they stand; otherwise in the table's order, and the
// caller must ask. Texts are kept as they are (UTF-8), coordinates that are
// not numbers too: the table marks them. A coordinate typed in full width or
// grouped in thousands (TypedNumberText: "３３８００００．１", "3,380,000.1")
// is the plain number it stands for. Rejects, in Chinese (UTF-8),
// quoting the row (1-based, counted in `text`) and its cells: a row of
// fewer cells than the fields it is read by, a role cell that names no role.
struct PastedPoints {
  std::vector<ProjectPoint> points;
  std::vector<std::string> header;  // the header row's cells; empty without one
  HeaderPlacement placement;        // how the header was read; with one only
  bool placed = false;              // the cells were taken as the header places them
};
Expected<PastedPoints, std::string> ParsePastedPoints(std::string_view text);

}  // namespace torvane
