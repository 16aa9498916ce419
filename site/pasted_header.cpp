#include "site/pasted_header.h"

#include <algorithm>
#include <string_view>
#include <tuple>
#include <utility>

namespace torvane {
namespace {

enum class Grid { kNone, kSurvey, kConstruction };

// Marks of a grid, the longer first so that 测图 goes before 测.
constexpr std::pair<std::string_view, Grid> kGridMarks[] = {{"construction", Grid::kConstruction},
                                                            {"survey", Grid::kSurvey},
                                                            {"建筑坐标", Grid::kConstruction},
                                                            {"local", Grid::kConstruction},
                                                            {"site", Grid::kConstruction},
                                                            {"map", Grid::kSurvey},
                                                            {"测图", Grid::kSurvey},
                                                            {"测量", Grid::kSurvey},
                                                            {"大地", Grid::kSurvey},
                                                            {"施工", Grid::kConstruction},
                                                            {"建筑", Grid::kConstruction},
                                                            {"测", Grid::kSurvey},
                                                            {"施", Grid::kConstruction}};

// What is left of a caption once its grid is taken out, and the axis it is:
// 0 the north (X), 1 the east (Y); A and B only where the grid is the
// construction grid's.
constexpr std::pair<std::string_view, int> kAxes[] = {
    {"x", 0},     {"y", 1},    {"n", 0},        {"e", 1},       {"北", 0},     {"东", 1},
    {"north", 0}, {"east", 1}, {"northing", 0}, {"easting", 1}, {"北坐标", 0}, {"东坐标", 1}};

constexpr std::string_view kNames[] = {"点名", "点号",  "名称", "点", "点名称",   "编号",
                                       "name", "point", "pt",   "id", "pointname"};
constexpr std::string_view kHeights[] = {"h", "z", "高程", "height", "elevation", "高"};
constexpr std::string_view kRoles[] = {"角色", "role", "类别"};

constexpr std::string_view kFieldNames[kPastedFieldCount] = {"点名",  "测图X", "测图Y", "施工X",
                                                             "施工Y", "角色",  "测图H", "施工H"};

// The fields as the table orders them, which the placement is told in.
constexpr PastedField kTableOrder[] = {kPastedName, kPastedXs, kPastedYs, kPastedHs,
                                       kPastedXc,   kPastedYc, kPastedHc, kPastedRole};

template <std::size_t N>
bool OneOf(const std::string& text, const std::string_view (&words)[N]) {
  return std::find(std::begin(words), std::end(words), text) != std::end(words);
}

// The caption without blanks, brackets, a unit in brackets, or "坐标", its
// ASCII letters in lower case.
std::string Plain(const std::string& caption) {
  std::string text;
  for (char c : caption) {
    if (c == ' ' || c == '_' || c == '-' || c == '.') continue;
    text += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  }
  for (std::string_view unit : {"(m)", "（m）", "(米)", "（米）", "[m]"}) {
    if (const std::size_t at = text.find(unit); at != std::string::npos)
      text.erase(at, unit.size());
  }
  for (std::string_view mark : {"(", ")", "（", "）", "　"}) {
    for (std::size_t at; (at = text.find(mark)) != std::string::npos;) text.erase(at, mark.size());
  }
  return text;
}

// The grid a caption names, taken out of `text`.
Grid TakeGrid(std::string& text) {
  for (const auto& [mark, grid] : kGridMarks) {
    if (const std::size_t at = text.find(mark); at != std::string::npos) {
      text.erase(at, mark.size());
      return grid;
    }
  }
  return Grid::kNone;
}

}  // namespace

bool HeaderPlacement::Complete() const {
  for (std::size_t f = kPastedName; f <= kPastedYc; ++f) {
    if (!columns[f]) return false;
  }
  return unknown.empty();
}

HeaderPlacement ReadHeader(const std::vector<std::string>& captions) {
  HeaderPlacement placement;
  std::vector<std::pair<std::size_t, int>> gridless;  // column, axis
  std::vector<std::size_t> gridless_heights;
  const auto place = [&](std::size_t field, std::size_t column) {
    if (placement.columns[field]) {
      placement.unknown.push_back(column);
    } else {
      placement.columns[field] = column;
    }
  };
  for (std::size_t column = 0; column < captions.size(); ++column) {
    std::string text = Plain(captions[column]);
    if (text.empty()) {
      placement.unknown.push_back(column);
      continue;
    }
    if (OneOf(text, kNames)) {
      place(kPastedName, column);
      continue;
    }
    if (OneOf(text, kRoles)) {
      place(kPastedRole, column);
      continue;
    }
    const Grid grid = TakeGrid(text);
    if (const std::size_t at = text.find("坐标"); at != std::string::npos) text.erase(at, 6);
    if (OneOf(text, kHeights)) {
      if (grid == Grid::kNone) {
        gridless_heights.push_back(column);
      } else {
        place(grid == Grid::kSurvey ? kPastedHs : kPastedHc, column);
      }
      continue;
    }
    int axis = -1;
    for (const auto& [word, which] : kAxes) {
      if (text == word) axis = which;
    }
    if (grid == Grid::kConstruction && (text == "a" || text == "b")) axis = text == "a" ? 0 : 1;
    if (axis < 0) {
      placement.unknown.push_back(column);
    } else if (grid == Grid::kNone) {
      gridless.emplace_back(column, axis);
    } else {
      place((grid == Grid::kSurvey ? kPastedXs : kPastedXc) + static_cast<std::size_t>(axis),
            column);
    }
  }
  // An axis without a grid: the survey grid's first, as the table orders them.
  for (const auto& [column, axis] : gridless) {
    const std::size_t survey = kPastedXs + static_cast<std::size_t>(axis);
    place(placement.columns[survey] ? survey + 2 : survey, column);
  }
  // A height without a grid: that of the grid whose X and Y stand nearest
  // before it.
  for (const std::size_t column : gridless_heights) {
    std::optional<std::size_t> height;
    std::size_t nearest = 0;
    for (const auto& [x, y, h] : {std::tuple{kPastedXs, kPastedYs, kPastedHs},
                                 std::tuple{kPastedXc, kPastedYc, kPastedHc}}) {
      const auto& columns = placement.columns;
      if (!columns[x] || !columns[y]) continue;
      const std::size_t last = std::max(*columns[x], *columns[y]);
      if (last < column && (!height || last > nearest)) {
        height = h;
        nearest = last;
      }
    }
    if (height) {
      place(*height, column);
    } else {
      placement.heights.push_back(column);
    }
  }
  std::sort(placement.unknown.begin(), placement.unknown.end());
  return placement;
}

std::string PlacementText(const HeaderPlacement& placement,
                          const std::vector<std::string>& captions) {
  const auto column = [&](std::size_t c) {
    return "第 " + std::to_string(c + 1) + " 列“" + captions[c] + "”";
  };
  std::string text;
  for (const PastedField f : kTableOrder) {
    if (!placement.columns[f] && f > kPastedYc) continue;  // a field a point may be without
    text += (text.empty() ? "" : "\n") + std::string(kFieldNames[f]) + " ← " +
            (placement.columns[f] ? column(*placement.columns[f]) : std::string("（找不到）"));
  }
  for (std::size_t c : placement.heights) text += "\n" + column(c) + "是高程，不使用";
  for (std::size_t c : placement.unknown) text += "\n" + column(c) + "无法识别";
  return text;
}

}  // namespace torvane
