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
// are ignored. Rows of seven cells or more of which some row has a number
// in the 6th cell are name, Xs, Ys, Hs, Xc, Yc, Hc (heights in metres),
// with the role in an 8th cell (heights_in_order). Blanks around a cell
// are removed, blank rows skipped, and a first row whose four coordinate
// cells are none of them numbers while a later row has one is a header: it
// is read (ReadHeader), and where it places every field the cells are
// taken from the columns it names, in whatever order they stand, heights
// where it places them; otherwise in the table's order (or the order with
// heights), and the caller must ask. Texts are kept as they are (UTF-8),
// coordinates and heights that are not numbers too: the table marks them.
// A coordinate or height typed in full width or grouped in thousands
// (TypedNumberText: "３３８００００．１", "3,380,000.1") is the plain number
// it stands for. Rejects, in Chinese (UTF-8),
// quoting the row (1-based, counted in `text`) and its cells: a row of
// fewer cells than the fields it is read by, a role cell that names no role.
struct PastedPoints {
  std::vector<ProjectPoint> points;
  std::vector<std::string> header;  // the header row's cells; empty without one
  HeaderPlacement placement;        // how the header was read; with one only
  bool placed = false;              // the cells were taken as the header places them
  bool heights_in_order = false;    // not placed: name, Xs, Ys, Hs, Xc, Yc, Hc, role
};
Expected<PastedPoints, std::string> ParsePastedPoints(std::string_view text);

// The order the cells of an unplaced paste were taken in, Chinese:
// "点名、测图X、测图Y、施工X、施工Y", or with 测图H and 施工H after each
// grid's Y for heights_in_order.
std::string PastedOrderText(const PastedPoints& pasted);

}  // namespace torvane
