#include "site/pasted_points.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>

#include "batch/run_error.h"
#include "number/number_text.h"
#include "number/typed_number.h"
#include "site/point_role.h"

namespace torvane {
namespace {

constexpr char kTab = '\t';
constexpr char kQuote = '"';
constexpr std::size_t kPointCells = 5;  // name, Xs, Ys, Xc, Yc
constexpr std::size_t kRoleCell = 5;    // the 6th, 0-based

struct PastedRow {
  std::size_t number = 0;  // 1-based, in the pasted text
  std::vector<std::string> cells;
};

bool IsRowEnd(char c) { return c == '\n' || c == '\r'; }

// The quoted cell starting at text[at] (a quote): its text, with "" read as
// one ", and where it ends (after the closing quote). None when the quote is
// not closed, or is followed by something other than a TAB, a row end or the
// text's end: then the cell is its bytes as they are.
std::optional<std::pair<std::string, std::size_t>> QuotedCell(std::string_view text,
                                                              std::size_t at) {
  std::string cell;
  for (std::size_t i = at + 1; i < text.size(); ++i) {
    if (text[i] != kQuote) {
      cell += text[i];
      continue;
    }
    if (i + 1 < text.size() && text[i + 1] == kQuote) {
      cell += kQuote;
      ++i;
      continue;
    }
    std::size_t after = i + 1;
    while (after < text.size() && text[after] == ' ') ++after;
    if (after == text.size() || text[after] == kTab || IsRowEnd(text[after])) {
      return std::pair{std::move(cell), after};
    }
    return std::nullopt;
  }
  return std::nullopt;
}

// The rows of `text`, cells trimmed, blank rows left out.
std::vector<PastedRow> SplitRows(std::string_view text) {
  std::vector<PastedRow> rows;
  PastedRow row{1, {}};
  std::size_t i = 0;
  auto end_row = [&] {
    bool blank = true;
    for (const std::string& cell : row.cells) blank = blank && cell.empty();
    if (!blank) rows.push_back(std::move(row));
    row = PastedRow{};
  };
  std::size_t number = 1;
  while (i <= text.size()) {
    // A cell starts at i.
    std::size_t start = i;
    while (start < text.size() && text[start] == ' ') ++start;
    std::string cell;
    std::size_t end = start;
    auto quoted =
        start < text.size() && text[start] == kQuote ? QuotedCell(text, start) : std::nullopt;
    if (quoted) {
      cell = std::move(quoted->first);
      end = quoted->second;
      // Line ends inside the quotes belong to the cell, not to the rows' count.
    } else {
      while (end < text.size() && text[end] != kTab && !IsRowEnd(text[end])) ++end;
      cell = std::string(text.substr(start, end - start));
    }
    row.number = row.number == 0 ? number : row.number;
    row.cells.push_back(std::string(TrimBlanks(cell)));
    if (end == text.size()) {
      end_row();
      break;
    }
    if (text[end] == kTab) {
      i = end + 1;
      continue;
    }
    // A row end: CR LF is one.
    i = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    end_row();
    ++number;
    if (i == text.size()) break;  // the last row's end
  }
  return rows;
}

bool IsNumber(const std::string& cell) {
  return ParseDecimal(cell).ok() || TypedNumberText(cell).has_value();
}

// A coordinate cell as read: typed in full width or grouped in thousands,
// the plain number; anything else as it is.
std::string Coordinate(const std::string& cell) { return TypedNumberText(cell).value_or(cell); }

bool HasNumber(const PastedRow& row) {
  for (std::size_t i = 1; i < kPointCells && i < row.cells.size(); ++i) {
    if (IsNumber(row.cells[i])) return true;
  }
  return false;
}

// Words in every coordinate cell, as a header's captions are (测图X ...).
bool HoldsWords(const PastedRow& row) {
  for (std::size_t i = 1; i < kPointCells; ++i) {
    if (row.cells[i].empty() || IsNumber(row.cells[i])) return false;
  }
  return true;
}

// The cells of a point with both heights, and where each field stands:
// name, Xs, Ys, Hs, Xc, Yc, Hc, then the role.
constexpr std::size_t kHeightCells = 7;
constexpr std::array<std::optional<std::size_t>, kPastedFieldCount> kHeightOrder = [] {
  std::array<std::optional<std::size_t>, kPastedFieldCount> columns;
  columns[kPastedName] = 0;
  columns[kPastedXs] = 1;
  columns[kPastedYs] = 2;
  columns[kPastedHs] = 3;
  columns[kPastedXc] = 4;
  columns[kPastedYc] = 5;
  columns[kPastedHc] = 6;
  columns[kPastedRole] = 7;
  return columns;
}();

// Whether the rows from `first` on are points with both heights: every
// row of seven cells or more, and a number in some row's 6th cell, where
// the table's own order has the role (which no number is, so that no
// paste read so before is read otherwise now).
bool HeightsInOrder(const std::vector<PastedRow>& rows, std::size_t first) {
  bool number = false;
  for (std::size_t r = first; r < rows.size(); ++r) {
    if (rows[r].cells.size() < kHeightCells) return false;
    number = number || IsNumber(rows[r].cells[kRoleCell]);
  }
  return number;
}

std::string Quoted(const std::string& text) { return "“" + MessageExcerpt(text) + "”"; }

std::string QuotedCells(const PastedRow& row) {
  std::string quoted;
  for (const std::string& cell : row.cells) quoted += (quoted.empty() ? "" : "、") + Quoted(cell);
  return quoted;
}

}  // namespace

Expected<PastedPoints, std::string> ParsePastedPoints(std::string_view text) {
  std::vector<PastedRow> rows = SplitRows(text);
  PastedPoints pasted;
  // A header: the first row, with words where the coordinates stand, above
  // a row with a number.
  bool header = !rows.empty() && rows[0].cells.size() >= kPointCells && HoldsWords(rows[0]);
  if (header) {
    bool numbers_below = false;
    for (std::size_t later = 1; later < rows.size(); ++later) {
      numbers_below = numbers_below || HasNumber(rows[later]);
    }
    header = numbers_below;
  }
  // Where each field is taken from: the table's own order, or the header's.
  std::array<std::optional<std::size_t>, kPastedFieldCount> columns = {0, 1, 2, 3, 4, kRoleCell};
  std::size_t needed = kPointCells;
  if (header) {
    const PastedRow& row = rows[0];
    pasted.header = row.cells;
    pasted.placement = ReadHeader(row.cells);
    if (pasted.placement.Complete()) {
      pasted.placed = true;
      columns = pasted.placement.columns;
      // Without a caption of its own, the role stays in the 6th cell, as
      // without a header, unless a caption there names something else.
      if (!columns[kPastedRole] && row.cells.size() <= kRoleCell) {
        columns[kPastedRole] = kRoleCell;
      }
      needed = 0;
      for (std::size_t f = kPastedName; f <= kPastedYc; ++f) {
        needed = std::max(needed, *columns[f] + 1);
      }
    }
  }
  if (!pasted.placed && HeightsInOrder(rows, header ? 1 : 0)) {
    pasted.heights_in_order = true;
    columns = kHeightOrder;
    needed = kHeightCells;
  }
  for (std::size_t r = header ? 1 : 0; r < rows.size(); ++r) {
    const PastedRow& row = rows[r];
    const std::string where = "第 " + std::to_string(row.number) + " 行";
    if (row.cells.size() < needed) {
      return Fail(where + "只有 " + std::to_string(row.cells.size()) + " 个单元格，公共点要有 " +
                  std::to_string(needed) + " 个（点名、测图X、测图Y、施工X、施工Y）：" +
                  QuotedCells(row));
    }
    ProjectPoint point;
    point.name = row.cells[*columns[kPastedName]];
    point.xs = Coordinate(row.cells[*columns[kPastedXs]]);
    point.ys = Coordinate(row.cells[*columns[kPastedYs]]);
    point.xc = Coordinate(row.cells[*columns[kPastedXc]]);
    point.yc = Coordinate(row.cells[*columns[kPastedYc]]);
    // A height's cell may be missing from a short row: no height.
    for (const auto& [field, height] :
         {std::pair{kPastedHs, &point.hs}, std::pair{kPastedHc, &point.hc}}) {
      if (columns[field] && *columns[field] < row.cells.size()) {
        *height = Coordinate(row.cells[*columns[field]]);
      }
    }
    const std::optional<std::size_t> role_cell = columns[kPastedRole];
    if (role_cell && row.cells.size() > *role_cell && !row.cells[*role_cell].empty()) {
      auto role = RoleFromText(row.cells[*role_cell]);
      if (!role) {
        return Fail(where + "的角色 " + Quoted(row.cells[*role_cell]) +
                    " 不是 参与平差、检核、不用（或 fit、check、off）之一");
      }
      point.role = *role;
    }
    pasted.points.push_back(std::move(point));
  }
  return pasted;
}

std::string PastedOrderText(const PastedPoints& pasted) {
  return pasted.heights_in_order ? "点名、测图X、测图Y、测图H、施工X、施工Y、施工H"
                                 : "点名、测图X、测图Y、施工X、施工Y";
}

}  // namespace torvane
