// What a drawing's entities hold, group code by group code: points, which
// move with the grids; direction vectors, which only turn; angles, turned
// by the grids' rotation; lengths, scaled; and what is kept as written.
// An entity is converted as a whole, its groups held together; only the
// values that change are written anew, with the shortest text that reads
// back as the new number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/expected.h"
#include "batch/run_error.h"
#include "drawing/dxf_groups.h"
#include "params/conversion_params.h"
#include "params/transform.h"

namespace torvane {

// Which way a drawing's axes lie: east-north (DXF x is east, the survey Y;
// DXF y is north, the survey X), as CAD and CASS draw; north-east (DXF x
// is the survey X) for a drawing made north-first.
enum class DrawingAxis { kEastNorth, kNorthEast };

// One entity (or table entry, or section start): the groups from a group 0
// up to the next, with their bytes, and the new texts of the values that
// change.
class DxfUnit {
 public:
  void Clear();
  // Adds a group read; its bytes are copied.
  void Add(const DxfGroup& group);

  std::size_t size() const { return groups_.size(); }
  int code(std::size_t i) const { return groups_[i].code; }
  std::uint64_t line(std::size_t i) const { return groups_[i].line; }
  // The value's bytes as written, without its line end.
  std::string_view value(std::size_t i) const;
  // The value without the blanks around it ("LINE" for "LINE  ").
  std::string_view text(std::size_t i) const { return TrimmedValue(value(i)); }
  // The first value of code `code` at or after `from`, trimmed; none when absent.
  std::optional<std::string_view> Find(int code, std::size_t from = 0) const;
  // The entity's kind: the trimmed value of its group 0 ("" for none).
  std::string_view Type() const { return groups_.empty() ? std::string_view() : text(0); }
  // Its handle (group 5, or 105 for DIMSTYLE), "" when it has none.
  std::string_view Handle() const;

  // Gives group `i` the value `text` (its code line and line end kept).
  void Replace(std::size_t i, std::string_view text);
  // Writes a new group of `code` and value `text` after group `i` (after
  // those added there before), its code line as wide as group i's and its
  // line ends group i's: a value the entity left to its default.
  void InsertAfter(std::size_t i, int code, std::string_view text);
  bool Replaced(std::size_t i) const { return groups_[i].new_begin != kNone; }

  // The bytes as they are to be written: each group as read, or with its
  // new value. Calls write(const char*, size) for each run of bytes.
  template <class Write>
  void WriteOut(Write&& write) const {
    std::size_t run = 0;  // bytes as read, from the start of the last group not replaced
    std::size_t from = 0;
    for (const Group& g : groups_) {
      if (g.new_begin == kNone && g.added_size == 0) {
        run += g.end - g.begin;
        continue;
      }
      if (run > 0) write(bytes_.data() + from, run);
      if (g.new_begin == kNone) {
        write(bytes_.data() + g.begin, g.end - g.begin);
      } else {
        write(bytes_.data() + g.begin, g.value - g.begin);
        write(new_texts_.data() + g.new_begin, g.new_size);
        write(bytes_.data() + g.value + g.value_size, g.end - g.value - g.value_size);
      }
      if (g.added_size > 0) write(new_texts_.data() + g.added_begin, g.added_size);
      run = 0;
      from = g.end;
    }
    if (run > 0) write(bytes_.data() + from, run);
  }

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  struct Group {
    int code;
    std::size_t begin, value, value_size, end;  // in bytes_
    std::uint64_t line;
    std::size_t new_begin, new_size;      // in new_texts_
    std::size_t added_begin, added_size;  // in new_texts_: the groups added after it
  };
  std::string bytes_;
  std::string new_texts_;
  std::vector<Group> groups_;
};

// The grids' motion as a drawing sees it, in DXF coordinates.
class DrawingMotion {
 public:
  // `height_offset` as RunRequest::height_offset takes it: the heights of
  // the points that move are shifted by it; none: heights kept.
  DrawingMotion(const RunParams& params, Direction direction, DrawingAxis axis,
                std::optional<std::string> height_offset = std::nullopt);

  // A point (metres) moved as convert moves a point: the same doubles.
  void MovePoint(double* x, double* y) const;
  // A direction turned with the grids (neither moved nor scaled).
  void TurnVector(double* x, double* y) const;
  // A vector whose length is a distance: turned and scaled.
  void TurnSpan(double* x, double* y) const;
  // An angle in degrees, counter-clockwise from DXF x, turned with the
  // grids, in [0, 360) once turned; kept when the rotation is 0.
  // `backwards`: an angle in a mirrored plane (extrusion (0,0,-1)), which
  // turns the other way.
  double TurnDegrees(double degrees, bool backwards = false) const;
  // The same in radians, in [0, 2π) once turned.
  double TurnRadians(double radians, bool backwards = false) const;
  // A length (metres) as the grids' scale changes it.
  double Scale(double length) const;
  // How much angles turn, in degrees, counter-clockwise in the drawing.
  double turn() const { return turn_degrees_; }

  const std::optional<std::string>& height_offset() const { return height_offset_; }
  Direction direction() const { return direction_; }

 private:
  // x and y taken through `transform` as the axes lie.
  void Through(const Transform& transform, double* x, double* y) const;

  Transform transform_, turn_;
  Direction direction_;
  DrawingAxis axis_;
  double scale_;
  double turn_degrees_;
  std::optional<std::string> height_offset_;
};

// What the entities after a POLYLINE or an INSERT with attributes (its
// VERTEXes or ATTRIBs, up to SEQEND) take from it.
struct DxfSequence {
  bool open = false;             // a POLYLINE or INSERT's sequence is being read
  bool paper_space = false;      // its owner is in paper space: kept as written
  bool world_vertices = false;   // a 3D polyline or a mesh: vertices in world coordinates
  bool mirrored = false;         // its owner's extrusion is (0,0,-1)
  bool sloping = false;          // its owner lies in a sloping plane:
  double normal[3] = {0, 0, 1};  // its extrusion as written,
  double elevation = 0;          // and its height in it
};

// Converts one entity of model space (or of a dimension's block, which is
// drawn in world coordinates) in place. `sequence` carries what a POLYLINE
// or INSERT tells the entities that follow it. Rejects, the path left to
// the caller: an entity of a kind not converted, or a DIMENSION in a
// sloping plane, whose block is drawn in that plane (kDrawingEntity), a proxy
// (kDrawingProxy), an entity in a sloping plane (extrusion leaning from
// (0,0,±1) by more than 2e-17 rad) that holds its own points, a length, a
// vector of a length or a thickness when the scale is not 1
// (kDrawingExtrusion), a coordinate that is not a number, a point without
// its y or an extrusion that is no direction (kDrawingDamaged), a result
// beyond the range of doubles (kResultOutOfRange), a height that cannot be
// shifted (kNotANumber).
Expected<void, RunError> ConvertEntity(DxfUnit& unit, const DrawingMotion& motion,
                                       DxfSequence* sequence);

// The HEADER section's $EXTMIN and $EXTMAX: the box around the old box's
// four corners moved, its heights shifted as the points' are (kept without
// a height offset). Extents not set (min above max) are kept.
Expected<void, RunError> ConvertExtents(DxfUnit& header, const DrawingMotion& motion);

// A VPORT table entry: *ACTIVE's view centre (12, 22) moved and its
// height (40) scaled, so that the drawing opens in view; others kept.
Expected<void, RunError> ConvertActiveView(DxfUnit& vport, const DrawingMotion& motion);

}  // namespace torvane
