#include "report/label_placement.h"

#include <cmath>

namespace torvane {
namespace {

// The grid's cells, units: about a name's width and a line's height.
constexpr double kCellWidth = 64, kCellHeight = 16;
// Room kept clear around a name, units: the estimate is an estimate.
constexpr double kGap = 1;

long long Key(long long column, long long row) { return column * 1000003LL + row; }

template <class Visit>
void ForEachCell(const PlotBox& box, Visit visit) {
  const auto first_column = static_cast<long long>(std::floor(box.left / kCellWidth));
  const auto last_column = static_cast<long long>(std::floor(box.right / kCellWidth));
  const auto first_row = static_cast<long long>(std::floor(box.top / kCellHeight));
  const auto last_row = static_cast<long long>(std::floor(box.bottom / kCellHeight));
  for (long long column = first_column; column <= last_column; ++column) {
    for (long long row = first_row; row <= last_row; ++row) visit(Key(column, row));
  }
}

}  // namespace

bool Overlap(const PlotBox& a, const PlotBox& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

PlotBox EstimatedTextBox(const PlotText& text) {
  const double width = EstimatedTextWidth(text.text, text.size);
  const double height = kLineEms * text.size;
  const double left = text.anchor == TextAnchor::kStart    ? text.at.x
                      : text.anchor == TextAnchor::kMiddle ? text.at.x - width / 2
                                                           : text.at.x - width;
  const double top =
      text.baseline == TextBaseline::kCentre ? text.at.y - height / 2 : text.at.y - text.size;
  return {left, top, left + width, top + height};
}

std::optional<NamePlace> LabelPlacer::Place(const std::string& name, PlotXY mark) {
  // Baselines 5 units above the mark, or the line's top 5 below it.
  const double above = mark.y - 5, below = mark.y + 5 + kPlotFontSize;
  const NamePlace places[] = {{{mark.x + 8, above}, TextAnchor::kStart},
                              {{mark.x + 8, below}, TextAnchor::kStart},
                              {{mark.x - 8, above}, TextAnchor::kEnd},
                              {{mark.x - 8, below}, TextAnchor::kEnd}};
  PlotText text;
  text.text = name;
  text.size = kPlotFontSize;
  for (const NamePlace& place : places) {
    text.at = place.at;
    text.anchor = place.anchor;
    const PlotBox box = EstimatedTextBox(text);
    if (!std::isfinite(box.left) || !std::isfinite(box.top)) return std::nullopt;
    const bool on_plot =
        box.left >= 0 && box.top >= 0 && box.right <= plot_.width && box.bottom <= plot_.height;
    const PlotBox clear{box.left - kGap, box.top - kGap, box.right + kGap, box.bottom + kGap};
    if (on_plot && Free(clear)) {
      Take(clear);
      return place;
    }
  }
  return std::nullopt;
}

void LabelPlacer::Block(const PlotBox& box) { Take(box); }

bool LabelPlacer::Free(const PlotBox& box) const {
  bool free = true;
  ForEachCell(box, [&](long long key) {
    if (!free) return;
    const auto found = cells_.find(key);
    if (found == cells_.end()) return;
    for (std::size_t i : found->second) {
      if (Overlap(box, taken_[i])) {
        free = false;
        return;
      }
    }
  });
  return free;
}

void LabelPlacer::Take(const PlotBox& box) {
  taken_.push_back(box);
  ForEachCell(box, [&](long long key) { cells_[key].push_back(taken_.size() - 1); });
}

}  // namespace torvane
