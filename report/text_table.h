// Plain-text tables for torvane-cli's reports.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace torvane {

// The rows as lines ended by "\n", each cell padded to its column's widest
// (in display columns: a character that is not ASCII counts two, as in a
// terminal's Chinese font), columns two spaces apart. The first
// `left_columns` columns are aligned left, the others right; blanks at the
// end of a line are dropped. Cells must be UTF-8; rows may be short.
std::string FormatTable(const std::vector<std::vector<std::string>>& rows,
                        std::size_t left_columns);

}  // namespace torvane
