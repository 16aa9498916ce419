// The texts the window writes into its X offset, Y offset and rotation boxes
// for parameters the program has worked out.
#pragma once

#include <string>

#include "base/expected.h"

namespace torvane {

struct ParamTexts {
  std::string x_offset;  // e.g. "1000.000161"
  std::string y_offset;  // e.g. "2000."
  std::string angle;     // ddd.mmss, e.g. "45.", "-30.152"
};

// The rotation box's decimal degrees for a turn of `theta` radians. The
// conversion reads the box back through DegreesToRadians, with the program's
// pi (3.1415926535), so these are theta / pi' · 180, not theta's true degrees.
double BoxDegrees(double theta);

// An offset in metres as its box shows it, to six decimals
// ("#########.######": 1000.000161, 2000., . for zero).
std::string OffsetText(double metres);

// The offset in metres that the box shows for `metres`: OffsetText read
// back, so rounded to six decimals. Needs a finite value.
double OffsetShown(double metres);

// The three texts: offsets in metres as OffsetText writes them, the angle in
// ddd.mmss of BoxDegrees(theta) to 0.0001″ (FormatDmsNumber).
// Rejects what FormatDmsNumber rejects (whole degrees beyond 2147483647).
Expected<ParamTexts> MakeParamTexts(double x_offset, double y_offset, double theta);

}  // namespace torvane
