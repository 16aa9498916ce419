// The height section's figures each as one text, the same in the text
// report and in JSON.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "fit/height_fit.h"
#include "fit/height_surface.h"

namespace torvane {

// A centroid coordinate, metres to four decimals: "3456789.1234".
std::string HeightCentroidText(double metres);

// A leverage to three decimals: "0.250".
std::string LeverageText(double h);

struct HeightTerm {
  std::string name;   // as JSON names it: "a0", "slope_x", "slope_y", "a3" ...
  std::string label;  // as the text report names it: "a0", "slope X", "slope Y", "a3" ...
  std::string value;  // as shown, in `unit`
  std::string unit;   // "m", "mm per 100 m", "mm per km²"
};

// The terms of `surface` as shown: a0 in metres to six decimals; the
// plane's slopes and the quadric's a1, a2 in millimetres per 100 m, the
// quadric's a3, a4, a5 in millimetres per square kilometre, three decimals.
std::vector<HeightTerm> HeightTerms(const HeightSurface& surface);

// Why auto chose fits.recommended, one sentence without its full stop.
std::string HeightChoiceReason(const HeightFits& fits);

// One line of a model's F test against the simpler one: "Plane against
// offset: F = 12.30, F(2, 9) at 95 %: 4.256: the slopes are significant\n",
// or that it is not made ("...: not tested, too few points\n"); `what`
// names what the fuller model adds, with its verb ("the slopes are").
std::string HeightFTestLine(const std::string& label, const std::optional<HeightFTest>& test,
                            const std::string& what);

}  // namespace torvane
