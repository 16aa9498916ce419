#include "drawing/dxf_values.h"

#include <charconv>
#include <cmath>

#include "number/exact_decimal.h"

namespace torvane {
namespace {

// The groups of XDATA that hold world coordinates.
constexpr CodeRole kXdataRoles[] = {
    {1011, Role::kPoint}, {1012, Role::kSpan}, {1013, Role::kVector}, {1041, Role::kLength}};

// A double's shortest text that reads back as it: RoundTripText's digits,
// made where they are written.
class ShortestText {
 public:
  explicit ShortestText(double v)
      : size_(static_cast<std::size_t>(std::to_chars(text_, text_ + sizeof text_, v).ptr - text_)) {
  }
  std::string_view view() const { return std::string_view(text_, size_); }

 private:
  char text_[32];
  std::size_t size_;
};

}  // namespace

RunError EntityError(RunErrorKind kind, const DxfUnit& unit) {
  RunError e;
  e.kind = kind;
  e.line = unit.size() > 0 ? unit.line(0) : 0;
  e.entity_type = std::string(unit.Type());
  e.handle = std::string(unit.Handle());
  return e;
}

std::size_t IndexOf(const DxfUnit& unit, int code) {
  for (std::size_t i = 1; i < unit.size(); ++i) {
    if (unit.code(i) == code) return i;
  }
  return 0;
}

int IntegerOf(std::optional<std::string_view> text) {
  int v = 0;
  if (text) std::from_chars(text->data(), text->data() + text->size(), v);
  return v;
}

bool EntityConverter::Apply(std::size_t i, Role role, std::size_t* used) {
  *used = 1;
  switch (role) {
    case Role::kLength: {
      double v;
      if (!Number(i, &v)) return false;
      if (plane_ && v != 0 && motion_.Scale(1) != 1) return NotScaledAlike();
      return Set(i, v, motion_.Scale(v));
    }
    case Role::kAngle:
    case Role::kClockwiseAngle:
    case Role::kRadians: {
      double v;
      if (!Number(i, &v)) return false;
      if (plane_) {
        // The direction the angle points in, through the world.
        const bool clockwise = role == Role::kClockwiseAngle;
        return Set(i, v,
                   role == Role::kRadians ? plane_->TurnRadians(v, clockwise)
                                          : plane_->TurnDegrees(v, clockwise));
      }
      if (motion_.turn() == 0) return true;
      // In a mirrored plane angles run the other way; so do angles counted
      // clockwise, and in a mirrored plane those run the usual way again.
      const bool backwards = mirrored_ != (role == Role::kClockwiseAngle);
      const double result = role == Role::kRadians ? motion_.TurnRadians(v, backwards)
                                                   : motion_.TurnDegrees(v, backwards);
      return Set(i, v, result);
    }
    default:
      return Pair(i, role, used);
  }
}

bool EntityConverter::Pair(std::size_t i, Role role, std::size_t* used, int y_code) {
  const int code = unit_.code(i);
  if (y_code == 0) y_code = code + 10;
  if (i + 1 >= unit_.size() || unit_.code(i + 1) != y_code) {
    return Damaged(i, "group " + std::to_string(code) + " has no group " + std::to_string(y_code) +
                          " after it");
  }
  const bool ocs = role == Role::kOcsPoint || role == Role::kOcsVector || role == Role::kOcsSpan;
  if (plane_) {
    if (motion_.Scale(1) != 1 && role != Role::kPoint && role != Role::kVector) {
      return NotScaledAlike();
    }
    if (ocs) return MovePlanePoint(i, role, used, y_code);
  }
  double x, y;
  if (!Number(i, &x) || !Number(i + 1, &y)) return false;
  const double old_x = x, old_y = y;
  const bool has_z = i + 2 < unit_.size() && unit_.code(i + 2) == code + 20 && y_code == code + 10;
  if (role == Role::kVector && has_z && motion_.Scale(1) != 1) {
    // A world direction that leaves the plan: the plan map scales its x
    // and y and keeps its z, which tilts it; as long as it was.
    double z;
    if (!Number(i + 2, &z)) return false;
    if (z != 0) {
      const double length = std::sqrt(x * x + y * y + z * z);
      motion_.TurnSpan(&x, &y);
      const double f = length / std::sqrt(x * x + y * y + z * z);
      *used = 3;
      return Set(i, old_x, x * f) && Set(i + 1, old_y, y * f) && Set(i + 2, z, z * f);
    }
  }
  const bool flip = ocs && mirrored_;
  if (flip) x = -x;
  switch (role) {
    case Role::kPoint:
    case Role::kOcsPoint:
      motion_.MovePoint(&x, &y);
      break;
    case Role::kVector:
    case Role::kOcsVector:
      motion_.TurnVector(&x, &y);
      break;
    default:
      motion_.TurnSpan(&x, &y);
      break;
  }
  if (flip) x = -x;
  if (!Set(i, old_x, x) || !Set(i + 1, old_y, y)) return false;
  *used = 2;
  const bool point = role == Role::kPoint || role == Role::kOcsPoint;
  if (has_z) {
    *used = 3;
    if (point && motion_.height_offset() && !ShiftHeight(i + 2, flip)) return false;
  }
  return true;
}

bool EntityConverter::Matrix(std::size_t i, std::size_t* used) {
  const int code = unit_.code(i);
  double m[16];
  for (std::size_t k = 0; k < 16; ++k) {
    if (i + k >= unit_.size() || unit_.code(i + k) != code) {
      return Damaged(i,
                     "group " + std::to_string(code) + " holds fewer than 16 values of a matrix");
    }
    if (!Number(i + k, &m[k])) return false;
  }
  double origin_x = 0, origin_y = 0;
  motion_.MovePoint(&origin_x, &origin_y);
  for (std::size_t j = 0; j < 4; ++j) {
    double x = m[j], y = m[4 + j];
    const double w = m[12 + j];
    if (w == 1) {
      motion_.MovePoint(&x, &y);
      if (motion_.height_offset() && !ShiftHeight(i + 8 + j, false)) return false;
    } else {
      motion_.TurnSpan(&x, &y);
      x += w * origin_x;
      y += w * origin_y;
    }
    if (!Set(i + j, m[j], x) || !Set(i + 4 + j, m[4 + j], y)) return false;
  }
  *used = 16;
  return true;
}

bool EntityConverter::ApplyXdata(std::size_t i, std::size_t* used) {
  for (const CodeRole& r : kXdataRoles) {
    if (r.code == unit_.code(i) && !Apply(i, r.role, used)) return false;
  }
  return true;
}

bool EntityConverter::MovePlanePoint(std::size_t i, Role role, std::size_t* used, int y_code) {
  const int code = unit_.code(i);
  double x, y, z = elevation_;
  if (!Number(i, &x) || !Number(i + 1, &y)) return false;
  const double old_x = x, old_y = y;
  const bool has_z = i + 2 < unit_.size() && unit_.code(i + 2) == code + 20 && y_code == code + 10;
  if (has_z && !Number(i + 2, &z)) return false;
  switch (role) {
    case Role::kOcsPoint:
      plane_->MovePoint(&x, &y, z);
      break;
    case Role::kOcsVector:
      plane_->TurnDirection(&x, &y);
      break;
    default:
      plane_->TurnSpan(&x, &y);
      break;
  }
  if (!Set(i, old_x, x) || !Set(i + 1, old_y, y)) return false;
  *used = has_z ? 3 : 2;
  // A point's height in the plane moves with the plane, heights offset or not.
  return !has_z || role != Role::kOcsPoint || Set(i + 2, z, plane_->MoveHeight(z));
}

void EntityConverter::set_plane(const double normal[3], double elevation) {
  plane_.emplace(normal, motion_);
  mirrored_ = false;
  elevation_ = elevation;
}

bool EntityConverter::WriteNormal(std::size_t i) {
  for (std::size_t k = 0; k < 3 && i + k < unit_.size(); ++k) {
    if (unit_.code(i + k) != 210 + 10 * static_cast<int>(k)) break;
    double v;
    if (!Number(i + k, &v) || !Set(i + k, v, plane_->new_normal()[k])) return false;
  }
  return true;
}

bool EntityConverter::NotScaledAlike() { return Refuse(RunErrorKind::kDrawingExtrusion); }

bool EntityConverter::Refuse(RunErrorKind kind) {
  failure_ = EntityError(kind, unit_);
  return false;
}

bool EntityConverter::ShiftElevation(std::size_t i) {
  if (plane_) {
    double z;
    return Number(i, &z) && Set(i, z, plane_->MoveHeight(z));
  }
  return !motion_.height_offset() || ShiftHeight(i, mirrored_);
}

bool EntityConverter::AddElevation(std::size_t anchor) {
  if (plane_) {
    const double z = plane_->MoveHeight(0);
    if (!std::isfinite(z)) return Set(anchor, 0, z);
    if (z != 0) unit_.InsertAfter(anchor, 38, ShortestText(z).view());
    return true;
  }
  if (!motion_.height_offset()) return true;
  const bool subtract = (motion_.direction() == Direction::kSurveyToConstruction) != mirrored_;
  auto sum = ExactDecimalSum("0", *motion_.height_offset(), subtract);
  if (!sum) {
    failure_ = NumberFieldError(sum.error(), unit_.line(anchor) + 1, "z", "0");
    return false;
  }
  if (*sum != "0") unit_.InsertAfter(anchor, 38, *sum);
  return true;
}

void EntityConverter::AddDefaults(std::size_t anchor, bool scale_factors, std::size_t own_end) {
  if (anchor == 0) return;
  const auto add = [&](int code, double v) {
    unit_.InsertAfter(anchor, code, ShortestText(v).view());
  };
  const auto has = [&](int code) {
    const std::size_t i = IndexOf(unit_, code);
    return i != 0 && (own_end == 0 || i < own_end);
  };
  if (scale_factors && motion_.Scale(1) != 1) {
    if (!has(41)) add(41, motion_.Scale(1));
    if (!has(42)) add(42, motion_.Scale(1));
  }
  if (plane_) {
    if (!plane_->keeps_angles() && !has(50)) add(50, plane_->TurnDegrees(0));
    return;
  }
  if (motion_.turn() != 0 && !has(50)) add(50, motion_.TurnDegrees(0, mirrored_));
}

void EntityConverter::AddTurnedXAxis(std::size_t anchor, int code) {
  if (anchor == 0 || motion_.turn() == 0) return;
  double x = 1, y = 0;
  motion_.TurnVector(&x, &y);
  unit_.InsertAfter(anchor, code, ShortestText(x).view());
  unit_.InsertAfter(anchor, code + 10, ShortestText(y).view());
  unit_.InsertAfter(anchor, code + 20, "0");
}

bool EntityConverter::Number(std::size_t i, double* v) {
  std::string_view t = unit_.text(i);
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  const char* end = t.data() + t.size();
  auto [ptr, ec] = std::from_chars(t.data(), end, *v);
  if (ec != std::errc() || ptr != end || !std::isfinite(*v)) {
    return Damaged(i, "group " + std::to_string(unit_.code(i)) + " is not a number:");
  }
  return true;
}

bool EntityConverter::Set(std::size_t i, double old, double v) {
  if (!std::isfinite(v)) {
    failure_ = EntityError(RunErrorKind::kResultOutOfRange, unit_);
    failure_.line = unit_.line(i) + 1;
    return false;
  }
  // -0 and 0 are the same number: "-0.0" stays as written.
  if (old == v) return true;
  unit_.Replace(i, ShortestText(v).view());
  return true;
}

bool EntityConverter::ShiftHeight(std::size_t i, bool flip) {
  // A height in a mirrored plane runs down.
  const bool subtract = (motion_.direction() == Direction::kSurveyToConstruction) != flip;
  auto sum = ExactDecimalSum(unit_.text(i), *motion_.height_offset(), subtract);
  if (!sum) {
    failure_ = NumberFieldError(sum.error(), unit_.line(i) + 1, "z", unit_.text(i));
    return false;
  }
  if (*sum != unit_.text(i)) unit_.Replace(i, *sum);
  return true;
}

bool EntityConverter::Damaged(std::size_t i, std::string what) {
  failure_ = EntityError(RunErrorKind::kDrawingDamaged, unit_);
  failure_.line = unit_.line(i) + 1;
  std::string name(unit_.Type());
  if (!unit_.Handle().empty()) name += " (handle " + std::string(unit_.Handle()) + ")";
  failure_.detail = name + ": " + what;
  failure_.field_text = std::string(unit_.text(i));
  return false;
}

}  // namespace torvane
