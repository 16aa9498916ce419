// An entity drawn in a sloping plane: its extrusion (the plane's normal)
// leans from (0,0,±1), and its own coordinates are those of the plane's
// object coordinate system, whose axes DXF's arbitrary-axis algorithm
// derives from the normal. The grids' motion turns the plane about the
// vertical and moves it: the normal turns (with a scale k ≠ 1 it changes
// as the inverse transpose of the plan map does, (R·(nx, ny)/k, nz)
// normalised: the normal of the moved plane), and the entity's points,
// directions and angles are taken to world coordinates, moved there as
// world points and directions are, and read again in the object
// coordinate system of the new normal.
#pragma once

#include "drawing/dxf_entities.h"

namespace torvane {

struct Axes3 {
  double x[3], y[3], z[3];  // unit vectors, in world coordinates
  bool from_world_y;        // the normal is within 1/64 of the vertical: x is y × normal
};

// The arbitrary-axis algorithm: the object coordinate system of the
// normal `n` (finite, not 0; any length).
Axes3 ObjectAxes(const double n[3]);

class SlopingPlane {
 public:
  // `normal`: the extrusion as written (finite, not of length 0: the
  // caller refuses those).
  SlopingPlane(const double normal[3], const DrawingMotion& motion);

  // The extrusion to write: with k = 1 its x and y turned and its z kept;
  // with k ≠ 1 the moved plane's normal, as long as the old one.
  const double* new_normal() const { return new_normal_; }

  // A point of the plane (metres, object coordinates) at height z there:
  // its new x and y.
  void MovePoint(double* x, double* y, double z) const;
  // The new height (object z) of the points at height z of the plane:
  // one for all of them, so a plane stays one.
  double MoveHeight(double z) const;
  // A direction in the plane, turned: its length kept.
  void TurnDirection(double* x, double* y) const;
  // A vector in the plane whose length is a distance: as the plan map
  // takes it.
  void TurnSpan(double* x, double* y) const;
  // An angle in degrees, counter-clockwise in the plane (clockwise with
  // `clockwise`), taken as the direction it points in: in [0, 360).
  double TurnDegrees(double degrees, bool clockwise = false) const;
  // The same in radians, in [0, 2π).
  double TurnRadians(double radians, bool clockwise = false) const;
  // Directions and angles in the plane stay as they are: the motion
  // neither turns nor scales, or with the scale 1 both normals take their
  // x axis from the world's z, level (z × normal), which the turn about
  // the vertical takes onto the new one.
  bool keeps_angles() const { return keeps_angles_; }

 private:
  // A world vector as the plan map takes it (k·R on x and y; z kept).
  void MapVector(double v[3]) const;
  // Radians counter-clockwise.
  double Turn(double radians) const;

  const DrawingMotion& motion_;
  Axes3 old_, new_;
  double shift_[3];       // where the world origin goes: (x, y) moved, z by the height offset
  double height_factor_;  // 1 / |(R·(nx, ny)/k, nz)| for a unit n: 1 when k = 1
  double height_shift_;   // how far the plane moves along its new normal
  double new_normal_[3];
  bool only_moves_;
  bool keeps_angles_;
};

}  // namespace torvane
