// The points' names on the site plot placed so that none covers another:
// each name tries the places beside its mark in turn (right above, right
// below, left above, left below) and takes the first whose box meets no
// name placed before it nor a box blocked (the legend, the scale bars,
// the construction grid's labels) and lies wholly on the plot; a name with
// no such place is left out. Boxes are estimated (EstimatedTextWidth,
// kLineEms), in units of the plot.
#pragma once

#include <optional>
#include <unordered_map>
#include <vector>

#include "report/plot_drawing.h"

namespace torvane {

// A rectangle on the plot, units: x to the right, y down.
struct PlotBox {
  double left = 0, top = 0, right = 0, bottom = 0;
};

// Whether `a` and `b` share more than an edge.
bool Overlap(const PlotBox& a, const PlotBox& b);

// The box a one-line `text` is estimated to take: EstimatedTextWidth wide
// from its anchor, kLineEms high, its baseline a font size below its top
// (or its middle at `at` for TextBaseline::kCentre).
PlotBox EstimatedTextBox(const PlotText& text);

// Where a name lies from its mark: its text's anchor point and anchor.
struct NamePlace {
  PlotXY at;
  TextAnchor anchor = TextAnchor::kStart;
};

class LabelPlacer {
 public:
  // Names for a plot of `plot` units.
  explicit LabelPlacer(PlotSize plot) : plot_(plot) {}

  // `box` kept free of names.
  void Block(const PlotBox& box);
  // The first place beside the mark at `mark` where `name` (UTF-8, drawn at
  // kPlotFontSize) meets no name placed so far, taken; none when every
  // place meets one or runs off the plot. The first place is the plot's
  // usual one, 8 units right of the mark and 5 above it.
  std::optional<NamePlace> Place(const std::string& name, PlotXY mark);

 private:
  bool Free(const PlotBox& box) const;
  void Take(const PlotBox& box);

  PlotSize plot_;
  std::vector<PlotBox> taken_;
  // The boxes meeting each cell of a coarse grid, by the cell's key: a
  // name is checked against the names near it, not all.
  std::unordered_map<long long, std::vector<std::size_t>> cells_;
};

}  // namespace torvane
