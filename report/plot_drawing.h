// The site plot drawn as plain primitives, in the order they are painted:
// lines, circles, polygons and texts with their colours and sizes, in the
// plot's units (report/plot_geometry.h). Worked out once here; the window's
// painter, the PDF and the HTML report's SVG only copy the primitives onto
// their surface, measuring no text: a text says where it is anchored.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "report/plot_geometry.h"
#include "report/site_plot.h"

namespace torvane {

struct PlotColour {
  std::uint8_t red = 0, green = 0, blue = 0;
  std::uint8_t alpha = 255;  // 255 opaque
};

// How a line or an edge is stroked: `width` units; dashed, 4 widths drawn
// and 2 left out.
struct PlotStroke {
  PlotColour colour;
  double width = 1;
  bool dashed = false;
};

// A line through two or more points, not closed.
struct PlotLine {
  std::vector<PlotXY> points;
  PlotStroke stroke;
};

// A circle: its edge stroked, its inside filled, either or both.
struct PlotCircle {
  PlotXY centre;
  double radius = 0;
  std::optional<PlotStroke> edge;
  std::optional<PlotColour> fill;
};

// A closed polygon through its corners: edge, inside or both.
struct PlotPolygon {
  std::vector<PlotXY> corners;
  std::optional<PlotStroke> edge;
  std::optional<PlotColour> fill;
};

// Which point of a text lies at its position: across, its start, its
// middle or its end; up and down, its baseline or the middle of its line.
enum class TextAnchor { kStart, kMiddle, kEnd };
enum class TextBaseline { kBaseline, kCentre };

struct PlotText {
  std::string text;  // UTF-8, one line
  PlotXY at;
  TextAnchor anchor = TextAnchor::kStart;
  TextBaseline baseline = TextBaseline::kBaseline;
  PlotColour colour;
  double size = 12;  // the font's size, units (pixels at 96 dpi)
};

using PlotPrimitive = std::variant<PlotLine, PlotCircle, PlotPolygon, PlotText>;

// A plot as its painter draws it: the primitives in order, the later over
// the earlier, on the rectangle (0, 0, size), anything outside it cut off.
struct PlotDrawing {
  PlotSize size;
  std::vector<PlotPrimitive> items;
};

// The font size of the plot's texts, units.
inline constexpr double kPlotFontSize = 12;
// How wide a text is taken to be where the plot sizes a box or keeps a
// label on the plot, in font sizes (ems) a character: a Chinese
// character is one em wide, any other character about this.
inline constexpr double kNarrowCharacterEms = 0.6;
// The height of a line of text, in ems.
inline constexpr double kLineEms = 1.2;

// The estimated width (units) of UTF-8 `text` at font size `size`: one em
// for each character from U+1100 up, kNarrowCharacterEms for the others.
double EstimatedTextWidth(const std::string& text, double size);

// `plot` as `view` shows it on `size`: a white ground, the construction
// grid's axes and origin, residual arrows, the selected point's disc,
// every point's mark, the worst point's ring, the names (placed so that
// none covers another, a name without room left out: report/
// label_placement.h), the legend (top right) and the scale bars (bottom
// left); with no points, the hint
// "没有公共点" in the middle. An empty `size` gives no primitives.
PlotDrawing DrawSitePlot(const SitePlot& plot, const PlotView& view, PlotSize size);

}  // namespace torvane
