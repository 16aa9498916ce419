#include "drawing/dxf_entities.h"

#include <algorithm>
#include <cassert>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>

#include "drawing/dxf_hatch.h"
#include "drawing/dxf_mleader.h"
#include "drawing/dxf_values.h"
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

void DrawingMotion::Through(const Transform& transform, double* x, double* y) const {
  // The survey grid is north-first: an east-north drawing's x is its Y.
  double* north = axis_ == DrawingAxis::kEastNorth ? y : x;
  double* east = axis_ == DrawingAxis::kEastNorth ? x : y;
  const PlanePoint p = transform.Apply(direction_, {*north, *east});
  *north = p.x;
  *east = p.y;
}

void DrawingMotion::MovePoint(double* x, double* y) const { Through(transform_, x, y); }

void DrawingMotion::TurnVector(double* x, double* y) const { Through(turn_, x, y); }

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

// Where an entity stands in a sequence: a POLYLINE's VERTEXes or an
// INSERT's ATTRIBs, up to a SEQEND.
enum class InSequence { kNo, kMember, kEnd };

// A kind's own rule, where its roles alone do not say how it moves: it
// converts the entity `c` holds, with `roles`, the kind's.
using Rule = bool (*)(EntityConverter& c, const std::vector<CodeRole>& roles,
                      DxfSequence* sequence);

// An entity kind that is converted: which of its groups hold what.
struct EntityKind {
  EntityKind(const char* name, std::vector<CodeRole> roles, Rule rule = nullptr,
             bool (*opens_sequence)(const DxfUnit&) = nullptr,
             InSequence in_sequence = InSequence::kNo,
             std::optional<RunErrorKind> refused = std::nullopt)
      : name(name),
        roles(std::move(roles)),
        rule(rule),
        opens_sequence(opens_sequence),
        in_sequence(in_sequence),
        refused(refused) {}

  const char* name;
  std::vector<CodeRole> roles;
  // None: the roles applied to every group.
  Rule rule;
  // For the owner of a sequence: whether one follows this entity.
  bool (*opens_sequence)(const DxfUnit& unit);
  InSequence in_sequence;
  // A kind refused by its name, whatever it holds.
  std::optional<RunErrorKind> refused;
};

// Applies `roles` to the groups that have them (and XDATA's groups);
// adjust(code, &role) may change a group's role, or return false to keep
// the group as written.
template <class Adjust>
bool ApplyRoles(EntityConverter& c, const std::vector<CodeRole>& roles, Adjust adjust) {
  return c.ForEachGroup([&](std::size_t i, int code, std::size_t* used) {
    for (const CodeRole& r : roles) {
      if (r.code != code) continue;
      Role role = r.role;
      return !adjust(code, &role) || c.Apply(i, role, used);
    }
    return true;
  });
}

bool ApplyRoles(EntityConverter& c, const std::vector<CodeRole>& roles) {
  return ApplyRoles(c, roles, [](int, Role*) { return true; });
}

// A text (TEXT, ATTRIB, ATTDEF) left at 0° gets its rotation, after its
// height.
// An MTEXT's: its insertion point, direction, height, widths, line
// spacing and columns, rotation.
const std::vector<CodeRole>& MtextRoles() {
  using enum Role;
  static const std::vector<CodeRole> roles = {
      {10, kPoint},  {11, kVector}, {40, kLength}, {41, kLength}, {42, kLength},
      {43, kLength}, {46, kLength}, {48, kLength}, {49, kLength}, {50, kAngle}};
  return roles;
}

// A multi-line one (an ATTRIB or ATTDEF) embeds an MTEXT after its group
// 101, converted by the MTEXT's roles: its 50 kept when it has a direction.
bool ConvertText(EntityConverter& c, const std::vector<CodeRole>& roles, DxfSequence*) {
  const DxfUnit& unit = c.unit();
  const std::size_t embedded = IndexOf(unit, 101);
  const bool has_direction = embedded != 0 && unit.Find(11, embedded);
  const bool converted = c.ForEachGroup([&](std::size_t i, int code, std::size_t* used) {
    const bool inside = embedded != 0 && i > embedded;
    if (inside && has_direction && code == 50) return true;
    for (const CodeRole& r : inside ? MtextRoles() : roles) {
      if (r.code == code) return c.Apply(i, r.role, used);
    }
    return true;
  });
  if (!converted) return false;
  c.AddDefaults(IndexOf(unit, 40), false, embedded);
  // An embedded MTEXT left at 0° (neither direction nor rotation) gets its
  // rotation after its height, as the attribute does.
  if (embedded == 0 || has_direction || unit.Find(50, embedded) || c.motion().turn() == 0) {
    return true;
  }
  for (std::size_t i = embedded + 1; i < unit.size(); ++i) {
    if (unit.code(i) != 40) continue;
    c.unit().InsertAfter(i, 50, RoundTripText(c.motion().TurnDegrees(0, c.mirrored())));
    break;
  }
  return true;
}

// What the object an MTEXT embeds (after its group 101, the columns
// AutoCAD 2018 writes) holds of the MTEXT's own: its direction (10), its
// insertion point (11), its widths and heights and its columns' (40 to 46).
const std::vector<CodeRole>& EmbeddedMtextRoles() {
  using enum Role;
  static const std::vector<CodeRole> roles = {{10, kVector}, {11, kPoint},  {40, kLength},
                                              {41, kLength}, {42, kLength}, {43, kLength},
                                              {44, kLength}, {45, kLength}, {46, kLength}};
  return roles;
}

// An MTEXT's direction vector (11), when it has one, says its rotation:
// its 50 is then kept as written. Without one it turns as a text does.
// What it embeds is converted with it, by its own roles.
bool ConvertMtext(EntityConverter& c, const std::vector<CodeRole>& roles, DxfSequence*) {
  const DxfUnit& unit = c.unit();
  const std::size_t embedded = IndexOf(unit, 101);
  // Its own groups: those before what it embeds.
  const auto own = [&](int code) {
    const std::size_t i = IndexOf(unit, code);
    return embedded == 0 || i < embedded ? i : 0;
  };
  const bool has_direction = own(11) != 0;
  const bool converted = c.ForEachGroup([&](std::size_t i, int code, std::size_t* used) {
    const bool inside = embedded != 0 && i > embedded;
    if (!inside && has_direction && code == 50) return true;
    for (const CodeRole& r : inside ? EmbeddedMtextRoles() : roles) {
      if (r.code == code) return c.Apply(i, r.role, used);
    }
    return true;
  });
  if (!converted) return false;
  if (!has_direction) c.AddDefaults(own(40), false);
  return true;
}

// An INSERT left at scale 1 or at 0° gets its scale factors and rotation,
// after its point.
bool ConvertInsert(EntityConverter& c, const std::vector<CodeRole>& roles, DxfSequence*) {
  if (!ApplyRoles(c, roles)) return false;
  const DxfUnit& unit = c.unit();
  std::size_t anchor = 0;
  for (std::size_t i = 1; i < unit.size() && anchor == 0; ++i) {
    if (unit.code(i) == 10 && i + 1 < unit.size() && unit.code(i + 1) == 20) {
      anchor = i + 2 < unit.size() && unit.code(i + 2) == 30 ? i + 2 : i + 1;
    }
  }
  c.AddDefaults(anchor, true);
  return true;
}

// Its ATTRIBs follow an INSERT whose flag 66 is 1.
bool HasAttributes(const DxfUnit& unit) { return IntegerOf(unit.Find(66)) == 1; }

bool HasVertices(const DxfUnit&) { return true; }

// An angular dimension's measurement (42, types 2 and 5) is an angle that
// the motion keeps; the others' is a length. One in a sloping plane draws
// its block in that plane's coordinates, where the block is read as
// world coordinates: refused.
bool ConvertDimension(EntityConverter& c, const std::vector<CodeRole>& roles, DxfSequence*) {
  if (c.sloping() && c.unit().Find(2)) return c.Refuse(RunErrorKind::kDrawingEntity);
  const int type = IntegerOf(c.unit().Find(70)) & 7;
  const bool angular = type == 2 || type == 5;
  return ApplyRoles(c, roles, [&](int code, Role*) { return !angular || code != 42; });
}

// An LWPOLYLINE's plane is at its elevation (38); one without lies at 0,
// and with a height offset gets one after its flags (70), or its count of
// vertices (90).
bool ConvertLwpolyline(EntityConverter& c, const std::vector<CodeRole>& roles, DxfSequence*) {
  if (!ApplyRoles(c, roles)) return false;
  const DxfUnit& unit = c.unit();
  if (const std::size_t elevation = IndexOf(unit, 38)) return c.ShiftElevation(elevation);
  std::size_t anchor = 0;
  for (std::size_t i = 1; i < unit.size(); ++i) {
    if (unit.code(i) == 70 || (unit.code(i) == 90 && anchor == 0)) anchor = i;
    if (unit.code(i) == 10) break;
  }
  return anchor == 0 || c.AddElevation(anchor);
}

// A 3D polyline's or a mesh's (flags 8, 16, 64) VERTEXes are in world
// coordinates; a 2D polyline's lie in its plane, whose height is the z of
// its own point (its 10 is no point of the drawing).
bool ConvertPolyline(EntityConverter& c, const std::vector<CodeRole>& roles,
                     DxfSequence* sequence) {
  if (!ApplyRoles(c, roles)) return false;
  sequence->world_vertices = (IntegerOf(c.unit().Find(70)) & (8 | 16 | 64)) != 0;
  if (sequence->world_vertices) return true;
  const std::size_t z = IndexOf(c.unit(), 30);
  return z == 0 || c.ShiftElevation(z);
}

// A VERTEX lies where its POLYLINE says: in its plane, or in world
// coordinates. A polyface mesh's face record (flags 128 without 64) holds
// no point.
bool ConvertVertex(EntityConverter& c, const std::vector<CodeRole>& roles, DxfSequence* sequence) {
  c.set_mirrored(sequence->mirrored);
  if (sequence->sloping && !sequence->world_vertices) {
    c.set_plane(sequence->normal, sequence->elevation);
  }
  const int flags = IntegerOf(c.unit().Find(70));
  const bool face_record = (flags & 128) != 0 && (flags & 64) == 0;
  const bool world = sequence->world_vertices;
  return ApplyRoles(c, roles, [&](int code, Role* role) {
    if (world && *role == Role::kOcsPoint) *role = Role::kPoint;
    return !face_record || code != 10;
  });
}

// A LEADER without its horizontal direction (211) runs along DXF x: it gets
// that direction turned, after its vertices, its colour (77), its
// annotation (340) or its extrusion (210), where the direction stands.
bool ConvertLeader(EntityConverter& c, const std::vector<CodeRole>& roles, DxfSequence*) {
  if (!ApplyRoles(c, roles)) return false;
  const DxfUnit& unit = c.unit();
  if (unit.Find(211)) return true;
  std::size_t anchor = 0;
  for (std::size_t i = 1; i < unit.size(); ++i) {
    const int code = unit.code(i);
    if (code == 212 || code == 213 || code >= 1000) break;
    if ((code == 20 && !(i + 1 < unit.size() && unit.code(i + 1) == 30)) || code == 30 ||
        code == 77 || code == 340 || code == 230) {
      anchor = i;
    }
  }
  c.AddTurnedXAxis(anchor, 211);
  return true;
}

bool ConvertHatchEntity(EntityConverter& c, const std::vector<CodeRole>&, DxfSequence*) {
  return ConvertHatch(c);
}

bool ConvertMultileaderEntity(EntityConverter& c, const std::vector<CodeRole>&, DxfSequence*) {
  return ConvertMultileader(c);
}

// A HELIX is a SPLINE (its control and fit points, tangents) and then,
// after its marker 100 AcDbHelix, the helix's own: axis base point (10),
// start point (11), axis direction (12), radius (40). Its turns (41) and
// turn height (42, along the axis) stay.
bool ConvertHelix(EntityConverter& c, const std::vector<CodeRole>& roles, DxfSequence*) {
  using enum Role;
  static const std::vector<CodeRole> helix = {
      {10, kPoint}, {11, kPoint}, {12, kVector}, {40, kLength}};
  const DxfUnit& unit = c.unit();
  bool own = false;
  return c.ForEachGroup([&](std::size_t i, int code, std::size_t* used) {
    if (code == 100 && unit.text(i) == "AcDbHelix") own = true;
    for (const CodeRole& r : own ? helix : roles) {
      if (r.code == code) return c.Apply(i, r.role, used);
    }
    return true;
  });
}

// A VIEWPORT's view centre (12, 22) has no height: moved as a point of the
// plan, as the active view's is.
bool ConvertViewport(EntityConverter& c, const std::vector<CodeRole>& roles, DxfSequence*) {
  return c.ForEachGroup([&](std::size_t i, int code, std::size_t* used) {
    if (code == 12) return c.Pair(i, Role::kPoint, used, 22);
    for (const CodeRole& r : roles) {
      if (r.code == code) return c.Apply(i, r.role, used);
    }
    return true;
  });
}

// A table's insertion point and direction are its first 10 and 11; the
// same codes in its cells hold no place in the drawing.
bool ConvertFirstOfEach(EntityConverter& c, const std::vector<CodeRole>& roles, DxfSequence*) {
  std::vector<bool> done(roles.size(), false);
  return c.ForEachGroup([&](std::size_t i, int code, std::size_t* used) {
    for (std::size_t k = 0; k < roles.size(); ++k) {
      if (roles[k].code != code || done[k]) continue;
      done[k] = true;
      return c.Apply(i, roles[k].role, used);
    }
    return true;
  });
}

const std::vector<EntityKind>& Kinds() {
  using enum Role;
  // A text's (TEXT, ATTRIB, ATTDEF): insertion and alignment points in its
  // plane, height, rotation.
  const std::vector<CodeRole> text = {
      {10, kOcsPoint}, {11, kOcsPoint}, {40, kLength}, {50, kAngle}};
  // The four corners of a SOLID or a TRACE, in its plane.
  const std::vector<CodeRole> corners = {
      {10, kOcsPoint}, {11, kOcsPoint}, {12, kOcsPoint}, {13, kOcsPoint}};
  const std::vector<CodeRole> image = {{10, kPoint}, {11, kSpan}, {12, kSpan}};
  const std::vector<CodeRole> underlay = {
      {10, kOcsPoint}, {41, kLength}, {42, kLength}, {50, kAngle}};
  const std::vector<CodeRole> spline = {{10, kPoint}, {11, kPoint}, {12, kVector}, {13, kVector}};
  static const std::vector<EntityKind> kinds = {
      {"LINE", {{10, kPoint}, {11, kPoint}}},
      {"POINT", {{10, kPoint}, {50, kAngle}}},
      {"XLINE", {{10, kPoint}, {11, kVector}}},
      {"RAY", {{10, kPoint}, {11, kVector}}},
      {"CIRCLE", {{10, kOcsPoint}, {40, kLength}}},
      {"ARC", {{10, kOcsPoint}, {40, kLength}, {50, kAngle}, {51, kAngle}}},
      {"ELLIPSE", {{10, kPoint}, {11, kSpan}}},
      {"LWPOLYLINE",
       {{10, kOcsPoint}, {40, kLength}, {41, kLength}, {43, kLength}},
       ConvertLwpolyline},
      {"POLYLINE", {{40, kLength}, {41, kLength}}, ConvertPolyline, HasVertices},
      {"VERTEX",
       {{10, kOcsPoint}, {40, kLength}, {41, kLength}, {50, kAngle}},
       ConvertVertex,
       nullptr,
       InSequence::kMember},
      {"SEQEND", {}, nullptr, nullptr, InSequence::kEnd},
      {"SPLINE", spline},
      {"TEXT", text, ConvertText},
      {"ATTRIB", text, ConvertText, nullptr, InSequence::kMember},
      {"ATTDEF", text, ConvertText},
      {"MTEXT", MtextRoles(), ConvertMtext},
      {"INSERT",
       {{10, kOcsPoint}, {50, kAngle}, {41, kLength}, {42, kLength}, {44, kLength}, {45, kLength}},
       ConvertInsert,
       HasAttributes},
      {"DIMENSION",
       {{10, kPoint},
        {11, kOcsPoint},
        {12, kOcsPoint},
        {13, kPoint},
        {14, kPoint},
        {15, kPoint},
        {16, kOcsPoint},
        {50, kAngle},
        {40, kLength},
        {42, kLength}},
       ConvertDimension},
      {"LEADER",
       {{10, kPoint}, {211, kVector}, {212, kSpan}, {213, kSpan}, {40, kLength}, {41, kLength}},
       ConvertLeader},
      {"SOLID", corners},
      {"TRACE", corners},
      {"3DFACE", {{10, kPoint}, {11, kPoint}, {12, kPoint}, {13, kPoint}}},
      {"HATCH", {}, ConvertHatchEntity},
      {"MULTILEADER", {}, ConvertMultileaderEntity},
      {"MLEADER", {}, ConvertMultileaderEntity},
      // An image's or a wipeout's insertion point and its pixels' u and v
      // vectors; its clip boundary (14) is in pixels, and stays.
      {"IMAGE", image},
      {"WIPEOUT", image},
      // Its anonymous block (*T) is a block as the others: kept.
      {"ACAD_TABLE", {{10, kPoint}, {11, kVector}}, ConvertFirstOfEach},
      // Start point, vertices, their segments' and miters' directions, the
      // scale, and the elements' offsets along the miter and their fills'.
      {"MLINE",
       {{10, kPoint},
        {11, kPoint},
        {12, kVector},
        {13, kVector},
        {40, kLength},
        {41, kLength},
        {42, kLength}}},
      {"TOLERANCE", {{10, kPoint}, {11, kVector}}},
      // Its point is in world coordinates, its rotation in its plane.
      {"SHAPE", {{10, kPoint}, {40, kLength}, {50, kAngle}}},
      {"HELIX", spline, ConvertHelix},
      // Insertion point, scale in x and y (z, 43, stays), rotation.
      {"PDFUNDERLAY", underlay},
      {"DWFUNDERLAY", underlay},
      {"DGNUNDERLAY", underlay},
      // The arc's extension line points, its centre, its leader's points,
      // the arc's angles (radians) and its length (42).
      {"ARC_DIMENSION",
       {{10, kPoint},
        {11, kOcsPoint},
        {12, kOcsPoint},
        {13, kPoint},
        {14, kPoint},
        {15, kPoint},
        {16, kPoint},
        {17, kPoint},
        {40, kRadians},
        {41, kRadians},
        {42, kLength}}},
      // A radius dimension of a large arc: its chord point (13), the
      // centre it is drawn from (14), its jog (15), its leader's length.
      {"LARGE_RADIAL_DIMENSION",
       {{10, kPoint},
        {11, kOcsPoint},
        {12, kOcsPoint},
        {13, kPoint},
        {14, kPoint},
        {15, kPoint},
        {40, kLength},
        {42, kLength}}},
      // A viewport of model space, as the active view: its centre (10) and
      // size (40, 41), its view's centre (12, 22; without its height) and
      // height (45); its target and twist stay, so that it shows the same
      // part of the drawing, the construction grid upright.
      {"VIEWPORT", {{10, kPoint}, {40, kLength}, {41, kLength}, {45, kLength}}, ConvertViewport},
      // Only the program that made it can draw a proxy.
      {"ACAD_PROXY_ENTITY", {}, nullptr, nullptr, InSequence::kNo, RunErrorKind::kDrawingProxy},
  };
  return kinds;
}

const EntityKind* KindNamed(std::string_view name) {
  for (const EntityKind& kind : Kinds()) {
    if (name == kind.name) return &kind;
  }
  return nullptr;
}

// How far an extrusion may lean from (0,0,±1), in radians, and still be
// taken for the drawing's plane (or its mirror): a rounding error, as in
// (1.2e-17, -3.4e-18, 1), which CAD programs write. An entity's own
// coordinates in a plane leaning by φ are the world's turned by φ (the
// arbitrary-axis algorithm's axes near ±z are (±1,0,-x), (0,1,∓y) to first
// order), so taking them as the world's moves a point p by at most φ·|p|:
// with φ at most 2e-17, by at most 1e-9 m for every point within 5e7 m of
// the origin, which holds every Gauss-Krüger coordinate, even with its
// zone number before Y (Y below 4.6e7 m, X below 1e7 m). The extrusion
// itself is kept as written.
constexpr double kFlatExtrusion = 2e-17;

// Which plane an entity lies in, as its extrusion (210, 220, 230) says.
enum class Plane { kFlat, kMirrored, kSloping, kDamaged };

struct Extrusion {
  Plane plane = Plane::kFlat;
  double normal[3] = {0, 0, 1};
  std::size_t at = 0;  // its group 210; 0 for none
  std::string said;    // as written: "(0.3,-0.2,0.93)"
};

// The entity's extrusion: the drawing's plane (0,0,1), or its mirror
// (0,0,-1), within kFlatExtrusion (its length may be 1 within a rounding
// error too: only its direction counts); a sloping plane, any other
// direction of any length; damaged, a value that is not a finite number
// or a vector of length 0.
Extrusion ReadExtrusion(const DxfUnit& unit) {
  Extrusion e;
  for (std::size_t i = 1; i < unit.size(); ++i) {
    if (unit.code(i) != 210) continue;
    e.at = i;
    double* v = e.normal;
    for (std::size_t k = 0; k < 3 && i + k < unit.size(); ++k) {
      if (unit.code(i + k) != 210 + 10 * static_cast<int>(k)) break;
      std::string_view t = unit.text(i + k);
      auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), v[k]);
      if (ec != std::errc() || ptr != t.data() + t.size()) v[k] = NAN;
    }
    e.said = "(" + std::string(unit.text(i)) + "," +
             (i + 1 < unit.size() ? std::string(unit.text(i + 1)) : "") + "," +
             (i + 2 < unit.size() ? std::string(unit.text(i + 2)) : "") + ")";
    const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (!std::isfinite(length) || length == 0) {
      e.plane = Plane::kDamaged;
    } else if (std::fabs(std::fabs(v[2]) - 1) <= 1e-15 &&
               std::hypot(v[0], v[1]) <= kFlatExtrusion) {
      e.plane = v[2] < 0 ? Plane::kMirrored : Plane::kFlat;
    } else {
      e.plane = Plane::kSloping;
    }
    return e;
  }
  return e;
}

// The height of a sloping entity's points that hold no z of their own (an
// LWPOLYLINE's vertices, a hatch's boundary): its elevation (38), or the
// z of its first point (a 2D polyline's or a hatch's elevation point).
double PlaneElevation(const DxfUnit& unit) {
  std::optional<std::string_view> t = unit.Find(38);
  if (!t) t = unit.Find(30);
  double z = 0;
  if (t) std::from_chars(t->data(), t->data() + t->size(), z);
  return std::isfinite(z) ? z : 0;
}

// A thickness (39) other than 0: the entity is drawn along its normal.
bool Thick(const DxfUnit& unit) {
  for (std::size_t i = 1; i < unit.size() && unit.code(i) < 1000; ++i) {
    if (unit.code(i) != 39) continue;
    double t = 0;
    std::from_chars(unit.text(i).data(), unit.text(i).data() + unit.text(i).size(), t);
    if (t != 0) return true;
  }
  return false;
}

}  // namespace

Expected<void, RunError> ConvertEntity(DxfUnit& unit, const DrawingMotion& motion,
                                       DxfSequence* sequence) {
  const EntityKind* kind = KindNamed(unit.Type());
  // Paper space, and the vertices and attributes of what is in it, is kept.
  if (unit.Find(67) == std::string_view("1")) {
    if (kind != nullptr && kind->opens_sequence != nullptr && kind->opens_sequence(unit)) {
      *sequence = DxfSequence{true, true, false, false};
    } else if (kind != nullptr && kind->in_sequence == InSequence::kEnd) {
      *sequence = DxfSequence{};
    }
    return {};
  }
  if (kind == nullptr) return Fail(EntityError(RunErrorKind::kDrawingEntity, unit));
  if (kind->refused) return Fail(EntityError(*kind->refused, unit));
  if (kind->in_sequence == InSequence::kEnd) {
    *sequence = DxfSequence{};
    return {};
  }
  if (kind->in_sequence == InSequence::kMember && sequence->open && sequence->paper_space) {
    return {};
  }
  // An entity that embeds another is converted only where its rule knows
  // what the embedded object holds: an MTEXT's columns, a multi-line
  // ATTRIB's or ATTDEF's MTEXT. Elsewhere its copy of the coordinates
  // would stay behind.
  if (auto embedded = unit.Find(101);
      embedded &&
      !(*embedded == "Embedded Object" &&
        (unit.Type() == "MTEXT" || unit.Type() == "ATTRIB" || unit.Type() == "ATTDEF"))) {
    return Fail(EntityError(RunErrorKind::kDrawingEntity, unit));
  }
  const Extrusion extrusion = ReadExtrusion(unit);
  const auto in_plane = [&] {
    RunError e = EntityError(RunErrorKind::kDrawingExtrusion, unit);
    e.detail = extrusion.said;
    return e;
  };
  if (extrusion.plane == Plane::kDamaged) {
    RunError e = EntityError(RunErrorKind::kDrawingDamaged, unit);
    e.line = unit.line(extrusion.at) + 1;
    std::string name(unit.Type());
    if (!unit.Handle().empty()) name += " (handle " + std::string(unit.Handle()) + ")";
    e.detail = name + ": its extrusion is no direction:";
    e.field_text = extrusion.said;
    return Fail(std::move(e));
  }
  const bool mirrored = extrusion.plane == Plane::kMirrored;
  const bool sloping = extrusion.plane == Plane::kSloping;
  // Drawn along its normal, it would stretch another way than its plane.
  if (sloping && motion.Scale(1) != 1 && Thick(unit)) return Fail(in_plane());
  // What follows takes the plane of its owner.
  if (kind->opens_sequence != nullptr && kind->opens_sequence(unit)) {
    *sequence = DxfSequence{true, false, false, mirrored};
    if (sloping) {
      sequence->sloping = true;
      std::copy(extrusion.normal, extrusion.normal + 3, sequence->normal);
      sequence->elevation = PlaneElevation(unit);
    }
  }
  EntityConverter c(unit, motion, mirrored);
  if (sloping) c.set_plane(extrusion.normal, PlaneElevation(unit));
  const bool converted =
      kind->rule != nullptr ? kind->rule(c, kind->roles, sequence) : ApplyRoles(c, kind->roles);
  if (!converted) {
    if (c.failure().kind == RunErrorKind::kDrawingExtrusion) return Fail(in_plane());
    return Fail(c.failure());
  }
  if (sloping && !c.WriteNormal(extrusion.at)) return Fail(c.failure());
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
  // The box's heights shift with the points' heights.
  EntityConverter c(header, motion, false);
  for (const std::size_t z : {min_at + 2, max_at + 2}) {
    if (z < header.size() && header.code(z) == 30 && !c.ShiftElevation(z)) return Fail(c.failure());
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
