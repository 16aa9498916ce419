// The site plot's drawing (report/plot_drawing.h) as an SVG image, for the
// HTML report.
#pragma once

#include <string>

#include "report/plot_drawing.h"

namespace torvane {

// One standalone <svg> element (UTF-8, no XML declaration) showing
// `drawing` on (0, 0, size) in the plot's units, width and height given in
// px: every primitive in order, texts in a font that has Chinese
// characters, every text and name escaped for XML. Numbers are written to
// 0.01 units. An empty `size` gives an <svg> of that size with nothing in it.
std::string PlotSvg(const PlotDrawing& drawing, PlotSize size);

}  // namespace torvane
