#include "drawing/dxf_entities.h"

#include <cassert>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>

#include "number/exact_decimal.h"
#include "number/round_trip.h"

namespace torvane {

// ---- DxfUnit ----

void DxfUnit::Clear() {
  bytes_.clear();
  new_texts_.clear();
  groups_.clear();
}

void DxfUnit::Add(const DxfGroup& group) {
  Group g;
  g.code = group.code;
  g.begin = bytes_.size();
  g.line = group.line;
  g.value = g.begin + group.code_line.size();
  g.value_size = group.value.size();
  g.end = g.value + g.value_size + group.value_end.size();
  // The reader hands out a group's lines one after the other in its buffer.
  assert(group.code_line.data() + group.code_line.size() == group.value.data() &&
         group.value.data() + group.value.size() == group.value_end.data());
  bytes_.append(group.code_line.data(), g.end - g.begin);
  g.new_begin = kNone;
  g.new_size = 0;
  g.added_begin = 0;
  g.added_size = 0;
  groups_.push_back(g);
}

std::string_view DxfUnit::value(std::size_t i) const {
  const Group& g = groups_[i];
  return std::string_view(bytes_.data() + g.value, g.value_size);
}

std::optional<std::string_view> DxfUnit::Find(int code, std::size_t from) const {
  for (std::size_t i = from; i < groups_.size(); ++i) {
    if (groups_[i].code == code) return text(i);
  }
  return std::nullopt;
}

std::string_view DxfUnit::Handle() const {
  for (std::size_t i = 1; i < groups_.size(); ++i) {
    if (groups_[i].code == 5 || groups_[i].code == 105) return text(i);
  }
  return {};
}

void DxfUnit::Replace(std::size_t i, std::string_view text) {
  Group& g = groups_[i];
  g.new_begin = new_texts_.size();
  g.new_size = text.size();
  new_texts_.append(text);
}

void DxfUnit::InsertAfter(std::size_t i, int code, std::string_view text) {
  Group& g = groups_[i];
  const std::string_view code_line(bytes_.data() + g.begin, g.value - g.begin);
  const std::string_view value_end(bytes_.data() + g.value + g.value_size,
                                   g.end - g.value - g.value_size);
  const std::size_t width = code_line.size() - value_end.size();
  std::string number = std::to_string(code);
  if (number.size() < width) number.insert(0, width - number.size(), ' ');
  std::string added = number;
  added.append(code_line.substr(code_line.size() - value_end.size()));
  added.append(text);
  added.append(value_end);
  // Groups added after this one before stay in front of this one.
  if (g.added_size > 0 && g.added_begin + g.added_size != new_texts_.size()) {
    const std::string earlier = new_texts_.substr(g.added_begin, g.added_size);
    g.added_begin = new_texts_.size();
    new_texts_.append(earlier);
  } else if (g.added_size == 0) {
    g.added_begin = new_texts_.size();
  }
  new_texts_.append(added);
  g.added_size += added.size();
}

// ---- DrawingMotion ----

namespace {

constexpr double kPi = 3.14159265358979323846;

// Brings an angle that has turned into [0, full).
double Normalized(double angle, double full) {
  double a = std::fmod(angle, full);
  if (a < 0) a += full;
  if (a >= full) a = 0;  // -tiny + full rounds to full
  return a;
}

}  // namespace

DrawingMotion::DrawingMotion(const RunParams& params, Direction direction, DrawingAxis axis,
                             std::optional<std::string> height_offset)
    : transform_(params),
      turn_(RunParams{0, 0, params.theta, 1}),
      direction_(direction),
      axis_(axis),
      scale_(params.scale),
      height_offset_(std::move(height_offset)) {
  if (height_offset_ && *height_offset_ == "0") height_offset_.reset();
  // How far DXF x turns, counter-clockwise in the drawing: any rotation,
  // a half turn and more included.
  double x = 1, y = 0;
  TurnVector(&x, &y);
  turn_degrees_ = params.theta == 0 ? 0 : std::atan2(y, x) * (180 / kPi);
}

void DrawingMotion::MovePoint(double* x, double* y) const {
  if (axis_ == DrawingAxis::kEastNorth) {
    const PlanePoint p = transform_.Apply(direction_, {*y, *x});
    *x = p.y;
    *y = p.x;
  } else {
    const PlanePoint p = transform_.Apply(direction_, {*x, *y});
    *x = p.x;
    *y = p.y;
  }
}

void DrawingMotion::TurnVector(double* x, double* y) const {
  if (axis_ == DrawingAxis::kEastNorth) {
    const PlanePoint p = turn_.Apply(direction_, {*y, *x});
    *x = p.y;
    *y = p.x;
  } else {
    const PlanePoint p = turn_.Apply(direction_, {*x, *y});
    *x = p.x;
    *y = p.y;
  }
}

void DrawingMotion::TurnSpan(double* x, double* y) const {
  TurnVector(x, y);
  *x = Scale(*x);
  *y = Scale(*y);
}

double DrawingMotion::TurnDegrees(double degrees, bool backwards) const {
  if (turn_degrees_ == 0) return degrees;
  return Normalized(backwards ? degrees - turn_degrees_ : degrees + turn_degrees_, 360);
}

double DrawingMotion::TurnRadians(double radians, bool backwards) const {
  if (turn_degrees_ == 0) return radians;
  const double turn = turn_degrees_ * (kPi / 180);
  return Normalized(backwards ? radians - turn : radians + turn, 2 * kPi);
}

double DrawingMotion::Scale(double length) const {
  return direction_ == Direction::kSurveyToConstruction ? length / scale_ : length * scale_;
}

// ---- entities ----

namespace {

// What a group's value is.
enum class Role {
  kPoint,      // a point in world coordinates (x; y at code + 10, z at code + 20)
  kOcsPoint,   // a point in the entity's own coordinates
  kVector,     // a direction in world coordinates: turned only
  kOcsVector,  // a direction in the entity's own coordinates
  kSpan,       // a vector whose length is a distance, world coordinates: turned and scaled
  kOcsSpan,    // the same in the entity's own coordinates
  kAngle,      // degrees in the entity's own coordinates
  kRadians,    // radians in the entity's own coordinates
  kLength,     // a distance, or a factor of one: scaled
};

struct CodeRole {
  int code;
  Role role;
};

struct EntityKind {
  const char* name;
  std::vector<CodeRole> roles;
};

// A text's (TEXT, ATTRIB, ATTDEF): insertion and alignment points in its
// plane, height, rotation.
const std::vector<CodeRole> kTextRoles = {
    {10, Role::kOcsPoint}, {11, Role::kOcsPoint}, {40, Role::kLength}, {50, Role::kAngle}};
// The four corners of a SOLID or a TRACE, in its plane.
const std::vector<CodeRole> kCornerRoles = {
    {10, Role::kOcsPoint}, {11, Role::kOcsPoint}, {12, Role::kOcsPoint}, {13, Role::kOcsPoint}};

const std::vector<EntityKind>& Kinds() {
  static const std::vector<EntityKind> kinds = {
      {"LINE", {{10, Role::kPoint}, {11, Role::kPoint}}},
      {"POINT", {{10, Role::kPoint}, {50, Role::kAngle}}},
      {"XLINE", {{10, Role::kPoint}, {11, Role::kVector}}},
      {"RAY", {{10, Role::kPoint}, {11, Role::kVector}}},
      {"CIRCLE", {{10, Role::kOcsPoint}, {40, Role::kLength}}},
      {"ARC", {{10, Role::kOcsPoint}, {40, Role::kLength}, {50, Role::kAngle}, {51, Role::kAngle}}},
      {"ELLIPSE", {{10, Role::kPoint}, {11, Role::kSpan}}},
      {"LWPOLYLINE",
       {{10, Role::kOcsPoint}, {40, Role::kLength}, {41, Role::kLength}, {43, Role::kLength}}},
      {"POLYLINE", {{40, Role::kLength}, {41, Role::kLength}}},
      {"SPLINE",
       {{10, Role::kPoint}, {11, Role::kPoint}, {12, Role::kVector}, {13, Role::kVector}}},
      {"TEXT", kTextRoles},
      {"ATTRIB", kTextRoles},
      {"ATTDEF", kTextRoles},
      {"MTEXT",
       {{10, Role::kPoint},
        {11, Role::kVector},
        {40, Role::kLength},
        {41, Role::kLength},
        {42, Role::kLength},
        {43, Role::kLength},
        {46, Role::kLength},
        {48, Role::kLength},
        {49, Role::kLength},
        {50, Role::kAngle}}},
      {"INSERT",
       {{10, Role::kOcsPoint},
        {50, Role::kAngle},
        {41, Role::kLength},
        {42, Role::kLength},
        {44, Role::kLength},
        {45, Role::kLength}}},
      {"DIMENSION",
       {{10, Role::kPoint},
        {11, Role::kOcsPoint},
        {12, Role::kOcsPoint},
        {13, Role::kPoint},
        {14, Role::kPoint},
        {15, Role::kPoint},
        {16, Role::kOcsPoint},
        {50, Role::kAngle},
        {40, Role::kLength},
        {42, Role::kLength}}},
      {"LEADER",
       {{10, Role::kPoint},
        {211, Role::kVector},
        {212, Role::kSpan},
        {213, Role::kSpan},
        {40, Role::kLength},
        {41, Role::kLength}}},
      {"SOLID", kCornerRoles},
      {"TRACE", kCornerRoles},
      {"3DFACE", {{10, Role::kPoint}, {11, Role::kPoint}, {12, Role::kPoint}, {13, Role::kPoint}}},
      {"VERTEX",
       {{10, Role::kOcsPoint}, {40, Role::kLength}, {41, Role::kLength}, {50, Role::kAngle}}},
      {"SEQEND", {}},
      {"HATCH", {}},
  };
  return kinds;
}

const EntityKind* KindNamed(std::string_view name) {
  for (const EntityKind& kind : Kinds()) {
    if (name == kind.name) return &kind;
  }
  return nullptr;
}

// The groups of XDATA that hold world coordinates.
constexpr CodeRole kXdataRoles[] = {
    {1011, Role::kPoint}, {1012, Role::kSpan}, {1013, Role::kVector}, {1041, Role::kLength}};

RunError EntityError(RunErrorKind kind, const DxfUnit& unit) {
  RunError e;
  e.kind = kind;
  e.line = unit.size() > 0 ? unit.line(0) : 0;
  e.field = std::string(unit.Type());
  e.field_text = std::string(unit.Handle());
  return e;
}

// Converts the values of one entity in place.
class EntityConverter {
 public:
  EntityConverter(DxfUnit& unit, const DrawingMotion& motion, bool mirrored)
      : unit_(unit), motion_(motion), mirrored_(mirrored) {}

  // Applies `role` to the value at group i (for points and vectors, the
  // x there and the y after); *used is the groups taken.
  bool Apply(std::size_t i, Role role, std::size_t* used) {
    *used = 1;
    switch (role) {
      case Role::kLength: {
        double v;
        if (!Number(i, &v)) return false;
        return Set(i, v, motion_.Scale(v));
      }
      case Role::kAngle:
      case Role::kRadians: {
        double v;
        if (!Number(i, &v)) return false;
        if (motion_.turn() == 0) return true;
        // In a mirrored plane angles run the other way.
        const double result = role == Role::kAngle ? motion_.TurnDegrees(v, mirrored_)
                                                   : motion_.TurnRadians(v, mirrored_);
        return Set(i, v, result);
      }
      default:
        return Pair(i, role, used);
    }
  }

  // The x at group i, the y after it with code + 10 (group codes 43 and
  // 44, 45 and 46 pair as a hatch's pattern lines write them).
  bool Pair(std::size_t i, Role role, std::size_t* used, int y_code = 0) {
    const int code = unit_.code(i);
    if (y_code == 0) y_code = code + 10;
    if (i + 1 >= unit_.size() || unit_.code(i + 1) != y_code) {
      return Damaged(i, "group " + std::to_string(code) + " has no group " +
                            std::to_string(y_code) + " after it");
    }
    double x, y;
    if (!Number(i, &x) || !Number(i + 1, &y)) return false;
    const double old_x = x, old_y = y;
    const bool ocs = role == Role::kOcsPoint || role == Role::kOcsVector || role == Role::kOcsSpan;
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
    if (i + 2 < unit_.size() && unit_.code(i + 2) == code + 20 && y_code == code + 10) {
      *used = 3;
      if (point && motion_.height_offset() && !ShiftHeight(i + 2, flip)) return false;
    }
    return true;
  }

  const RunError& failure() const { return failure_; }

  // An elevation (a plane's height: LWPOLYLINE's 38, a 2D polyline's or a
  // hatch's z) shifted by the height offset as the points' heights are.
  bool ShiftElevation(std::size_t i) {
    return !motion_.height_offset() || ShiftHeight(i, mirrored_);
  }

  // An LWPOLYLINE without an elevation lies at 0: with a height offset it
  // gets one, written after group `anchor`.
  bool AddElevation(std::size_t anchor) {
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

  // Writes the values an entity leaves to their defaults (rotation 0,
  // scale 1) that the grids' motion changes, after the group they follow
  // in the entity: a text's height, an insert's point. Without them a text
  // or a block inserted at 0° would keep 0° while its geometry turns.
  void AddDefaults(std::string_view type, bool mtext_direction) {
    const bool text = type == "TEXT" || type == "ATTRIB" || type == "ATTDEF" ||
                      (type == "MTEXT" && !mtext_direction);
    const bool insert = type == "INSERT";
    if (!text && !insert) return;
    std::size_t anchor = 0;
    for (std::size_t i = 1; i < unit_.size() && anchor == 0; ++i) {
      if (text && unit_.code(i) == 40) anchor = i;
      if (insert && unit_.code(i) == 10 && i + 1 < unit_.size() && unit_.code(i + 1) == 20) {
        anchor = i + 2 < unit_.size() && unit_.code(i + 2) == 30 ? i + 2 : i + 1;
      }
    }
    if (anchor == 0) return;
    const auto add = [&](int code, double v) {
      char buffer[32];
      const auto written = std::to_chars(buffer, buffer + sizeof buffer, v);
      unit_.InsertAfter(anchor, code,
                        std::string_view(buffer, static_cast<std::size_t>(written.ptr - buffer)));
    };
    if (insert && motion_.Scale(1) != 1) {
      if (!unit_.Find(41)) add(41, motion_.Scale(1));
      if (!unit_.Find(42)) add(42, motion_.Scale(1));
    }
    if (motion_.turn() != 0 && !unit_.Find(50)) add(50, motion_.TurnDegrees(0, mirrored_));
  }

 private:
  bool Number(std::size_t i, double* v) {
    std::string_view t = unit_.text(i);
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    const char* end = t.data() + t.size();
    auto [ptr, ec] = std::from_chars(t.data(), end, *v);
    if (ec != std::errc() || ptr != end || !std::isfinite(*v)) {
      return Damaged(i, "group " + std::to_string(unit_.code(i)) + " is not a number:");
    }
    return true;
  }

  // Writes v into group i, unless it is `old`, the double already written there.
  bool Set(std::size_t i, double old, double v) {
    if (!std::isfinite(v)) {
      failure_ = EntityError(RunErrorKind::kResultOutOfRange, unit_);
      failure_.line = unit_.line(i) + 1;
      return false;
    }
    // -0 and 0 are the same number: "-0.0" stays as written.
    if (old == v) return true;
    // RoundTripText's digits, made where they are written.
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, v);
    unit_.Replace(i, std::string_view(text, static_cast<std::size_t>(written.ptr - text)));
    return true;
  }

  bool ShiftHeight(std::size_t i, bool flip) {
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

  bool Damaged(std::size_t i, std::string what) {
    failure_ = EntityError(RunErrorKind::kDrawingDamaged, unit_);
    failure_.line = unit_.line(i) + 1;
    std::string name(unit_.Type());
    if (!unit_.Handle().empty()) name += " (handle " + std::string(unit_.Handle()) + ")";
    failure_.detail = name + ": " + what;
    failure_.field_text = std::string(unit_.text(i));
    return false;
  }

  DxfUnit& unit_;
  const DrawingMotion& motion_;
  bool mirrored_;
  RunError failure_;
};

// The entity's extrusion (210, 220, 230): false when it is neither
// (0,0,1) nor (0,0,-1); *mirrored when it is (0,0,-1).
bool ReadExtrusion(const DxfUnit& unit, bool* mirrored, std::string* said) {
  *mirrored = false;
  for (std::size_t i = 1; i < unit.size(); ++i) {
    if (unit.code(i) != 210) continue;
    double v[3] = {0, 0, 1};
    for (std::size_t k = 0; k < 3 && i + k < unit.size(); ++k) {
      if (unit.code(i + k) != 210 + 10 * static_cast<int>(k)) break;
      std::string_view t = unit.text(i + k);
      auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), v[k]);
      if (ec != std::errc() || ptr != t.data() + t.size()) v[k] = NAN;
    }
    *said = "(" + std::string(unit.text(i)) + "," +
            (i + 1 < unit.size() ? std::string(unit.text(i + 1)) : "") + "," +
            (i + 2 < unit.size() ? std::string(unit.text(i + 2)) : "") + ")";
    if (v[0] != 0 || v[1] != 0 || (v[2] != 1 && v[2] != -1)) return false;
    *mirrored = v[2] == -1;
    return true;
  }
  return true;
}

// A HATCH, its groups read in the order they are written: the same codes
// mean other things in its boundary paths, pattern lines and seed points.
bool ConvertHatch(DxfUnit& unit, EntityConverter& c) {
  enum class Part { kHead, kPaths, kPattern, kPatternLines, kSeeds, kTail } part = Part::kHead;
  bool polyline_path = false;
  int edge = 0;  // 1 line, 2 arc, 3 ellipse, 4 spline
  std::size_t used = 1;
  for (std::size_t i = 1; i < unit.size(); i += used) {
    used = 1;
    const int code = unit.code(i);
    if (code >= 1000) {
      for (const CodeRole& r : kXdataRoles) {
        if (r.code == code && !c.Apply(i, r.role, &used)) return false;
      }
      continue;
    }
    switch (code) {
      case 91:
        if (part == Part::kHead) part = Part::kPaths;
        continue;
      case 92:
        if (part == Part::kPaths) {
          auto flags = unit.text(i);
          int f = 0;
          std::from_chars(flags.data(), flags.data() + flags.size(), f);
          polyline_path = (f & 2) != 0;
          edge = 0;
        }
        continue;
      case 75:
        if (part == Part::kPaths || part == Part::kHead) part = Part::kPattern;
        continue;
      case 78:
        if (part == Part::kPattern) part = Part::kPatternLines;
        continue;
      case 98:
        part = Part::kSeeds;
        continue;
      case 450:
        part = Part::kTail;
        continue;
      default:
        break;
    }
    bool ok = true;
    switch (part) {
      case Part::kHead:
        // The elevation point (0, 0, z): its height; and the extrusion.
        if (code == 30) ok = c.ShiftElevation(i);
        break;
      case Part::kPaths:
        if (polyline_path) {
          if (code == 10) ok = c.Apply(i, Role::kOcsPoint, &used);
          break;
        }
        if (code == 72) {
          auto t = unit.text(i);
          std::from_chars(t.data(), t.data() + t.size(), edge);
          break;
        }
        if (code == 10) {
          ok = c.Apply(i, Role::kOcsPoint, &used);
        } else if (code == 11) {
          ok = c.Apply(i, edge == 3 ? Role::kOcsSpan : Role::kOcsPoint, &used);
        } else if ((code == 12 || code == 13) && edge == 4) {
          ok = c.Apply(i, Role::kOcsVector, &used);
        } else if (code == 40 && edge == 2) {
          ok = c.Apply(i, Role::kLength, &used);
        } else if ((code == 50 || code == 51) && edge == 2) {
          ok = c.Apply(i, Role::kAngle, &used);
        }
        break;
      case Part::kPattern:
      case Part::kPatternLines:
        if (code == 52 || code == 53) {
          ok = c.Apply(i, Role::kAngle, &used);
        } else if (code == 41 || code == 49) {
          ok = c.Apply(i, Role::kLength, &used);
        } else if (code == 43) {
          ok = c.Pair(i, Role::kOcsPoint, &used, 44);
        } else if (code == 45) {
          ok = c.Pair(i, Role::kOcsSpan, &used, 46);
        } else if (code == 47) {
          ok = c.Apply(i, Role::kLength, &used);
        }
        break;
      case Part::kSeeds:
        if (code == 10) ok = c.Apply(i, Role::kOcsPoint, &used);
        break;
      case Part::kTail:
        if (code == 460) ok = c.Apply(i, Role::kRadians, &used);
        break;
    }
    if (!ok) return false;
  }
  return true;
}

// Whether a VERTEX is a face record of a polyface mesh, whose 10/20/30
// is no point.
bool IsFaceRecord(const DxfUnit& unit) {
  auto flags = unit.Find(70);
  if (!flags) return false;
  int f = 0;
  std::from_chars(flags->data(), flags->data() + flags->size(), f);
  return (f & 128) != 0 && (f & 64) == 0;
}

int IntegerOf(std::optional<std::string_view> text) {
  int v = 0;
  if (text) std::from_chars(text->data(), text->data() + text->size(), v);
  return v;
}

}  // namespace

Expected<void, RunError> ConvertEntity(DxfUnit& unit, const DrawingMotion& motion,
                                       DxfSequence* sequence) {
  const std::string_view type = unit.Type();
  // Paper space, and the vertices and attributes of what is in it, is kept.
  if (unit.Find(67) == std::string_view("1")) {
    if (type == "POLYLINE" || (type == "INSERT" && IntegerOf(unit.Find(66)) == 1)) {
      *sequence = DxfSequence{true, true, false, false};
    } else if (type == "SEQEND") {
      *sequence = DxfSequence{};
    }
    return {};
  }
  if (type == "ACAD_PROXY_ENTITY") return Fail(EntityError(RunErrorKind::kDrawingProxy, unit));
  const EntityKind* kind = KindNamed(type);
  if (kind == nullptr) return Fail(EntityError(RunErrorKind::kDrawingEntity, unit));
  const bool in_sequence = type == "VERTEX" || type == "ATTRIB" || type == "SEQEND";
  if (in_sequence && sequence->open && sequence->paper_space) {
    if (type == "SEQEND") *sequence = DxfSequence{};
    return {};
  }
  if (type == "SEQEND") {
    *sequence = DxfSequence{};
    return {};
  }
  // An entity that embeds another (a multi-line attribute's MTEXT) is not
  // converted: its copy of the coordinates would stay behind.
  if (unit.Find(101)) return Fail(EntityError(RunErrorKind::kDrawingEntity, unit));
  bool mirrored = false;
  std::string said;
  if (!ReadExtrusion(unit, &mirrored, &said)) {
    RunError e = EntityError(RunErrorKind::kDrawingExtrusion, unit);
    e.detail = said;
    return Fail(std::move(e));
  }
  bool world_vertex = false;
  bool face_record = false;
  if (type == "VERTEX") {
    // A 2D polyline's vertices lie in its plane.
    mirrored = sequence->mirrored;
    world_vertex = sequence->world_vertices;
    face_record = IsFaceRecord(unit);
  }
  EntityConverter c(unit, motion, mirrored);
  if (type == "HATCH") {
    if (!ConvertHatch(unit, c)) return Fail(c.failure());
    return {};
  }
  const bool mtext_direction = type == "MTEXT" && unit.Find(11);
  const bool angular = type == "DIMENSION" &&
                       ((IntegerOf(unit.Find(70)) & 7) == 2 || (IntegerOf(unit.Find(70)) & 7) == 5);
  std::size_t used = 1;
  for (std::size_t i = 1; i < unit.size(); i += used) {
    used = 1;
    const int code = unit.code(i);
    if (code >= 1000) {
      for (const CodeRole& r : kXdataRoles) {
        if (r.code == code && !c.Apply(i, r.role, &used)) return Fail(c.failure());
      }
      continue;
    }
    for (const CodeRole& r : kind->roles) {
      if (r.code != code) continue;
      Role role = r.role;
      if (face_record && code == 10) break;
      if (world_vertex && role == Role::kOcsPoint) role = Role::kPoint;
      // An MTEXT's direction vector, when it has one, says its rotation.
      if (mtext_direction && code == 50) break;
      if (angular && code == 42) break;
      if (!c.Apply(i, role, &used)) return Fail(c.failure());
      break;
    }
  }
  c.AddDefaults(type, mtext_direction);
  // The plane's height: LWPOLYLINE's elevation, a 2D polyline's own point's z.
  const bool plane_polyline = type == "POLYLINE" && (IntegerOf(unit.Find(70)) & (8 | 16 | 64)) == 0;
  bool elevation = false;
  for (std::size_t i = 1; i < unit.size() && !elevation; ++i) {
    if ((type == "LWPOLYLINE" && unit.code(i) == 38) || (plane_polyline && unit.code(i) == 30)) {
      if (!c.ShiftElevation(i)) return Fail(c.failure());
      elevation = true;
    }
  }
  if (type == "LWPOLYLINE" && !elevation) {
    // 38 follows the flags (70), or the count of vertices (90).
    std::size_t anchor = 0;
    for (std::size_t i = 1; i < unit.size(); ++i) {
      if (unit.code(i) == 70 || (unit.code(i) == 90 && anchor == 0)) anchor = i;
      if (unit.code(i) == 10) break;
    }
    if (anchor != 0 && !c.AddElevation(anchor)) return Fail(c.failure());
  }
  if (type == "POLYLINE") {
    const int flags = IntegerOf(unit.Find(70));
    *sequence = DxfSequence{true, false, (flags & (8 | 16 | 64)) != 0, mirrored};
  } else if (type == "INSERT" && IntegerOf(unit.Find(66)) == 1) {
    *sequence = DxfSequence{true, false, false, mirrored};
  }
  return {};
}

Expected<void, RunError> ConvertExtents(DxfUnit& header, const DrawingMotion& motion) {
  std::size_t min_at = 0, max_at = 0;
  for (std::size_t i = 0; i + 2 < header.size(); ++i) {
    if (header.code(i) != 9) continue;
    if (header.code(i + 1) != 10 || header.code(i + 2) != 20) continue;
    if (header.text(i) == "$EXTMIN") min_at = i + 1;
    if (header.text(i) == "$EXTMAX") max_at = i + 1;
  }
  if (min_at == 0 || max_at == 0) return {};
  double v[4];
  const std::size_t at[4] = {min_at, min_at + 1, max_at, max_at + 1};
  for (int k = 0; k < 4; ++k) {
    std::string_view t = header.text(at[k]);
    auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), v[k]);
    if (ec != std::errc() || ptr != t.data() + t.size()) {
      RunError e;
      e.kind = RunErrorKind::kDrawingDamaged;
      e.line = header.line(at[k]) + 1;
      e.detail = "the header's extents are not numbers:";
      e.field_text = std::string(t);
      return Fail(std::move(e));
    }
  }
  // An empty drawing's extents are not set: min above max.
  if (!(v[0] <= v[2] && v[1] <= v[3])) return {};
  const double corners[4][2] = {{v[0], v[1]}, {v[2], v[1]}, {v[0], v[3]}, {v[2], v[3]}};
  double box[4] = {INFINITY, INFINITY, -INFINITY, -INFINITY};
  for (const auto& corner : corners) {
    double x = corner[0], y = corner[1];
    motion.MovePoint(&x, &y);
    box[0] = std::fmin(box[0], x);
    box[1] = std::fmin(box[1], y);
    box[2] = std::fmax(box[2], x);
    box[3] = std::fmax(box[3], y);
  }
  for (int k = 0; k < 4; ++k) {
    if (!std::isfinite(box[k])) {
      RunError e;
      e.kind = RunErrorKind::kResultOutOfRange;
      e.line = header.line(at[k]) + 1;
      e.field = "$EXTMIN";
      return Fail(std::move(e));
    }
    if (box[k] != v[k]) header.Replace(at[k], RoundTripText(box[k]));
  }
  return {};
}

Expected<void, RunError> ConvertActiveView(DxfUnit& vport, const DrawingMotion& motion) {
  auto name = vport.Find(2);
  if (!name || name->size() != 7) return {};
  std::string upper(*name);
  for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  if (upper != "*ACTIVE") return {};
  EntityConverter c(vport, motion, false);
  std::size_t used = 1;
  for (std::size_t i = 1; i < vport.size(); i += used) {
    used = 1;
    if (vport.code(i) == 12) {
      // Only the centre moves: heights are no part of it.
      if (!c.Pair(i, Role::kPoint, &used, 22)) return Fail(c.failure());
    } else if (vport.code(i) == 40) {
      if (!c.Apply(i, Role::kLength, &used)) return Fail(c.failure());
    }
  }
  return {};
}

}  // namespace torvane
