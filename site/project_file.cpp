#include "site/project_file.h"

#include <nlohmann/json.hpp>

#include <cassert>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string_view>

#include "batch/run_error.h"
#include "number/number_text.h"
#include "number/round_trip.h"
#include "os/file_fingerprint.h"
#include "os/file_system.h"
#include "os/pending_file.h"
#include "params/conversion_params.h"

namespace torvane {
namespace {

constexpr const char* kNumberBeyondDoubles =
    "damaged JSON: a number is beyond the range of doubles";

using Json = nlohmann::json;                 // as read: members found by name
using OrderedJson = nlohmann::ordered_json;  // as written: members in the order given

inline constexpr std::string_view kFormatTag = "torvane-project";

// The words a file uses for each choice, the first of a kind for its value.
constexpr NamedChoice<ParamSource> kSources[] = {{"solved", ParamSource::kSolved},
                                                 {"typed", ParamSource::kTyped}};
constexpr NamedChoice<PointField> kColumns[] = {
    {"name", PointField::kName}, {"code", PointField::kCode}, {"x", PointField::kX},
    {"y", PointField::kY},       {"h", PointField::kH},       {"-", PointField::kSkip}};

template <class T, std::size_t N>
std::string WordOf(const NamedChoice<T> (&words)[N], T value) {
  for (const NamedChoice<T>& word : words) {
    if (word.value == value) return std::string(word.name);
  }
  assert(false && "a value without a word");
  return {};
}

// "fit, check or off"
template <class T, std::size_t N>
std::string Choices(const NamedChoice<T> (&words)[N]) {
  std::string list;
  for (std::size_t i = 0; i < N; ++i) {
    if (i > 0) list += i + 1 == N ? " or " : ", ";
    list += words[i].name;
  }
  return list;
}

std::string Quoted(const std::string& text) { return "\"" + MessageExcerpt(text) + "\""; }

std::string TooLarge() {
  return "more than " + std::to_string(kMaxProjectBytes) + " bytes, too large for a project";
}

// The reading of one JSON value after another, each message starting with
// `where` ("point 4: "): what is wrong, with the member's name or text.
class Reader {
 public:
  explicit Reader(std::string where) : where_(std::move(where)) {}

  Expected<const Json*> Member(const Json& object, const char* key) const {
    const auto found = object.find(key);
    if (found == object.end()) return Fail(where_ + "\"" + key + "\" is missing");
    return &*found;
  }

  // A text of at most `most` bytes.
  Expected<std::string> Text(const Json& object, const char* key,
                             std::size_t most = kMaxProjectTextBytes) const {
    auto value = Member(object, key);
    if (!value) return Fail(value.error());
    if (!(*value)->is_string()) return Fail(where_ + "\"" + key + "\" is not a text");
    const std::string& text = (*value)->get_ref<const std::string&>();
    if (text.size() > most) {
      return Fail(where_ + key + " " + Quoted(text) + " is longer than " + std::to_string(most) +
                  " bytes");
    }
    return text;
  }

  // A text that must read as a decimal number in full.
  Expected<std::string> Decimal(const Json& object, const char* key) const {
    auto text = Text(object, key);
    if (!text) return text;
    const auto number = ParseDecimal(*text);
    if (!number) {
      return Fail(
          where_ + key + " " + Quoted(*text) +
          (number.error() == DecimalError::kTooLarge ? " is too large" : " is not a number"));
    }
    return text;
  }

  template <class T, std::size_t N>
  Expected<T> Choice(const Json& object, const char* key, const NamedChoice<T> (&words)[N]) const {
    auto text = Text(object, key);
    if (!text) return Fail(text.error());
    for (const NamedChoice<T>& word : words) {
      if (word.name == *text) return word.value;
    }
    return Fail(where_ + key + " " + Quoted(*text) + " is not " + Choices(words));
  }

  // Choice's value put in `*into`.
  template <class T, std::size_t N>
  Expected<void> ChoiceInto(const Json& object, const char* key, const NamedChoice<T> (&words)[N],
                            T* into) const {
    auto chosen = Choice(object, key, words);
    if (!chosen) return Fail(chosen.error());
    *into = *chosen;
    return {};
  }

  Expected<const Json*> Object(const Json& object, const char* key) const {
    auto value = Member(object, key);
    if (value && !(*value)->is_object()) return Fail(where_ + "\"" + key + "\" is not an object");
    return value;
  }

  const std::string& where() const { return where_; }

 private:
  std::string where_;
};

Expected<PointLayout, std::string> ReadLayout(const Json& json,
                                              std::optional<TextEncoding>* encoding,
                                              DrawingAxis* axis) {
  const Reader read("layout: ");
  PointLayout layout;
  auto columns = read.Text(json, "columns");
  if (!columns) return Fail(columns.error());
  auto fields = ParseColumns(*columns);
  if (!fields) return Fail("layout: columns " + fields.error());
  layout.fields = std::move(fields.value());
  if (auto delimiter = read.ChoiceInto(json, "delimiter", kDelimiterNames, &layout.delimiter);
      !delimiter) {
    return Fail(delimiter.error());
  }
  auto skip = read.Member(json, "skip_lines");
  if (!skip) return Fail(skip.error());
  if (!(*skip)->is_number_unsigned()) {
    return Fail(std::string("layout: \"skip_lines\" is not a whole number from 0"));
  }
  layout.skip_lines = (*skip)->get<std::size_t>();
  auto coding = read.Member(json, "encoding");
  if (!coding) return Fail(coding.error());
  encoding->reset();
  if (!(*coding)->is_null()) {
    auto known = read.Choice(json, "encoding", kEncodingNames);
    if (!known) return Fail(known.error() + " (nor null)");
    *encoding = *known;
  }
  *axis = DrawingAxis::kEastNorth;
  if (json.contains("drawing_axis")) {
    auto known = read.Choice(json, "drawing_axis", kDrawingAxisWords);
    if (!known) return Fail(known.error());
    *axis = *known;
  }
  return layout;
}

Expected<ProjectParams, std::string> ReadParams(const Json& json) {
  const Reader read("parameters: ");
  ProjectParams params;
  for (auto [key, text] :
       {std::pair{"x_offset", &params.texts.x_offset},
        std::pair{"y_offset", &params.texts.y_offset}, std::pair{"angle", &params.texts.angle}}) {
    auto value = read.Text(json, key);
    if (!value) return Fail(value.error());
    *text = std::move(value.value());
  }
  const auto run =
      RunParamsFromTexts(params.texts.x_offset, params.texts.y_offset, params.texts.angle);
  if (!run) return Fail("parameters: " + run.error());
  auto scale = read.Decimal(json, "scale");
  if (!scale) return Fail(scale.error());
  if (!(*ParseDecimal(*scale) > 0)) {
    return Fail("parameters: scale " + Quoted(*scale) + " is not greater than 0");
  }
  params.scale = std::move(scale.value());
  if (auto source = read.ChoiceInto(json, "source", kSources, &params.source); !source) {
    return Fail(source.error());
  }
  return params;
}

Expected<ProjectPoint, std::string> ReadPoint(const Json& json, std::size_t number) {
  const Reader read("point " + std::to_string(number) + ": ");
  if (!json.is_object()) return Fail("point " + std::to_string(number) + " is not an object");
  ProjectPoint point;
  auto name = read.Text(json, "name");
  if (!name) return Fail(name.error());
  if (name->empty()) return Fail(read.where() + "the name is empty");
  point.name = std::move(name.value());
  if (auto role = read.ChoiceInto(json, "role", kRoleWords, &point.role); !role) {
    return Fail(role.error());
  }
  for (auto [key, text] : {std::pair{"xs", &point.xs}, std::pair{"ys", &point.ys},
                           std::pair{"xc", &point.xc}, std::pair{"yc", &point.yc}}) {
    auto value = read.Decimal(json, key);
    if (!value) return Fail(value.error());
    *text = std::move(value.value());
  }
  // Heights are there only where the point has them.
  for (auto [key, text] : {std::pair{"hs", &point.hs}, std::pair{"hc", &point.hc}}) {
    if (!json.contains(key)) continue;
    auto value = read.Decimal(json, key);
    if (!value) return Fail(value.error());
    *text = std::move(value.value());
  }
  return point;
}

// The fitted height models a project keeps: kNone is not kept.
constexpr NamedChoice<HeightModel> kKeptHeightModels[] = {{"offset", HeightModel::kOffset},
                                                          {"plane", HeightModel::kPlane},
                                                          {"quadric", HeightModel::kQuadric}};

// A list of decimal texts, `count` of them (any number for none).
Expected<std::vector<std::string>> DecimalList(const Json& json, const std::string& where,
                                               std::optional<std::size_t> count) {
  if (!json.is_array()) return Fail(where + " is not a list");
  if (count && json.size() != *count) {
    return Fail(where + " has " + std::to_string(json.size()) + " items, not " +
                std::to_string(*count));
  }
  std::vector<std::string> texts;
  for (const Json& item : json) {
    if (!item.is_string() || item.get_ref<const std::string&>().size() > kMaxProjectTextBytes ||
        !ParseDecimal(item.get_ref<const std::string&>())) {
      return Fail(where + " has an item that is not a number as a text");
    }
    texts.push_back(item.get<std::string>());
  }
  return texts;
}

Expected<ProjectHeightModel, std::string> ReadHeightModel(const Json& json) {
  const Reader read("height_model: ");
  ProjectHeightModel kept;
  if (auto model = read.ChoiceInto(json, "model", kKeptHeightModels, &kept.model); !model) {
    return Fail(model.error());
  }
  auto x = read.Decimal(json, "centroid_x");
  if (!x) return Fail(x.error());
  auto y = read.Decimal(json, "centroid_y");
  if (!y) return Fail(y.error());
  kept.centroid_x = std::move(x.value());
  kept.centroid_y = std::move(y.value());
  auto terms = read.Member(json, "terms");
  if (!terms) return Fail(terms.error());
  auto texts = DecimalList(**terms, "height_model: terms", TermCount(kept.model));
  if (!texts) return Fail(texts.error());
  kept.terms = std::move(texts.value());
  auto hull = read.Member(json, "hull");
  if (!hull) return Fail(hull.error());
  if (!(*hull)->is_array() || (*hull)->empty()) {
    return Fail(std::string("height_model: hull is not a list of points"));
  }
  for (const Json& vertex : **hull) {
    auto xy = DecimalList(vertex, "height_model: a hull point", 2);
    if (!xy) return Fail(xy.error());
    kept.hull.push_back({(*xy)[0], (*xy)[1]});
  }
  return kept;
}

// The project in `json`; errors without the path, and a foreign or newer
// file's fault in `refusal` when given.
Expected<Project, std::string> FromJson(const Json& json, ProjectRefusal* refusal = nullptr) {
  const auto format = json.is_object() ? json.find("format") : json.end();
  if (!json.is_object() || format == json.end() || !format->is_string() || *format != kFormatTag) {
    if (refusal) refusal->fault = ProjectFault::kForeign;
    return Fail("not a Torvane project");
  }
  const Reader read("");
  auto version = read.Member(json, "version");
  if (!version) return Fail(version.error());
  if (!(*version)->is_number_unsigned() || (*version)->get<std::uint64_t>() == 0) {
    return Fail(std::string("\"version\" is not a whole number from 1"));
  }
  if (const auto v = (*version)->get<std::uint64_t>(); v > kProjectVersion) {
    if (refusal) *refusal = {ProjectFault::kNewer, v, ""};
    return Fail("made by a newer Torvane (project version " + std::to_string(v) +
                "; this one reads " + std::to_string(kProjectVersion) + ")");
  }
  Project project;
  const struct {
    const char* key;
    std::string* text;
    std::size_t most;
  } texts[] = {{"site", &project.site, kMaxProjectTextBytes},
               {"notes", &project.notes, kMaxProjectNotesBytes}};
  for (const auto& [key, text, most] : texts) {
    auto value = read.Text(json, key, most);
    if (!value) return Fail(value.error());
    *text = std::move(value.value());
  }
  if (json.contains("operator")) {
    auto name = read.Text(json, "operator");
    if (!name) return Fail(name.error());
    project.operator_name = std::move(name.value());
  }
  if (auto model = read.ChoiceInto(json, "model", kModelNames, &project.model); !model) {
    return Fail(model.error());
  }
  auto height = read.Member(json, "height_offset");
  if (!height) return Fail(height.error());
  if (!(*height)->is_null()) {
    auto text = read.Decimal(json, "height_offset");
    if (!text) return Fail(text.error());
    project.height_offset = std::move(text.value());
  }
  if (json.contains("height_model")) {
    auto object = read.Object(json, "height_model");
    if (!object) return Fail(object.error());
    auto kept = ReadHeightModel(**object);
    if (!kept) return Fail(kept.error());
    if (project.height_offset) {
      return Fail(
          std::string("height_offset and height_model are both given: a site's heights "
                      "move by one or follow the other"));
    }
    project.height_model = std::move(kept.value());
  }
  if (json.contains("drawing_heights")) {
    auto heights = read.Choice(json, "drawing_heights", kDrawingHeightWords);
    if (!heights) return Fail(heights.error());
    project.drawing_heights = *heights;
  }
  auto layout = read.Object(json, "layout");
  if (!layout) return Fail(layout.error());
  auto point_layout = ReadLayout(**layout, &project.encoding, &project.drawing_axis);
  if (!point_layout) return Fail(point_layout.error());
  project.layout = std::move(point_layout.value());
  auto params = read.Member(json, "parameters");
  if (!params) return Fail(params.error());
  if (!(*params)->is_null()) {
    if (!(*params)->is_object())
      return Fail(std::string("\"parameters\" is not an object nor null"));
    auto read_params = ReadParams(**params);
    if (!read_params) return Fail(read_params.error());
    project.parameters = std::move(read_params.value());
  }
  auto points = read.Member(json, "points");
  if (!points) return Fail(points.error());
  if (!(*points)->is_array()) return Fail(std::string("\"points\" is not a list"));
  std::map<std::string, std::size_t> numbers;  // name -> point number
  for (const Json& item : **points) {
    const std::size_t number = project.points.size() + 1;
    auto point = ReadPoint(item, number);
    if (!point) return Fail(point.error());
    const auto [earlier, added] = numbers.emplace(point->name, number);
    if (!added) {
      return Fail("point " + std::to_string(number) + ": name " + Quoted(point->name) +
                  " is also point " + std::to_string(earlier->second) + "'s");
    }
    project.points.push_back(std::move(point.value()));
  }
  return project;
}

// The file's project; errors without the path, their fault in `refusal`;
// with `fingerprint`, the size and SHA-256 of the bytes read put there.
Expected<Project, std::string> ReadAt(const std::filesystem::path& path, ProjectRefusal& refusal,
                                      FileFingerprint* fingerprint = nullptr) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenFile(path, "rb"), &std::fclose);
  if (!file) {
    refusal = {ProjectFault::kCannotOpen, 0, SystemReason(errno)};
    return Fail("cannot open: " + refusal.reason);
  }
  // Read up to a byte past the limit: what is larger is refused unparsed,
  // a pipe or a device that never ends included.
  std::string bytes;
  char block[65536];
  std::size_t got = 0;
  while (bytes.size() <= kMaxProjectBytes &&
         (got = std::fread(block, 1, sizeof block, file.get())) > 0) {
    bytes.append(block, got);
  }
  if (std::ferror(file.get())) {
    refusal = {ProjectFault::kCannotRead, 0, SystemReason(errno)};
    return Fail("cannot read: " + refusal.reason);
  }
  if (bytes.size() > kMaxProjectBytes) {
    refusal = {ProjectFault::kTooLarge, kMaxProjectBytes, ""};
    return Fail(TooLarge());
  }
  if (fingerprint) {
    RunningFingerprint running;
    running.Add(bytes.data(), bytes.size());
    auto read = running.Finish();
    if (!read) {
      refusal = {ProjectFault::kCannotRead, 0, read.error()};
      return Fail("cannot read: " + refusal.reason);
    }
    *fingerprint = *read;
  }
  Json json;
  try {
    json = Json::parse(bytes);
  } catch (const Json::parse_error& e) {
    refusal = {ProjectFault::kDamaged, e.byte, ""};
    return Fail("damaged JSON at byte " + std::to_string(e.byte));
  } catch (const Json::out_of_range&) {
    // A number beyond the range of doubles (1e400): the parser tells no byte.
    refusal = {ProjectFault::kInvalid, 0, kNumberBeyondDoubles};
    return Fail(refusal.reason);
  }
  refusal = {ProjectFault::kInvalid, 0, ""};
  auto project = FromJson(json, &refusal);
  if (!project && refusal.fault == ProjectFault::kInvalid) refusal.reason = project.error();
  return project;
}

std::string ColumnsText(const std::vector<PointField>& fields) {
  std::string text;
  for (PointField field : fields) {
    if (!text.empty()) text += ',';
    text += WordOf(kColumns, field);
  }
  return text;
}

OrderedJson ToJson(const Project& project) {
  OrderedJson json;
  json["format"] = kFormatTag;
  json["version"] = project.height_model ? kHeightModelVersion : 1;
  json["site"] = project.site;
  json["notes"] = project.notes;
  if (!project.operator_name.empty()) json["operator"] = project.operator_name;
  json["model"] = WordOf(kModelNames, project.model);
  json["height_offset"] = project.height_offset ? OrderedJson(*project.height_offset) : nullptr;
  if (project.height_model) {
    const ProjectHeightModel& kept = *project.height_model;
    OrderedJson& model = json["height_model"];
    model["model"] = WordOf(kKeptHeightModels, kept.model);
    model["centroid_x"] = kept.centroid_x;
    model["centroid_y"] = kept.centroid_y;
    model["terms"] = kept.terms;
    OrderedJson& hull = model["hull"] = OrderedJson::array();
    for (const auto& vertex : kept.hull) hull.push_back(OrderedJson::array({vertex[0], vertex[1]}));
  }
  if (project.drawing_heights != DrawingHeights::kKept) {
    json["drawing_heights"] = WordOf(kDrawingHeightWords, project.drawing_heights);
  }
  OrderedJson& layout = json["layout"];
  layout["columns"] = ColumnsText(project.layout.fields);
  layout["delimiter"] = WordOf(kDelimiterNames, project.layout.delimiter);
  layout["skip_lines"] = project.layout.skip_lines;
  layout["encoding"] =
      project.encoding ? OrderedJson(WordOf(kEncodingNames, *project.encoding)) : nullptr;
  if (project.drawing_axis != DrawingAxis::kEastNorth) {
    layout["drawing_axis"] = WordOf(kDrawingAxisWords, project.drawing_axis);
  }
  OrderedJson& params = json["parameters"];
  if (project.parameters) {
    params["x_offset"] = project.parameters->texts.x_offset;
    params["y_offset"] = project.parameters->texts.y_offset;
    params["angle"] = project.parameters->texts.angle;
    params["scale"] = project.parameters->scale;
    params["source"] = WordOf(kSources, project.parameters->source);
  }
  OrderedJson& points = json["points"] = OrderedJson::array();
  for (const ProjectPoint& point : project.points) {
    OrderedJson item;
    item["name"] = point.name;
    item["role"] = WordOf(kRoleWords, point.role);
    item["xs"] = point.xs;
    item["ys"] = point.ys;
    item["xc"] = point.xc;
    item["yc"] = point.yc;
    if (!point.hs.empty()) item["hs"] = point.hs;
    if (!point.hc.empty()) item["hc"] = point.hc;
    points.push_back(std::move(item));
  }
  return json;
}

}  // namespace

HeightSurface SurfaceOf(const ProjectHeightModel& kept) {
  HeightSurface surface;
  surface.model = kept.model;
  surface.centroid = {*ParseDecimal(kept.centroid_x), *ParseDecimal(kept.centroid_y)};
  for (std::size_t i = 0; i < kept.terms.size() && i < surface.terms.size(); ++i) {
    surface.terms[i] = *ParseDecimal(kept.terms[i]);
  }
  return surface;
}

std::vector<PlanePoint> HullOf(const ProjectHeightModel& kept) {
  std::vector<PlanePoint> hull;
  for (const auto& vertex : kept.hull) {
    hull.push_back({*ParseDecimal(vertex[0]), *ParseDecimal(vertex[1])});
  }
  return hull;
}

ProjectHeightModel KeptHeightModel(const HeightSurface& surface,
                                   const std::vector<PlanePoint>& hull) {
  ProjectHeightModel kept;
  kept.model = surface.model;
  kept.centroid_x = RoundTripText(surface.centroid.x);
  kept.centroid_y = RoundTripText(surface.centroid.y);
  for (std::size_t i = 0; i < TermCount(surface.model); ++i) {
    kept.terms.push_back(RoundTripText(surface.terms[i]));
  }
  for (const PlanePoint& p : hull) kept.hull.push_back({RoundTripText(p.x), RoundTripText(p.y)});
  return kept;
}

Expected<Project, std::string> ReadProject(const std::string& path, ProjectRefusal* refusal,
                                           FileFingerprint* fingerprint) {
  ProjectRefusal fault;
  auto project = ReadAt(PathFromUtf8(path), fault, fingerprint);
  if (!project && refusal) *refusal = fault;
  if (!project) return Fail(EscapeControlBytes(path) + ": " + project.error());
  return project;
}

Expected<void, std::string> WriteProject(const Project& project, const std::string& path,
                                         FileFingerprint* written) {
  assert(!project.encoding || *project.encoding != TextEncoding::kUtf8WithBom);
  const std::string where = EscapeControlBytes(path) + ": ";
  const std::filesystem::path target = PathFromUtf8(path);
  std::string bytes;
  try {
    bytes = ToJson(project).dump(2, ' ', false, OrderedJson::error_handler_t::strict);
  } catch (const OrderedJson::type_error&) {
    return Fail(where + "not written: a text is not UTF-8");
  }
  bytes += '\n';
  if (bytes.size() > kMaxProjectBytes) return Fail(where + "not written: " + TooLarge());
  // What is written must open again: a project with a point that is not a
  // number, say, is refused here rather than found when it is opened.
  if (auto check = FromJson(Json::parse(bytes)); !check) {
    return Fail(where + "not written: " + check.error());
  }
  if (KindOf(target) == PathKind::kFile) {
    ProjectRefusal refusal;
    if (auto earlier = ReadAt(target, refusal); !earlier) {
      return Fail(where + "not replaced, as it is not a project this Torvane reads (" +
                  earlier.error() + ")");
    }
  }
  std::optional<FileFingerprint> fingerprint;
  if (written) {
    RunningFingerprint running;
    running.Add(bytes.data(), bytes.size());
    auto made = running.Finish();
    if (!made) return Fail(where + "not written: " + made.error());
    fingerprint = *made;
  }
  if (const auto failure = WriteWholeFile(target, bytes)) {
    return Fail(where + NotWrittenText(*failure));
  }
  if (written) *written = *fingerprint;
  return {};
}

}  // namespace torvane
