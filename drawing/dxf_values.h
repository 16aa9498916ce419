// What one group of an entity holds (a point, a direction, an angle, a
// length) and how the grids' motion changes it: the converter an entity's
// rule applies, group by group, to the entity it holds.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "batch/run_error.h"
#include "drawing/dxf_entities.h"
#include "drawing/dxf_plane.h"

namespace torvane {

// What a group's value is.
enum class Role {
  kPoint,           // a point in world coordinates (x; y at code + 10, z at code + 20)
  kOcsPoint,        // a point in the entity's own coordinates
  kVector,          // a direction in world coordinates: turned only
  kOcsVector,       // a direction in the entity's own coordinates
  kSpan,            // a vector whose length is a distance, world coordinates: turned and scaled
  kOcsSpan,         // the same in the entity's own coordinates
  kAngle,           // degrees in the entity's own coordinates
  kClockwiseAngle,  // degrees counted clockwise in the entity's own coordinates (360° - angle):
                    // a hatch's clockwise arc edge
  kRadians,         // radians in the entity's own coordinates
  kLength,          // a distance, or a factor of one: scaled
};

struct CodeRole {
  int code;
  Role role;
};

// The error `kind` about the entity `unit`, named by its type, handle and line.
RunError EntityError(RunErrorKind kind, const DxfUnit& unit);

// Converts the values of one entity in place. Each step returns false on
// a failure, which failure() then tells.
class EntityConverter {
 public:
  EntityConverter(DxfUnit& unit, const DrawingMotion& motion, bool mirrored)
      : unit_(unit), motion_(motion), mirrored_(mirrored) {}

  DxfUnit& unit() { return unit_; }
  const DrawingMotion& motion() const { return motion_; }
  // The entity lies in a mirrored plane (extrusion (0,0,-1)).
  bool mirrored() const { return mirrored_; }
  void set_mirrored(bool mirrored) { mirrored_ = mirrored; }
  // The entity lies in a sloping plane of normal `normal` (its extrusion
  // as written): its own points, directions, angles and heights go through
  // the world and back into the plane's new object coordinates. Points it
  // writes without a z lie at height `elevation` (metres) in it. With a
  // scale other than 1 a sloping plane is not scaled alike in every
  // direction: what holds its points, a length or a vector of a length is
  // refused (kDrawingExtrusion), and world points and directions alone are
  // converted.
  void set_plane(const double normal[3], double elevation);
  bool sloping() const { return plane_.has_value(); }
  // Writes the new extrusion into groups i, i + 1 and i + 2 (210, 220, 230).
  bool WriteNormal(std::size_t i);
  // Refuses the entity as a whole: false, failure() the error `kind`.
  bool Refuse(RunErrorKind kind);
  const RunError& failure() const { return failure_; }

  // Calls each(i, code, &used) for every group after the group 0 but those
  // of XDATA, which it converts itself (world positions, displacements,
  // directions, distances); `used` (1 unless set) is how many groups the
  // call took. Stops at the first call that returns false.
  template <class Each>
  bool ForEachGroup(Each&& each) {
    std::size_t used = 1;
    for (std::size_t i = 1; i < unit_.size(); i += used) {
      used = 1;
      const int code = unit_.code(i);
      if (!(code >= 1000 ? ApplyXdata(i, &used) : each(i, code, &used))) return false;
    }
    return true;
  }

  // Applies `role` to the value at group i (for points and vectors, the
  // x there and the y after); *used is the groups taken.
  bool Apply(std::size_t i, Role role, std::size_t* used);
  // The x at group i, the y after it with code + 10 (group codes 43 and
  // 44, 45 and 46 pair as a hatch's pattern lines write them).
  bool Pair(std::size_t i, Role role, std::size_t* used, int y_code = 0);
  // A 4x4 matrix in the 16 groups of group i's code from group i, row by
  // row, that takes a block's coordinates to the world's (its last column
  // the translation, its last row (0, 0, 0, 1)): the motion applied after
  // it. A column whose last row is 1 is a point (moved, its height shifted),
  // one whose last row is 0 a span (turned and scaled). Rejects fewer than
  // 16 groups of the code (kDrawingDamaged).
  bool Matrix(std::size_t i, std::size_t* used);

  // An elevation (a plane's height: LWPOLYLINE's 38, a 2D polyline's or a
  // hatch's z) shifted by the height offset as the points' heights are.
  bool ShiftElevation(std::size_t i);
  // An entity without an elevation lies at 0: with a height offset it gets
  // one (group 38), written after group `anchor`.
  bool AddElevation(std::size_t anchor);
  // Writes after group `anchor` the values an entity leaves to their
  // defaults that the grids' motion changes: with `scale_factors` the
  // scale factors (41, 42; 1), and the rotation (50; 0). Without them a
  // text or a block inserted at 0° would keep 0° while its geometry turns.
  // Groups from `own_end` on (when not 0) are another object's that the
  // entity embeds: they do not count.
  void AddDefaults(std::size_t anchor, bool scale_factors, std::size_t own_end = 0);
  // Writes after group `anchor` a direction the entity leaves to its
  // default, DXF x (1, 0, 0), turned: groups `code`, code + 10, code + 20.
  // Nothing when the motion does not turn.
  void AddTurnedXAxis(std::size_t anchor, int code);

 private:
  bool ApplyXdata(std::size_t i, std::size_t* used);
  bool Number(std::size_t i, double* v);
  // Writes v into group i, unless it is `old`, the double already written there.
  bool Set(std::size_t i, double old, double v);
  bool ShiftHeight(std::size_t i, bool flip);
  bool Damaged(std::size_t i, std::string what);
  // A value of a sloping plane that a scale other than 1 does not carry.
  bool NotScaledAlike();
  bool MovePlanePoint(std::size_t i, Role role, std::size_t* used, int y_code);

  DxfUnit& unit_;
  const DrawingMotion& motion_;
  bool mirrored_;
  std::optional<SlopingPlane> plane_;
  double elevation_ = 0;
  RunError failure_;
};

// The first group of `code` after the group 0, or 0 when there is none.
std::size_t IndexOf(const DxfUnit& unit, int code);

// The value of a group that holds a whole number (flags, a count); 0 when
// it is absent or not a number.
int IntegerOf(std::optional<std::string_view> text);

}  // namespace torvane
