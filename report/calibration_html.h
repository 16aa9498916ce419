// The calibration report as one HTML file: UTF-8, its style and its plot
// inside it, nothing fetched from elsewhere, laid out to print on A4.
#pragma once

#include <string>
#include <string_view>

#include "report/calibration_document.h"

namespace torvane {

// The whole file. Every text of `document` is escaped; each figure sits in
// an element of its own whose class names it, for a program to read back:
// in the residual table <td class="name">, "role", "dx", "dy", "length",
// "wx", "wy" (mm; the w columns only where some point has them); in the
// other tables <th class="label">, <td class="value">, <td class="unit">;
// the files' <td class="file">, "size" (bytes), "sha256".
// `plot_svg` is the site plot as an <svg> element, placed as it is (an XML
// declaration before it is dropped); empty: no plot.
std::string CalibrationHtml(const CalibrationDocument& document, std::string_view plot_svg);

// The site plot of `document` as the HTML report shows it: an <svg> of
// 680 × 453 CSS px (96 an inch: 180 mm, the width of A4 within its
// margins, by two thirds of it), every point in view. `torvane-cli solve
// --report` and `torvane --report=OUT.html` both draw it so.
std::string CalibrationPlotSvg(const CalibrationDocument& document);

}  // namespace torvane
