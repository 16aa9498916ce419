// The site plot's view (report/site_plot.h) as plain geometry: which part
// of the survey grid is shown, where a grid point lands on the plot, zoom,
// pan and pick, and the plot's two scales (the map's and the residuals').
// X (north) is up and Y (east) to the right, one scale on both axes.
//
// Lengths on the grid are metres; on the plot they are units, taken as
// pixels at 96 dpi (marks, text and margins are sized in them). A printer
// or PDF page is scaled to those units before the plot is drawn on it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "report/site_plot.h"

namespace torvane {

// A position on the plot, in units: x to the right, y down from the top
// left corner.
struct PlotXY {
  double x = 0, y = 0;
};

// The plot's extent in units.
struct PlotSize {
  double width = 0, height = 0;
};

// A point of the survey grid, metres (x north, y east).
struct GridPoint {
  double x = 0, y = 0;
};

// Which part of the survey grid is shown: the grid point at the plot's
// centre (metres) and the metres one unit of the plot stands for (> 0).
struct PlotView {
  double centre_x = 0, centre_y = 0;
  double metres_per_pixel = 1;
};

// The least and most metres a unit of the plot may stand for: zooming
// stops there.
inline constexpr double kMinMetresPerPixel = 1e-6;
inline constexpr double kMaxMetresPerPixel = 1e7;

// How near (units of the plot) a click must come to a point to pick it.
inline constexpr double kPickRadius = 6;

// The smaller of the plot's width and height, units.
double SmallerSide(PlotSize size);

// The view that shows every point of `plot` inside `size` with a margin
// (an eighth of the smaller side, at least 16 units) for names and
// residuals. With no points: the grid's origin at 1 m a unit; with one
// point, or all on one spot: that spot at 0.1 m a unit. A `size` under one
// unit either way is taken as one unit (a collapsed view).
PlotView FitView(const SitePlot& plot, PlotSize size);

// Survey grid point (x, y) in metres -> plot position in units, and back.
PlotXY ToPixel(const PlotView& view, PlotSize size, double x, double y);
GridPoint FromPixel(const PlotView& view, PlotSize size, PlotXY pixel);

// The view zoomed in by `factor` (> 1 in, < 1 out) with the grid point under
// `pixel` staying under it; the scale is held within kMin/kMaxMetresPerPixel.
// Rejects (assert) a factor that is not a finite number greater than 0.
PlotView ZoomAbout(const PlotView& view, PlotSize size, PlotXY pixel, double factor);
// The view after the plot is dragged by `delta` units (right, down).
PlotView PanBy(const PlotView& view, PlotXY delta);

// The point nearest `pixel`, if it lies within kPickRadius of it; the
// first of points on one spot.
std::optional<std::size_t> PointAt(const SitePlot& plot, const PlotView& view, PlotSize size,
                                   PlotXY pixel);

// A scale bar: its length on the grid in metres and its label (UTF-8).
enum class BarUnit { kMillimetre, kMetre };
struct ScaleBar {
  double metres = 0;
  std::string text;  // "5 mm", "0.5 mm", "100 m", "2 km"
};
// The longest round length (1, 2 or 5 times a power of ten, in the unit's
// own measure) not longer than `max_metres`, labelled in `unit`; metres
// from 1000 up are labelled in km. Rejects (assert) a length that is not a
// finite number greater than 0.
ScaleBar RoundScaleBar(double max_metres, BarUnit unit);

// The plot units a metre of residual is drawn as: the largest residual of
// `plot` drawn an eighth of the smaller side of `size` long. None when no
// point has a residual, all residuals are 0 or `size` is empty.
std::optional<double> ResidualExaggeration(const SitePlot& plot, PlotSize size);

}  // namespace torvane
