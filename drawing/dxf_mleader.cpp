#include "drawing/dxf_mleader.h"

#include <charconv>
#include <cstddef>
#include <string_view>

namespace torvane {
namespace {

// Where in a MULTILEADER a group stands: its own groups (before and after
// the context data), the context data, one of its leaders, or one of that
// leader's lines. Each part opens and closes with a group of its own.
enum class Part { kOwn, kContext, kLeader, kLine };

// Whether the normal whose x is group i (the text's 11, the block's 14)
// points down: the angle in its plane then runs the other way.
bool Downwards(const DxfUnit& unit, std::size_t i) {
  if (i + 2 >= unit.size() || unit.code(i + 2) != unit.code(i) + 20) return false;
  double z = 0;
  const std::string_view t = unit.text(i + 2);
  std::from_chars(t.data(), t.data() + t.size(), z);
  return z < 0;
}

// An angle in radians in the plane of a normal that may point down.
bool TurnRadians(EntityConverter& c, std::size_t i, bool downwards, std::size_t* used) {
  c.set_mirrored(downwards);
  const bool turned = c.Apply(i, Role::kRadians, used);
  c.set_mirrored(false);
  return turned;
}

// The entity's own groups: dogleg length (41), arrow head size (42),
// overall scale (45), the block content's scale (10, 20; its z, 30, is no
// length of the plan) and rotation (43, radians).
bool ConvertOwnGroup(EntityConverter& c, std::size_t i, int code, std::size_t* used) {
  switch (code) {
    case 10:
    case 20:
    case 41:
    case 42:
    case 45:
      return c.Apply(i, Role::kLength, used);
    case 43:
      return c.Apply(i, Role::kRadians, used);
    default:
      return true;
  }
}

// A group of the context data itself (not of its leaders).
bool ConvertContextGroup(EntityConverter& c, std::size_t i, int code, bool text_down,
                         bool block_down, std::size_t* used) {
  switch (code) {
    case 10:   // the content's base point
    case 12:   // the text's location
    case 15:   // the block content's position
    case 110:  // the plane's origin
      return c.Apply(i, Role::kPoint, used);
    case 11:   // the text's normal
    case 13:   // the text's direction
    case 14:   // the block content's normal
    case 111:  // the plane's x axis
    case 112:  // the plane's y axis
      return c.Apply(i, Role::kVector, used);
    case 16:   // the block content's scale in x
    case 26:   // and in y (its z, 36, stays)
    case 40:   // the overall scale
    case 41:   // the text's height
    case 43:   // the text's width
    case 44:   // the text's defined height
    case 140:  // the arrow head's size
    case 142:  // the columns' width
    case 143:  // their gutter
    case 144:  // each column's height
    case 145:  // the landing gap
      return c.Apply(i, Role::kLength, used);
    case 42:
      return TurnRadians(c, i, text_down, used);
    case 46:
      return TurnRadians(c, i, block_down, used);
    case 47:
      return c.Matrix(i, used);
    default:
      return true;
  }
}

// A group of a leader: its last point (10), dogleg direction (11), break
// start and end points (12, 13), dogleg length (40).
bool ConvertLeaderGroup(EntityConverter& c, std::size_t i, int code, std::size_t* used) {
  switch (code) {
    case 10:
    case 12:
    case 13:
      return c.Apply(i, Role::kPoint, used);
    case 11:
      return c.Apply(i, Role::kVector, used);
    case 40:
      return c.Apply(i, Role::kLength, used);
    default:
      return true;
  }
}

}  // namespace

bool ConvertMultileader(EntityConverter& c) {
  const DxfUnit& unit = c.unit();
  Part part = Part::kOwn;
  bool text_down = false, block_down = false;
  return c.ForEachGroup([&](std::size_t i, int code, std::size_t* used) {
    const std::string_view t = unit.text(i);
    switch (part) {
      case Part::kOwn:
        if (code == 300 && t == "CONTEXT_DATA{") {
          part = Part::kContext;
          return true;
        }
        return ConvertOwnGroup(c, i, code, used);
      case Part::kContext:
        if (code == 301 && t == "}") {
          part = Part::kOwn;
          return true;
        }
        if (code == 302 && t == "LEADER{") {
          part = Part::kLeader;
          return true;
        }
        if (code == 11) text_down = Downwards(unit, i);
        if (code == 14) block_down = Downwards(unit, i);
        return ConvertContextGroup(c, i, code, text_down, block_down, used);
      case Part::kLeader:
        if (code == 303 && t == "}") {
          part = Part::kContext;
          return true;
        }
        if (code == 304 && t == "LEADER_LINE{") {
          part = Part::kLine;
          return true;
        }
        return ConvertLeaderGroup(c, i, code, used);
      case Part::kLine:
        if (code == 305 && t == "}") {
          part = Part::kLeader;
          return true;
        }
        // Its vertices (10) and break start and end points (11, 12).
        return (code != 10 && code != 11 && code != 12) || c.Apply(i, Role::kPoint, used);
    }
    return true;
  });
}

}  // namespace torvane
