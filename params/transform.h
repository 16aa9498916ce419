// The rigid motion between the survey grid and the construction grid.
// Metres in, metres out; heights are not touched.
#pragma once

#include "params/conversion_params.h"

namespace torvane {

struct PlanePoint {
  double x = 0;
  double y = 0;
};

enum class Direction { kSurveyToConstruction, kConstructionToSurvey };

// The parameters with cos θ and sin θ worked out once for a whole run.
class Transform {
 public:
  explicit Transform(const RunParams& params);
  // Survey -> construction: Xc = cos θ·(Xs−X0) + sin θ·(Ys−Y0),
  //                         Yc = cos θ·(Ys−Y0) − sin θ·(Xs−X0).
  PlanePoint Forward(PlanePoint survey) const;
  // Construction -> survey: Xs = (X0 + cos θ·Xc) − sin θ·Yc,
  //                         Ys = (Y0 + sin θ·Xc) + cos θ·Yc.
  PlanePoint Inverse(PlanePoint construction) const;
  PlanePoint Apply(Direction direction, PlanePoint point) const;

 private:
  double x0_, y0_, cos_, sin_;
};

}  // namespace torvane
