#include "report/plot_drawing.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "number/pattern.h"
#include "params/transform.h"
#include "report/label_placement.h"
#include "site/point_role.h"

namespace torvane {
namespace {

// The plot's colours: one a kind of mark, told apart on screen and on paper.
constexpr PlotColour kFitColour{0x1f, 0x3a, 0x93};       // dark blue, filled circle
constexpr PlotColour kCheckColour{0x1a, 0x8a, 0x2a};     // green, hollow triangle
constexpr PlotColour kOffColour{0x90, 0x90, 0x90};       // grey, cross
constexpr PlotColour kWorstColour{0xe0, 0x00, 0x00};     // red ring
constexpr PlotColour kSelectedColour{0xff, 0xd5, 0x4f};  // amber disc behind the mark
constexpr PlotColour kSelectedEdge{0xb2, 0x87, 0x04};
constexpr PlotColour kResidualColour{0xb0, 0x30, 0x9a};     // purple arrows and their bar
constexpr PlotColour kHeightAboveColour{0xd0, 0x20, 0x20};  // by height: above the model
constexpr PlotColour kHeightBelowColour{0x20, 0x50, 0xd0};  // and below it
constexpr PlotColour kGridColour{0x00, 0x83, 0x8f};         // teal: the construction grid
constexpr PlotColour kTextColour{0x30, 0x30, 0x30};
constexpr PlotColour kHintColour{0x80, 0x80, 0x80};
constexpr PlotColour kLegendEdge{0xb0, 0xb0, 0xb0};
constexpr PlotColour kGround{0xff, 0xff, 0xff};
constexpr PlotColour kLegendGround{0xff, 0xff, 0xff, 225};

constexpr double kMarkRadius = 4;
constexpr double kWorstRadius = 9;
constexpr double kSelectedRadius = 11;
constexpr double kAxisLength = 60;  // the construction axes' arrows, units of the plot
constexpr double kEdgeInset = 18;   // the arrow towards an origin off the plot
// How far right of its mark a name may start and still be drawn: a name of
// up to this many units reaches the plot.
constexpr double kLongestName = 200;

PlotXY operator+(PlotXY a, PlotXY b) { return {a.x + b.x, a.y + b.y}; }
PlotXY operator-(PlotXY a, PlotXY b) { return {a.x - b.x, a.y - b.y}; }
PlotXY operator*(PlotXY a, double k) { return {a.x * k, a.y * k}; }
double Length(PlotXY v) { return std::hypot(v.x, v.y); }

PlotXY Unit(PlotXY v) {
  const double length = Length(v);
  return length > 0 ? v * (1 / length) : PlotXY{};
}

bool IsNull(PlotXY v) { return v.x == 0 && v.y == 0; }

// The primitives of one plot, added in painting order.
class Drawer {
 public:
  explicit Drawer(PlotDrawing& drawing) : items_(drawing.items) {}

  void Line(std::vector<PlotXY> points, PlotStroke stroke) {
    PlotLine& line = Add<PlotLine>();
    line.points = std::move(points);
    line.stroke = stroke;
  }
  void Circle(PlotXY centre, double radius, std::optional<PlotStroke> edge,
              std::optional<PlotColour> fill) {
    PlotCircle& circle = Add<PlotCircle>();
    circle.centre = centre;
    circle.radius = radius;
    circle.edge = edge;
    circle.fill = fill;
  }
  void Polygon(std::vector<PlotXY> corners, std::optional<PlotStroke> edge,
               std::optional<PlotColour> fill) {
    PlotPolygon& polygon = Add<PlotPolygon>();
    polygon.corners = std::move(corners);
    polygon.edge = edge;
    polygon.fill = fill;
  }
  void Text(std::string text, PlotXY at, TextAnchor anchor, TextBaseline baseline,
            PlotColour colour) {
    PlotText& item = Add<PlotText>();
    item.text = std::move(text);
    item.at = at;
    item.anchor = anchor;
    item.baseline = baseline;
    item.colour = colour;
    item.size = kPlotFontSize;
  }

  // An arrow from `from` to `to` with a head of `head` units.
  void Arrow(PlotXY from, PlotXY to, double head, PlotStroke stroke) {
    Line({from, to}, stroke);
    const PlotXY back = Unit(from - to) * head;
    const PlotXY side{-back.y * 0.45, back.x * 0.45};
    Line({to + back + side, to, to + back - side}, stroke);
  }

  // `fill`, where given, fills a fit point's circle and a check point's
  // triangle in place of their own colour.
  void Mark(PlotXY at, PointRole role, std::optional<PlotColour> fill = std::nullopt) {
    switch (role) {
      case PointRole::kFit:
        Circle(at, kMarkRadius, PlotStroke{kFitColour, 1}, fill.value_or(kFitColour));
        break;
      case PointRole::kCheck:
        Polygon({at + PlotXY{0, -5}, at + PlotXY{4.5, 3.5}, at + PlotXY{-4.5, 3.5}},
                PlotStroke{kCheckColour, 1.5}, fill);
        break;
      case PointRole::kOff:
        Line({at + PlotXY{-kMarkRadius, -kMarkRadius}, at + PlotXY{kMarkRadius, kMarkRadius}},
             {kOffColour, 1.5});
        Line({at + PlotXY{-kMarkRadius, kMarkRadius}, at + PlotXY{kMarkRadius, -kMarkRadius}},
             {kOffColour, 1.5});
        break;
    }
  }

  // The construction X and Y axes drawn as arrows from `at` in the
  // directions `ux` and `uy` (unit vectors on the plot), labelled just
  // beyond their heads.
  void AxisArrows(PlotXY at, PlotXY ux, PlotXY uy, double length) {
    const PlotStroke stroke{kGridColour, 1.5};
    Arrow(at, at + ux * length, 7, stroke);
    Arrow(at, at + uy * length, 7, stroke);
    for (const auto& [direction, text] : {std::pair{ux, "施工X"}, std::pair{uy, "施工Y"}}) {
      Text(text, at + direction * (length + 12), TextAnchor::kMiddle, TextBaseline::kCentre,
           kGridColour);
    }
  }

  // A bar of `length` units with end ticks and its label after it, its
  // left end at `at`.
  void Bar(PlotXY at, double length, std::string text, PlotColour colour) {
    const PlotStroke stroke{colour, 1.5};
    Line({at, at + PlotXY{length, 0}}, stroke);
    Line({at + PlotXY{0, -4}, at + PlotXY{0, 4}}, stroke);
    Line({at + PlotXY{length, -4}, at + PlotXY{length, 4}}, stroke);
    Text(std::move(text), at + PlotXY{length + 6, 0}, TextAnchor::kStart, TextBaseline::kCentre,
         colour);
  }

 private:
  // A new item of the kind, made in its place and filled in member by
  // member: clang 14, which builds the fuzzers, cannot emplace an aggregate
  // from its members, and GCC 12 warns falsely when one is moved in.
  template <class Item>
  Item& Add() {
    return std::get<Item>(items_.emplace_back(std::in_place_type<Item>));
  }

  std::vector<PlotPrimitive>& items_;
};

// The construction grid: its axes as dashed lines where they cross the
// plot; its origin marked with the axes' arrows when on the plot, else an
// arrow at the edge pointing to it and the axes' arrows in the top-left
// corner.
void DrawConstructionGrid(Drawer& draw, PlotSize size, const RunParams& params,
                          const PlotView& view) {
  const Transform transform(params);
  const double length = kAxisLength * view.metres_per_pixel / params.scale;
  const PlanePoint origin = transform.Inverse({0, 0});
  const PlanePoint x_end = transform.Inverse({length, 0});
  const PlanePoint y_end = transform.Inverse({0, length});
  const PlotXY at = ToPixel(view, size, origin.x, origin.y);
  const PlotXY ux = Unit(ToPixel(view, size, x_end.x, x_end.y) - at);
  const PlotXY uy = Unit(ToPixel(view, size, y_end.x, y_end.y) - at);
  if (!std::isfinite(at.x) || !std::isfinite(at.y) || IsNull(ux) || IsNull(uy)) return;

  const PlotXY centre{size.width / 2, size.height / 2};
  const double reach = std::hypot(size.width, size.height);
  for (const PlotXY direction : {ux, uy}) {
    // The foot of the plot's centre on the axis: drawn from there, the line
    // stays short enough to draw exactly however far away the origin is.
    const PlotXY to_centre = centre - at;
    const PlotXY foot = at + direction * (to_centre.x * direction.x + to_centre.y * direction.y);
    if (Length(centre - foot) < reach / 2) {
      draw.Line({foot - direction * reach, foot + direction * reach}, {kGridColour, 1, true});
    }
  }

  const std::string label = "施工原点";
  const double left = kEdgeInset, top = kEdgeInset;
  const double right = size.width - kEdgeInset, bottom = size.height - kEdgeInset;
  if (at.x >= left && at.x <= right && at.y >= top && at.y <= bottom) {
    draw.Circle(at, 5, PlotStroke{kGridColour, 1.5}, std::nullopt);
    draw.Circle(at, 0.75, std::nullopt, kGridColour);
    draw.AxisArrows(at, ux, uy, kAxisLength);
    // The label on the side away from both arrows.
    draw.Text(label, at + Unit(PlotXY{} - (ux + uy)) * 22, TextAnchor::kMiddle,
              TextBaseline::kCentre, kGridColour);
    return;
  }
  if (!(right > left) || !(bottom > top)) return;
  // Where the line from the centre to the origin leaves the inner rectangle.
  const PlotXY towards = Unit(at - centre);
  const double half_w = (right - left) / 2, half_h = (bottom - top) / 2;
  const double t = std::min(towards.x != 0 ? half_w / std::abs(towards.x) : 1e300,
                            towards.y != 0 ? half_h / std::abs(towards.y) : 1e300);
  const PlotXY tip = centre + towards * t;
  draw.Arrow(tip - towards * 26, tip, 8, {kGridColour, 2});
  // The label just inside the arrow's tail, whole on the plot.
  const double width = EstimatedTextWidth(label, kPlotFontSize);
  const double height = kLineEms * kPlotFontSize;
  const double half_extent = std::abs(towards.x) * width / 2 + std::abs(towards.y) * height / 2;
  PlotXY label_at = tip - towards * (26 + 4 + half_extent);
  label_at.x =
      std::clamp(label_at.x, 2 + width / 2, std::max(2 + width / 2, size.width - width / 2 - 2));
  label_at.y = std::clamp(label_at.y, 2 + height / 2,
                          std::max(2 + height / 2, size.height - height / 2 - 2));
  draw.Text(label, label_at, TextAnchor::kMiddle, TextBaseline::kCentre, kGridColour);
  draw.AxisArrows({56, 56}, ux, uy, 26);
}

// The legend's rows' height.
double LegendRow() { return std::max(18.0, kLineEms * kPlotFontSize + 4); }

// A row of the legend: a mark, filled where given, and its text.
struct LegendEntry {
  PointRole role;
  std::string text;
  std::optional<PlotColour> fill;
};

// The roles' marks and names; shown by height, then the deepest red and
// blue with the residual (millimetres) they stand for.
std::vector<LegendEntry> LegendEntries(const SitePlot& plot, double largest_dh) {
  std::vector<LegendEntry> entries;
  for (PointRole role : kPointRoles) entries.push_back({role, RoleText(role), std::nullopt});
  if (plot.by_height && largest_dh > 0) {
    const std::string mm = FormatPattern(largest_dh * 1000, "0.0") + " mm";
    entries.push_back({PointRole::kFit, "高于模型 " + mm, kHeightAboveColour});
    entries.push_back({PointRole::kFit, "低于模型 " + mm, kHeightBelowColour});
  }
  return entries;
}

// The legend's box, top right.
PlotBox LegendBox(PlotSize size, const std::vector<LegendEntry>& entries) {
  double text_width = 0;
  for (const LegendEntry& entry : entries) {
    text_width = std::max(text_width, EstimatedTextWidth(entry.text, kPlotFontSize));
  }
  const double left = size.width - text_width - 38, top = 8;
  return {left, top, left + text_width + 30,
          top + LegendRow() * static_cast<double>(entries.size()) + 8};
}

void DrawLegend(Drawer& draw, PlotSize size, const std::vector<LegendEntry>& entries) {
  const auto [left, top, right, bottom] = LegendBox(size, entries);
  draw.Polygon({{left, top}, {right, top}, {right, bottom}, {left, bottom}},
               PlotStroke{kLegendEdge, 1}, kLegendGround);
  double y = top + 4 + LegendRow() / 2;
  for (const LegendEntry& entry : entries) {
    draw.Mark({left + 12, y}, entry.role, entry.fill);
    draw.Text(entry.text, {left + 24, y}, TextAnchor::kStart, TextBaseline::kCentre, kTextColour);
    y += LegendRow();
  }
}

}  // namespace

double EstimatedTextWidth(const std::string& text, double size) {
  double ems = 0;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    // The sequence's length from its first byte; a stray continuation
    // byte counts as a character of its own.
    const std::size_t length = lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : lead >= 0xc0 ? 2 : 1;
    // Three bytes or more: U+0800 up. From U+1100 (Hangul, then CJK) wide.
    bool wide = length == 4;
    if (length == 3 && i + 1 < text.size()) {
      const unsigned code =
          ((lead & 0x0fu) << 12) | ((static_cast<unsigned char>(text[i + 1]) & 0x3fu) << 6);
      wide = code >= 0x1100;
    }
    ems += wide ? 1 : kNarrowCharacterEms;
    i += length;
  }
  return ems * size;
}

PlotDrawing DrawSitePlot(const SitePlot& plot, const PlotView& view, PlotSize size) {
  PlotDrawing drawing;
  drawing.size = size;
  if (!(size.width > 0) || !(size.height > 0)) return drawing;
  Drawer draw(drawing);
  draw.Polygon({{0, 0}, {size.width, 0}, {size.width, size.height}, {0, size.height}}, std::nullopt,
               kGround);
  if (plot.points.empty()) {
    draw.Text("没有公共点", {size.width / 2, size.height / 2}, TextAnchor::kMiddle,
              TextBaseline::kCentre, kHintColour);
    return drawing;
  }
  if (plot.params) DrawConstructionGrid(draw, size, *plot.params, view);

  std::vector<PlotXY> at(plot.points.size());
  for (std::size_t i = 0; i < plot.points.size(); ++i) {
    at[i] = ToPixel(view, size, plot.points[i].x, plot.points[i].y);
  }
  // Only what can reach the plot is drawn: a mark, its ring or its name
  // (which starts right of the mark).
  const auto near = [&](PlotXY p) {
    return p.x >= -kLongestName && p.x <= size.width + kSelectedRadius && p.y >= -kSelectedRadius &&
           p.y <= size.height + kSelectedRadius;
  };
  const std::optional<double> exaggeration = ResidualExaggeration(plot, size);
  if (exaggeration) {
    for (std::size_t i = 0; i < plot.points.size(); ++i) {
      const PlotPoint& point = plot.points[i];
      if (!point.dx || !point.dy) continue;
      // dX is north, up the plot; dY east, to the right.
      const PlotXY tip = at[i] + PlotXY{*point.dy, -*point.dx} * *exaggeration;
      const bool crosses =
          std::min(at[i].x, tip.x) - 1 < size.width && std::max(at[i].x, tip.x) + 1 > 0 &&
          std::min(at[i].y, tip.y) - 1 < size.height && std::max(at[i].y, tip.y) + 1 > 0;
      if (crosses && Length(tip - at[i]) >= 3) draw.Arrow(at[i], tip, 5, {kResidualColour, 1.5});
    }
  }
  if (plot.selected && *plot.selected < plot.points.size() && near(at[*plot.selected])) {
    draw.Circle(at[*plot.selected], kSelectedRadius, PlotStroke{kSelectedEdge, 1.5},
                kSelectedColour);
  }
  // By height: red above the model, blue below, white through to full
  // colour as the residual goes from 0 to the largest shown.
  double largest_dh = 0;
  for (const PlotPoint& point : plot.points) {
    if (point.dh && std::isfinite(*point.dh))
      largest_dh = std::max(largest_dh, std::fabs(*point.dh));
  }
  for (std::size_t i = 0; i < plot.points.size(); ++i) {
    if (!near(at[i])) continue;
    std::optional<PlotColour> fill;
    if (plot.by_height && plot.points[i].dh) {
      const double dh = *plot.points[i].dh;
      const double share = largest_dh > 0 && std::isfinite(dh) ? std::fabs(dh) / largest_dh : 0;
      const auto fade = [&](std::uint8_t full) {
        return static_cast<std::uint8_t>(std::lround(255 - (255 - full) * share));
      };
      const PlotColour deep = dh > 0 ? kHeightAboveColour : kHeightBelowColour;
      fill = PlotColour{fade(deep.red), fade(deep.green), fade(deep.blue)};
    }
    draw.Mark(at[i], plot.points[i].role, fill);
  }
  if (plot.worst && *plot.worst < plot.points.size() && near(at[*plot.worst])) {
    draw.Circle(at[*plot.worst], kWorstRadius, PlotStroke{kWorstColour, 2}, std::nullopt);
  }
  // The names placed so that none covers another (LabelPlacer): the
  // selected point's first, then the worst point's, then the others' in
  // their order; drawn in the points' order.
  const ScaleBar map = RoundScaleBar(size.width / 4 * view.metres_per_pixel, BarUnit::kMetre);
  const std::optional<ScaleBar> residual =
      exaggeration ? std::optional(
                         RoundScaleBar(SmallerSide(size) / 8 / *exaggeration, BarUnit::kMillimetre))
                   : std::nullopt;
  std::vector<std::optional<NamePlace>> places(plot.points.size());
  const std::vector<LegendEntry> legend = LegendEntries(plot, largest_dh);
  LabelPlacer placer(size);
  placer.Block(LegendBox(size, legend));
  // The construction grid's labels, drawn already.
  for (const PlotPrimitive& item : drawing.items) {
    if (const auto* text = std::get_if<PlotText>(&item)) placer.Block(EstimatedTextBox(*text));
  }
  // The bars and their labels, bottom left.
  const double bars_top = size.height - (residual ? 34 : 14) - kLineEms * kPlotFontSize / 2;
  double bars_right =
      12 + map.metres / view.metres_per_pixel + 6 + EstimatedTextWidth(map.text, kPlotFontSize);
  if (residual) {
    bars_right =
        std::max(bars_right, 12 + residual->metres * *exaggeration + 6 +
                                 EstimatedTextWidth("残差 " + residual->text, kPlotFontSize));
  }
  placer.Block({0, bars_top, bars_right, size.height});
  const auto place = [&](std::optional<std::size_t> i) {
    if (i && *i < plot.points.size() && !places[*i] && near(at[*i])) {
      places[*i] = placer.Place(plot.points[*i].name, at[*i]);
    }
  };
  place(plot.selected);
  place(plot.worst);
  for (std::size_t i = 0; i < plot.points.size(); ++i) place(i);
  for (std::size_t i = 0; i < plot.points.size(); ++i) {
    if (places[i]) {
      draw.Text(plot.points[i].name, places[i]->at, places[i]->anchor, TextBaseline::kBaseline,
                kTextColour);
    }
  }

  DrawLegend(draw, size, legend);
  draw.Bar({12, size.height - 14}, map.metres / view.metres_per_pixel, map.text, kTextColour);
  if (residual) {
    draw.Bar({12, size.height - 34}, residual->metres * *exaggeration, "残差 " + residual->text,
             kResidualColour);
  }
  return drawing;
}

}  // namespace torvane
