// A site's calibration kept as a project file, NAME.torvane: the common
// points with their roles, the point-file layout, the model and the
// parameters, so that the window and the command line can open it again.
// The file is UTF-8 JSON (the README's "Project files" gives its members);
// every number that must come back digit for digit is kept as its text.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/expected.h"
#include "base/named_choice.h"
#include "batch/point_layout.h"
#include "batch/text_encoding.h"
#include "drawing/drawing_run.h"
#include "drawing/dxf_entities.h"
#include "fit/fit_report.h"
#include "fit/height_model.h"
#include "fit/height_surface.h"
#include "os/file_fingerprint.h"
#include "params/param_texts.h"
#include "site/point_role.h"

namespace torvane {

// The words for the drawings' axes, in a project file and on the command line.
inline constexpr NamedChoice<DrawingAxis> kDrawingAxisWords[] = {
    {"east-north", DrawingAxis::kEastNorth}, {"north-east", DrawingAxis::kNorthEast}};

// The words for whether drawings' heights follow H0, in a project file and
// on the command line.
inline constexpr NamedChoice<DrawingHeights> kDrawingHeightWords[] = {
    {"keep", DrawingHeights::kKept}, {"move", DrawingHeights::kMoved}};

// The newest project version this program reads. It writes version 1 for
// a project without a fitted height model, so that such a project keeps
// the bytes an earlier Torvane gave it and still opens there, and
// kHeightModelVersion for one with it, which an earlier Torvane refuses
// rather than convert its heights without the model.
inline constexpr int kProjectVersion = 2;
inline constexpr int kHeightModelVersion = 2;

// The most a project may hold, in bytes: the whole file (a site of a
// thousand points takes some 170 kB), its notes, and each of its other
// texts (the site's name, a point's name or coordinate, a word of the
// layout). A file or text beyond them is refused before it is parsed or
// as it is read, so that a hostile file takes bounded memory and time.
inline constexpr std::uint64_t kMaxProjectBytes = std::uint64_t{4} << 20;  // 4 MiB
inline constexpr std::size_t kMaxProjectNotesBytes = std::size_t{64} << 10;
inline constexpr std::size_t kMaxProjectTextBytes = 1024;

// A common point: its coordinates in metres as typed or read, survey grid
// (xs, ys) and construction grid (xc, yc), each a decimal number in full
// (ParseDecimal); its heights in metres, survey grid (hs) and construction
// grid (hc), each a decimal number in full or empty for none, kept in the
// file ("hs", "hc") only when not empty, so that a site without heights
// has the bytes of a version without them, which ignores them. The name is
// UTF-8, non-empty and unique in its project.
struct ProjectPoint {
  std::string name;
  PointRole role = PointRole::kFit;
  std::string xs, ys, xc, yc;
  std::string hs{}, hc{};  // a row written without them has none
  bool operator==(const ProjectPoint&) const = default;
};

// Where the parameters came from: solved from the points, or typed.
enum class ParamSource { kSolved, kTyped };

// The parameters as their boxes and `solve` show them: offsets in metres,
// the rotation in ddd.mmss, read as the conversion reads them
// (RunParamsFromTexts); the scale a ratio greater than 0, a decimal number
// in full ("1" for the rigid model).
struct ProjectParams {
  ParamTexts texts;
  std::string scale = "1";
  ParamSource source = ParamSource::kSolved;
  bool operator==(const ProjectParams& other) const {
    return texts.x_offset == other.texts.x_offset && texts.y_offset == other.texts.y_offset &&
           texts.angle == other.texts.angle && scale == other.scale && source == other.source;
  }
};

// A fitted height model (HeightSurface) as the project keeps it: each
// number the shortest decimal text that reads back as the value fitted.
struct ProjectHeightModel {
  HeightModel model = HeightModel::kOffset;  // kOffset, kPlane or kQuadric, never kNone
  std::string centroid_x, centroid_y;        // survey X̄, Ȳ, metres
  std::vector<std::string> terms;            // a0 ... in metres, TermCount(model) of them
  // The fit points' convex hull (HeightCoverage::Vertices), survey X, Y in
  // metres: where the model is known.
  std::vector<std::array<std::string, 2>> hull;
  bool operator==(const ProjectHeightModel&) const = default;
};

// The model, its centroid and terms read as numbers; `kept` must be one
// ReadProject accepts.
HeightSurface SurfaceOf(const ProjectHeightModel& kept);
// The hull's vertices read as numbers.
std::vector<PlanePoint> HullOf(const ProjectHeightModel& kept);
// What the project keeps of `surface` and `hull`, in shortest round-trip
// texts.
ProjectHeightModel KeptHeightModel(const HeightSurface& surface,
                                   const std::vector<PlanePoint>& hull);

// One site. Texts are UTF-8.
struct Project {
  std::string site;   // the site's name, may be empty
  std::string notes;  // free text, line ends kept
  // Who calculates the site (操作员), as its calibration report names them;
  // may be empty. Kept in the file ("operator") only when not empty, so
  // that other projects' bytes are those of a version without it; an older
  // Torvane ignores it.
  std::string operator_name;
  FitModel model = FitModel::kRigid;
  std::optional<std::string> height_offset;  // metres, a decimal number in full; none: not set
  // The height model fitted to the common points ("height_model", kept
  // only when there is one, in a project of kHeightModelVersion); none:
  // heights pass through, or move by height_offset.
  std::optional<ProjectHeightModel> height_model;
  // Whether the site's drawings' heights follow H0; kept in the file
  // ("drawing_heights") only when they do, so that other projects' bytes
  // are those of a version without it, which ignores it.
  DrawingHeights drawing_heights = DrawingHeights::kKept;
  PointLayout layout;  // how the site's point files are laid out
  // The point files' encoding; none: found from each file's bytes. Only
  // kUtf8 and kGbk are kept (a BOM is a file's, not a layout's).
  std::optional<TextEncoding> encoding;
  // How the site's drawings' axes lie; kept in the file (layout's
  // "drawing_axis") only when north-east, so that other projects' bytes are
  // those of a version without it.
  DrawingAxis drawing_axis = DrawingAxis::kEastNorth;
  std::optional<ProjectParams> parameters;  // none: not solved nor typed yet
  std::vector<ProjectPoint> points;
  bool operator==(const Project& other) const {
    return site == other.site && notes == other.notes && operator_name == other.operator_name &&
           model == other.model && height_offset == other.height_offset &&
           height_model == other.height_model && drawing_heights == other.drawing_heights &&
           layout.fields == other.layout.fields && layout.delimiter == other.layout.delimiter &&
           layout.skip_lines == other.layout.skip_lines && encoding == other.encoding &&
           drawing_axis == other.drawing_axis && parameters == other.parameters &&
           points == other.points;
  }
};

// The project in the file at `path` (UTF-8). Members this version does not
// know are ignored. Rejects, each message starting with the path: a file
// that cannot be opened or read; a file of more than kMaxProjectBytes
// ("more than 4194304 bytes, too large for a project"), and a text longer
// than its limit above ("site \"...\" is longer than 1024 bytes"; an operator's name alike);
// an "operator" that is not a text; damaged
// JSON ("damaged JSON at byte 17"); JSON that is not a Torvane project (no
// "format": "torvane-project"); a newer version ("made by a newer Torvane
// (project version 3; this one reads 1)"); a member missing or of the wrong
// kind; a coordinate, point's height, height offset or scale that is not a
// decimal number in full ("point 4: xs \"abc\" is not a number"; an empty
// "hs" or "hc" alike); a height model that is not offset, plane nor
// quadric, without as many terms as it has, with a text that is not a
// number, or with a height_offset beside it; parameters the
// conversion rejects, a scale not greater than 0; an empty or repeated
// point name; an unknown role, model, delimiter, encoding, drawings'
// heights or parameter source; columns ParseColumns rejects. With `refusal`, a refused file's
// fault is also given apart from the message, for a front end that tells
// it in words of its own. With `fingerprint`, the size and SHA-256 of the
// bytes read for the project are put there (what a report records); a
// system without SHA-256 is then refused as kCannotRead.
enum class ProjectFault {
  kCannotOpen,
  kCannotRead,
  kTooLarge,
  kDamaged,
  kForeign,
  kNewer,
  kInvalid
};
struct ProjectRefusal {
  ProjectFault fault = ProjectFault::kInvalid;
  // kDamaged: the byte; kNewer: the file's version; kTooLarge: the most a
  // project may hold (kMaxProjectBytes)
  std::uint64_t number = 0;
  // kCannotOpen, kCannotRead: the system's reason; kInvalid: what is wrong,
  // as the message says it after the path.
  std::string reason;
};
Expected<Project, std::string> ReadProject(const std::string& path,
                                           ProjectRefusal* refusal = nullptr,
                                           FileFingerprint* fingerprint = nullptr);

// Writes `project` to `path` (UTF-8) in full or not at all (PendingFile):
// members in a fixed order, indented by two spaces, "\n" line ends and a
// final one, so that one project always gives the same bytes. The texts
// must be valid UTF-8 and project.encoding not kUtf8WithBom. Rejects,
// quoting the path: a project that ReadProject would refuse ("not
// written: point 2: the name is empty"), one of more than kMaxProjectBytes,
// a text that is not UTF-8, a path that is a folder or a device, an
// existing file that is not a project this version reads (a foreign or
// newer file is never replaced), and the system's failures. With
// `written`, the size and SHA-256 of the bytes written are put there (a
// system without SHA-256 is then rejected before anything is written), so
// that what stands for the file is the bytes it was given, not a reading
// of it later.
Expected<void, std::string> WriteProject(const Project& project, const std::string& path,
                                         FileFingerprint* written = nullptr);

}  // namespace torvane
