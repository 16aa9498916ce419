#include "drawing/dxf_hatch.h"

#include <charconv>
#include <cstddef>

namespace torvane {
namespace {

// Where in a HATCH a group stands; the groups that start each part.
enum class Part { kHead, kPaths, kPattern, kPatternLines, kSeeds, kTail };

// An edge of a boundary path, as group 72 numbers it.
enum Edge { kNoEdge = 0, kLineEdge = 1, kArcEdge = 2, kEllipseEdge = 3, kSplineEdge = 4 };

// Whether the arc or ellipse edge whose type (group 72) is group i runs
// clockwise: its flag 73, after its angles, is 0. An edge without the flag
// runs counter-clockwise.
bool Clockwise(const DxfUnit& unit, std::size_t i) {
  for (std::size_t j = i + 1; j < unit.size(); ++j) {
    const int code = unit.code(j);
    if (code == 73) return unit.text(j) == "0";
    // The next edge, the path's end, or the next path.
    if (code == 72 || code == 97 || code == 92) break;
  }
  return false;
}

// A boundary path's group, in a path of edges (not a polyline path). An
// arc edge's angles are stored counted clockwise (360° - angle) when it
// runs clockwise; an ellipse edge's are counted from its major axis, which
// turns with it, and stay.
bool ConvertEdgeGroup(EntityConverter& c, std::size_t i, int code, int edge, bool clockwise,
                      std::size_t* used) {
  switch (code) {
    case 10:
      return c.Apply(i, Role::kOcsPoint, used);
    case 11:
      return c.Apply(i, edge == kEllipseEdge ? Role::kOcsSpan : Role::kOcsPoint, used);
    case 12:
    case 13:
      return edge != kSplineEdge || c.Apply(i, Role::kOcsVector, used);
    case 40:
      return edge != kArcEdge || c.Apply(i, Role::kLength, used);
    case 50:
    case 51:
      return edge != kArcEdge || c.Apply(i, clockwise ? Role::kClockwiseAngle : Role::kAngle, used);
    default:
      return true;
  }
}

// A group of the pattern, or of one of its lines.
bool ConvertPatternGroup(EntityConverter& c, std::size_t i, int code, std::size_t* used) {
  switch (code) {
    case 52:
    case 53:
      return c.Apply(i, Role::kAngle, used);
    case 41:
    case 47:
    case 49:
      return c.Apply(i, Role::kLength, used);
    case 43:
      return c.Pair(i, Role::kOcsPoint, used, 44);
    case 45:
      return c.Pair(i, Role::kOcsSpan, used, 46);
    default:
      return true;
  }
}

}  // namespace

bool ConvertHatch(EntityConverter& c) {
  const DxfUnit& unit = c.unit();
  Part part = Part::kHead;
  bool polyline_path = false;
  int edge = kNoEdge;
  bool clockwise = false;
  return c.ForEachGroup([&](std::size_t i, int code, std::size_t* used) {
    switch (code) {
      case 91:
        if (part == Part::kHead) part = Part::kPaths;
        return true;
      case 92:
        if (part == Part::kPaths) {
          polyline_path = (IntegerOf(unit.text(i)) & 2) != 0;
          edge = kNoEdge;
        }
        return true;
      case 75:
        if (part == Part::kPaths || part == Part::kHead) part = Part::kPattern;
        return true;
      case 78:
        if (part == Part::kPattern) part = Part::kPatternLines;
        return true;
      case 98:
        part = Part::kSeeds;
        return true;
      case 450:
        part = Part::kTail;
        return true;
      default:
        break;
    }
    switch (part) {
      case Part::kHead:
        // The elevation point (0, 0, z): its height; and the extrusion.
        return code != 30 || c.ShiftElevation(i);
      case Part::kPaths:
        if (polyline_path) return code != 10 || c.Apply(i, Role::kOcsPoint, used);
        if (code == 72) {
          // An edge type that is not a number leaves the one before.
          const std::string_view t = unit.text(i);
          std::from_chars(t.data(), t.data() + t.size(), edge);
          clockwise = edge == kArcEdge && Clockwise(unit, i);
          return true;
        }
        return ConvertEdgeGroup(c, i, code, edge, clockwise, used);
      case Part::kPattern:
      case Part::kPatternLines:
        return ConvertPatternGroup(c, i, code, used);
      case Part::kSeeds:
        return code != 10 || c.Apply(i, Role::kOcsPoint, used);
      case Part::kTail:
        return code != 460 || c.Apply(i, Role::kRadians, used);
    }
    return true;
  });
}

}  // namespace torvane
