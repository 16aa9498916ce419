#include "report/plot_svg.h"

#include <cmath>
#include <cstdio>
#include <variant>

#include "report/markup_escape.h"

namespace torvane {
namespace {

// The fonts asked for, the first found used: Chinese-capable fonts of
// Linux and Windows before the browser's own sans-serif.
constexpr const char* kFontFamily =
    "'WenQuanYi Micro Hei', 'Microsoft YaHei', 'SimSun', sans-serif";

// `value` to 0.01, without a trailing zero or point: "12", "12.5", "-0.25".
std::string Number(double value) {
  if (!std::isfinite(value)) value = 0;
  char text[48];
  std::snprintf(text, sizeof text, "%.2f", value);
  std::string out = text;
  while (out.back() == '0') out.pop_back();
  if (out.back() == '.') out.pop_back();
  if (out == "-0") out = "0";
  return out;
}

std::string Colour(PlotColour colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.red, colour.green, colour.blue);
  return text;
}

// The attributes that stroke an outline as `stroke` says, or none.
std::string Stroke(const std::optional<PlotStroke>& stroke) {
  if (!stroke) return " stroke=\"none\"";
  std::string out =
      " stroke=\"" + Colour(stroke->colour) + "\" stroke-width=\"" + Number(stroke->width) + "\"";
  if (stroke->colour.alpha != 255)
    out += " stroke-opacity=\"" + Number(stroke->colour.alpha / 255.0) + "\"";
  if (stroke->dashed) {
    out +=
        " stroke-dasharray=\"" + Number(4 * stroke->width) + " " + Number(2 * stroke->width) + "\"";
  }
  return out;
}

std::string Fill(const std::optional<PlotColour>& fill) {
  if (!fill) return " fill=\"none\"";
  std::string out = " fill=\"" + Colour(*fill) + "\"";
  if (fill->alpha != 255) out += " fill-opacity=\"" + Number(fill->alpha / 255.0) + "\"";
  return out;
}

std::string Points(const std::vector<PlotXY>& points) {
  std::string out;
  for (const PlotXY& p : points) {
    if (!out.empty()) out += ' ';
    out += Number(p.x) + ',' + Number(p.y);
  }
  return out;
}

std::string Element(const PlotLine& line) {
  return "<polyline points=\"" + Points(line.points) + "\" fill=\"none\"" + Stroke(line.stroke) +
         " stroke-linecap=\"square\" stroke-linejoin=\"bevel\"/>\n";
}

std::string Element(const PlotCircle& circle) {
  return "<circle cx=\"" + Number(circle.centre.x) + "\" cy=\"" + Number(circle.centre.y) +
         "\" r=\"" + Number(circle.radius) + "\"" + Fill(circle.fill) + Stroke(circle.edge) +
         "/>\n";
}

std::string Element(const PlotPolygon& polygon) {
  return "<polygon points=\"" + Points(polygon.corners) + "\"" + Fill(polygon.fill) +
         Stroke(polygon.edge) + "/>\n";
}

std::string Element(const PlotText& text) {
  const char* anchor = text.anchor == TextAnchor::kStart    ? "start"
                       : text.anchor == TextAnchor::kMiddle ? "middle"
                                                            : "end";
  const char* baseline = text.baseline == TextBaseline::kCentre ? "central" : "alphabetic";
  return "<text x=\"" + Number(text.at.x) + "\" y=\"" + Number(text.at.y) + "\" text-anchor=\"" +
         anchor + "\" dominant-baseline=\"" + baseline + "\" font-size=\"" + Number(text.size) +
         "\"" + Fill(text.colour) + ">" + MarkupEscape(text.text) + "</text>\n";
}

}  // namespace

std::string PlotSvg(const PlotDrawing& drawing, PlotSize size) {
  const std::string width = Number(size.width), height = Number(size.height);
  std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " + width + " " +
                    height + "\" width=\"" + width + "px\" height=\"" + height +
                    "px\" font-family=\"" + kFontFamily + "\">\n";
  for (const PlotPrimitive& item : drawing.items) {
    svg += std::visit([](const auto& primitive) { return Element(primitive); }, item);
  }
  svg += "</svg>\n";
  return svg;
}

}  // namespace torvane
