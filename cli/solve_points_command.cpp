#include <algorithm>
#include <cassert>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/result_path.h"
#include "batch/run_error.h"
#include "batch/text_encoding.h"
#include "cli/exit_status.h"
#include "cli/point_file_options.h"
#include "cli/solve_points_command.h"
#include "cli/usage_error.h"
#include "fit/fit_report.h"
#include "fit/height_coverage.h"
#include "fit/proj_pipeline.h"
#include "number/number_text.h"
#include "params/millimetre_text.h"
#include "report/fit_report_json.h"
#include "report/fit_report_text.h"
#include "report/height_report_json.h"
#include "report/height_report_text.h"
#include "report/height_section.h"
#include "report/json_text.h"
#include "report/two_point_report.h"
#include "site/common_points.h"
#include "site/project_file.h"
#include "site/site_points.h"

namespace torvane::cli {
namespace {

constexpr const char* kQuadricPipelineMessage =
    "--format=proj: a quadric height model cannot be written as a PROJ pipeline (PROJ's affine "
    "step has no squared terms); use --height-model=offset or plane, or convert with "
    "torvane-cli convert --project";

// A project's point that a solve cannot take, in English: "point 3: the
// name \"K1\" is that of point 1, blanks around it aside".
std::string ProblemText(const CellProblem& problem) {
  const std::string point = "point " + std::to_string(problem.row + 1) + ": ";
  if (problem.fault == CellFault::kRepeatedName) {
    return point + "the name \"" + MessageExcerpt(problem.text) + "\" is that of point " +
           std::to_string(problem.other_row + 1) + ", blanks around it aside";
  }
  return point + "the name is only blanks";
}

// The names of `option` (--exclude, --check-points), each option value split
// at its commas and the blanks around each name removed. Rejects an empty name.
bool ReadNames(const std::string& option, const std::vector<std::string>& values,
               std::vector<std::string>* names) {
  for (const std::string& value : values) {
    std::string_view rest = value;
    for (;;) {
      const std::size_t comma = rest.find(',');
      const std::string_view name = TrimBlanks(rest.substr(0, comma));
      if (name.empty()) {
        Complain(option + ": \"" + MessageExcerpt(value) + "\" has an empty name", kExitUsage);
        return false;
      }
      names->emplace_back(name);
      if (comma == std::string_view::npos) break;
      rest.remove_prefix(comma + 1);
    }
  }
  return true;
}

// The --max-residual value, millimetres. Rejects, as a usage error: a text
// that is not a decimal number, one too large, and a negative limit.
bool ReadLimit(const std::string& text, double* limit) {
  auto value = ParseDecimal(text);
  if (!value) {
    ComplainOfNumber("--max-residual", text, value.error());
    return false;
  }
  if (*value < 0) {
    Complain("--max-residual: \"" + MessageExcerpt(text) + "\" is negative", kExitUsage);
    return false;
  }
  *limit = *value;
  return true;
}

// The --check-points names against --exclude's. Rejects, as a usage error, a
// name given twice and one that is excluded as well: each would leave a
// point counted twice, or the surveyor's intent unclear.
bool CheckNamesAreDistinct(const std::vector<std::string>& check,
                           const std::vector<std::string>& exclude,
                           const std::string& option = "--check-points") {
  for (std::size_t i = 0; i < check.size(); ++i) {
    const std::string quoted = "\"" + MessageExcerpt(check[i]) + "\"";
    if (std::count(check.begin(), check.end(), check[i]) > 1) {
      Complain(option + ": " + quoted + " is given twice", kExitUsage);
      return false;
    }
    if (std::find(exclude.begin(), exclude.end(), check[i]) != exclude.end()) {
      Complain("--check-points: " + quoted + " is also given to --exclude", kExitUsage);
      return false;
    }
  }
  return true;
}

// Whether every name in `names` is that of a point; tells the first that is
// not, quoting `option`, as a usage error.
bool AllNamed(const std::string& option, const std::vector<std::string>& names,
              const std::vector<CommonPoint>& points, const std::string& where) {
  for (const std::string& name : names) {
    const bool found = std::any_of(points.begin(), points.end(),
                                   [&](const CommonPoint& p) { return p.name == name; });
    // A mistyped name must not leave a bad point in the fit unnoticed.
    if (!found) {
      Complain(option + ": no point named \"" + MessageExcerpt(name) + "\" in " + where,
               kExitUsage);
      return false;
    }
  }
  return true;
}

// The site's name for a fit of the common points at `points_path`: the
// file's name without folder and extension, empty for standard input; a
// name that is not UTF-8 (a file named in another encoding) with U+FFFD
// for each byte that is not, as a file dialog shows it.
std::string SiteNameOf(const std::string& points_path) {
  if (points_path == "-") return {};
  return Utf8WithReplacements(FileStem(points_path));
}

// The project of a fit: every point in the file's order with its role, each
// coordinate the shortest text that reads back as the value read (the file's
// own text is not kept), the model, and the parameters as the report
// prints them, and the height model fitted when there is one. The layout is
// the point files' default: the common-point
// file's columns are not those of the files the project converts.
Project ProjectOf(const std::string& site, const std::vector<CommonPoint>& points,
                  const std::vector<CoordinateTexts>& texts,
                  const std::vector<std::string>& exclude, const std::vector<std::string>& check,
                  FitModel model, const FitReport& report, const HeightSection* heights) {
  assert(texts.size() == points.size());
  Project project;
  if (heights) {
    std::vector<PlanePoint> places;
    for (const CommonPoint& p : heights->fitted) places.push_back(p.survey);
    project.height_model =
        KeptHeightModel(AppliedSolution(*heights).surface, HeightCoverage(places).Vertices());
  }
  project.site = site;
  project.model = model;
  ProjectParams params;
  params.texts = report.texts;
  params.scale = model == FitModel::kSimilarity ? report.scale_text : "1";
  params.source = ParamSource::kSolved;
  project.parameters = params;
  for (std::size_t i = 0; i < points.size(); ++i) {
    // Each coordinate as the file writes it, "250.000" kept so; heights
    // kept with the points, so that the project shows what the height
    // model was fitted to.
    const CoordinateTexts& t = texts[i];
    const std::string& name = points[i].name;
    project.points.push_back(
        {name, RoleByName(name, exclude, check), t[0], t[1], t[2], t[3], t[4], t[5]});
  }
  return project;
}

// Fits `fitted`, prints the report of all three kinds of point as
// fit.format says, then runs `saved` (which tells its own failure and
// returns the exit status), writes the calibration report that fit.report
// asks for, from `origin`, and checks the residuals against `limit`
// (millimetres, typed as `limit_text`). `where` names the points' file.
int FitAndReport(const std::string& where, const SitePoints& points, const FitChoices& fit,
                 const ReportOrigin& origin, std::optional<double> limit,
                 const std::string& limit_text, const std::function<int(const FitReport&)>& saved,
                 const HeightSection* heights = nullptr) {
  const std::vector<CommonPoint>& fitted = points.fit;
  const std::vector<CommonPoint>& excluded = points.off;
  const std::vector<CommonPoint>& check_points = points.check;
  auto report = ReportFit(fitted, excluded, check_points, fit.model);
  if (!report) {
    std::cerr << where << ": " << report.error();
    if (!excluded.empty() || !check_points.empty()) {
      std::cerr << " (";
      if (!excluded.empty()) std::cerr << excluded.size() << " excluded";
      if (!excluded.empty() && !check_points.empty()) std::cerr << ", ";
      if (!check_points.empty()) {
        std::cerr << check_points.size()
                  << (check_points.size() == 1 ? " check point" : " check points");
      }
      std::cerr << ')';
    }
    std::cerr << '\n';
    return kExitFailure;
  }
  if (report->offsets_disagree) Complain(kOffsetsDisagreeMessage, kExitOk);
  if (fit.format == SolveFormat::kJson) {
    if (heights) {
      std::vector<std::string> members =
          FitReportMembers(*report, fitted, excluded, check_points, limit);
      members.push_back(JsonMember("heights", HeightReportJson(*heights)));
      std::cout << JsonObject(members);
    } else {
      std::cout << FitReportJson(*report, fitted, excluded, check_points, limit);
    }
  } else if (fit.format == SolveFormat::kProj) {
    if (heights) {
      std::cout << ProjPipeline(report->params, fit.axes, AppliedSolution(*heights).surface)
                << '\n';
    } else {
      std::cout << ProjPipeline(report->params, fit.axes) << '\n';
    }
  } else {
    std::cout << FitReportText(*report, fitted, excluded, check_points);
    if (heights) std::cout << HeightReportText(*heights);
  }
  if (const int status = saved(*report); status != kExitOk) return status;
  if (fit.report.path) {
    std::cout.flush();
    const int status =
        WriteCalibrationReport(fit.report, origin, *report, fitted, excluded, check_points);
    if (status != kExitOk) return status;
  }

  if (!limit) return kExitOk;
  const std::vector<std::size_t> above = ResidualsAbove(*report, *limit);
  if (above.empty()) return kExitOk;
  std::string message = "residuals larger than " + std::string(TrimBlanks(limit_text)) + " mm:";
  for (std::size_t i = 0; i < above.size(); ++i) {
    message += i > 0 ? ", " : " ";
    message += MessageExcerpt(fitted[above[i]].name) + " " +
               MillimetreText(report->residuals[above[i]].length) + " mm";
  }
  return Complain(message, kExitFailure);
}

bool HasColumn(const CommonPointLayout& layout, CommonField field) {
  return std::find(layout.fields.begin(), layout.fields.end(), field) != layout.fields.end();
}

// The height section solve --points prints for options.height_model, or the
// exit status after telling why there is none: a layout without hs and hc,
// a height check point unknown, given twice or without both heights
// (usage errors), a model the points cannot fix, and a quadric asked of
// --format=proj (a usage error when asked for, a failure when auto chose
// it).
Expected<HeightSection, int> HeightsOf(const SolvePointsOptions& options,
                                       const CommonPointLayout& layout,
                                       const std::vector<CommonPoint>& points,
                                       const SitePoints& by_role,
                                       const std::vector<std::string>& check,
                                       const std::string& where, SolveFormat format) {
  if (!HasColumn(layout, CommonField::kHs) || !HasColumn(layout, CommonField::kHc)) {
    return Fail(
        Complain("--height-model: the --columns layout has no hs and hc columns for the "
                 "heights (e.g. name,xs,ys,hs,xc,yc,hc)",
                 kExitUsage));
  }
  const bool quadric_asked = options.height_model == HeightChoice::kQuadric;
  if (quadric_asked && format == SolveFormat::kProj) {
    return Fail(Complain(kQuadricPipelineMessage, kExitUsage));
  }
  std::vector<std::string> names;
  const bool given = options.height_check_points.has_value();
  if (given) {
    if (!ReadNames("--height-check-points", *options.height_check_points, &names) ||
        !CheckNamesAreDistinct(names, {}, "--height-check-points") ||
        !AllNamed("--height-check-points", names, points, where)) {
      return Fail(kExitUsage);
    }
  } else {
    names = check;
  }
  auto named = [&](const CommonPoint& p) {
    return std::find(names.begin(), names.end(), p.name) != names.end();
  };
  std::vector<CommonPoint> fitted, height_check;
  for (const CommonPoint& p : by_role.fit) {
    if (!named(p)) fitted.push_back(p);
  }
  for (const CommonPoint& p : points) {
    if (!named(p)) continue;
    if (p.survey_h && p.construction_h) {
      height_check.push_back(p);
    } else if (given) {
      return Fail(Complain("--height-check-points: \"" + MessageExcerpt(p.name) +
                               "\" has no height in both grids in " + where,
                           kExitUsage));
    }
  }
  std::optional<HeightModel> model;
  switch (options.height_model) {
    case HeightChoice::kOffset:
      model = HeightModel::kOffset;
      break;
    case HeightChoice::kPlane:
      model = HeightModel::kPlane;
      break;
    case HeightChoice::kQuadric:
      model = HeightModel::kQuadric;
      break;
    case HeightChoice::kNone:
    case HeightChoice::kAuto:
      break;
  }
  auto section = MakeHeightSection(fitted, height_check, model);
  if (!section) return Fail(Complain(where + ": " + section.error(), kExitFailure));
  if (section->model == HeightModel::kQuadric && format == SolveFormat::kProj) {
    return Fail(Complain(kQuadricPipelineMessage, kExitFailure));
  }
  return std::move(section.value());
}

}  // namespace

int RunSolveProject(const std::string& path, const FitChoices& fit) {
  if (path.empty()) return Complain("--project: the file name is empty", kExitUsage);
  if (!CheckReportRequest(fit.report, path, std::nullopt)) return kExitUsage;
  FileFingerprint read;
  auto project = ReadProject(path, nullptr, fit.report.path ? &read : nullptr);
  if (!project) return Complain(project.error(), kExitFailure);
  const SitePoints points = ReadSitePoints(project->points);
  // ReadProject has read every coordinate; names alike but for the blanks
  // around them, or of blanks only, are what is left.
  if (!points.problems.empty()) {
    return Complain(EscapeControlBytes(path) + ": " + ProblemText(points.problems.front()),
                    kExitFailure);
  }
  FitChoices choices = fit;
  choices.model = project->model;
  const ReportOrigin origin{project->site,
                            path,
                            path,
                            read,
                            project->height_offset,
                            project->operator_name,
                            WrittenCoordinates(points, project->points)};
  return FitAndReport(EscapeControlBytes(path), points, choices, origin, {}, "",
                      [](const FitReport&) { return kExitOk; });
}

int RunSolvePoints(const SolvePointsOptions& options, const FitChoices& fit) {
  if (options.points.empty()) return Complain("--points: the file name is empty", kExitUsage);
  // An empty name is a mistake in the command, not a file that cannot be written.
  if (options.save_project && options.save_project->empty()) {
    return Complain("--save-project: the file name is empty", kExitUsage);
  }
  if (!CheckReportRequest(fit.report, options.points, options.save_project)) return kExitUsage;
  std::optional<double> limit;
  if (options.max_residual) {
    double value = 0;
    if (!ReadLimit(*options.max_residual, &value)) return kExitUsage;
    limit = value;
  }
  std::vector<std::string> exclude, check;
  if (!ReadNames("--exclude", options.exclude, &exclude) ||
      !ReadNames("--check-points", options.check_points, &check) ||
      !CheckNamesAreDistinct(check, exclude)) {
    return kExitUsage;
  }

  CommonPointLayout layout;
  if (options.columns) {
    auto fields = ParseCommonColumns(*options.columns);
    if (!fields) return Complain("--columns: " + fields.error(), kExitUsage);
    layout.fields = std::move(*fields);
  }
  if (options.skip_lines && !ReadSkipLines(*options.skip_lines, &layout.skip_lines)) {
    return kExitUsage;
  }
  layout.delimiter = options.delimiter;
  layout.encoding = options.encoding;

  // The report fingerprints the bytes read for the fit, as they are read.
  FileFingerprint read;
  std::vector<CoordinateTexts> texts;
  auto points = ReadCommonPoints(options.points, layout, &texts, fit.report.path ? &read : nullptr);
  if (!points) {
    std::cerr << Describe(points.error()) << '\n';
    return kExitFailure;
  }
  const std::string where =
      options.points == "-" ? "standard input" : EscapeControlBytes(options.points);
  if (!AllNamed("--exclude", exclude, *points, where) ||
      !AllNamed("--check-points", check, *points, where)) {
    return kExitUsage;
  }
  const SitePoints by_role = PointsByName(*points, exclude, check);
  std::optional<HeightSection> heights;
  if (options.height_model != HeightChoice::kNone) {
    auto section = HeightsOf(options, layout, *points, by_role, check, where, fit.format);
    if (!section) return section.error();
    heights = std::move(*section);
  }

  // The site is named after its file, as the project saved from it is.
  const std::string site = SiteNameOf(options.points);
  const ReportOrigin origin{
      site, options.points, "", read, std::nullopt, "", WrittenCoordinates(by_role, texts)};
  return FitAndReport(
      where, by_role, fit, origin, limit, options.max_residual.value_or(""),
      [&](const FitReport& report) {
        if (!options.save_project) return kExitOk;
        const Project project = ProjectOf(site, *points, texts, exclude, check, fit.model, report,
                                          heights ? &*heights : nullptr);
        auto written = WriteProject(project, *options.save_project);
        std::cout.flush();
        if (!written) return Complain(written.error(), kExitFailure);
        if (site != FileStem(options.points)) {
          Complain(EscapeControlBytes(*options.save_project) + ": the site is named \"" +
                       MessageExcerpt(site) + "\", as the points file's name is not UTF-8 (" +
                       std::string(kReplacementCharacter) + " for each byte that is not)",
                   kExitOk);
        }
        return kExitOk;
      },
      heights ? &*heights : nullptr);
}

}  // namespace torvane::cli
