// The conversion between the survey grid and the construction grid: a
// rigid motion, and with it a scale k when the grids' distances differ.
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
// The scale is a step of its own, after the rigid motion going to the
// construction grid and before it coming back: x / 1 and x · 1 are x
// exactly in IEEE arithmetic, so with k = 1 every result is the rigid
// motion's to the last bit.
class Transform {
 public:
  explicit Transform(const RunParams& params);
  // Survey -> construction: Xc = (cos θ·(Xs−X0) + sin θ·(Ys−Y0)) / k,
  //                         Yc = (cos θ·(Ys−Y0) − sin θ·(Xs−X0)) / k.
  PlanePoint Forward(PlanePoint survey) const;
  // Construction -> survey, with xc = k·Xc and yc = k·Yc:
  //                         Xs = (X0 + cos θ·xc) − sin θ·yc,
  //                         Ys = (Y0 + sin θ·xc) + cos θ·yc.
  PlanePoint Inverse(PlanePoint construction) const;
  PlanePoint Apply(Direction direction, PlanePoint point) const;

 private:
  double x0_, y0_, cos_, sin_, scale_;
};

}  // namespace torvane
