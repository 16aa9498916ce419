#include <algorithm>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/common_points.h"
#include "batch/run_error.h"
#include "cli/exit_status.h"
#include "cli/point_file_options.h"
#include "cli/solve_points_command.h"
#include "cli/usage_error.h"
#include "fit/fit_report.h"
#include "fit/proj_pipeline.h"
#include "number/number_text.h"
#include "params/millimetre_text.h"
#include "report/fit_report_json.h"
#include "report/fit_report_text.h"
#include "report/two_point_report.h"

namespace torvane::cli {
namespace {

// The names of --exclude, each option value split at its commas and the
// blanks around each name removed. Rejects an empty name.
bool ReadNames(const std::vector<std::string>& values, std::vector<std::string>* names) {
  for (const std::string& value : values) {
    std::string_view rest = value;
    for (;;) {
      const std::size_t comma = rest.find(',');
      const std::string_view name = TrimBlanks(rest.substr(0, comma));
      if (name.empty()) {
        Complain("--exclude: \"" + MessageExcerpt(value) + "\" has an empty name", kExitUsage);
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

bool Contains(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

int RunSolvePoints(const SolvePointsOptions& options, const FitChoices& fit) {
  if (options.points.empty()) return Complain("--points: the file name is empty", kExitUsage);
  std::optional<double> limit;
  if (options.max_residual) {
    double value = 0;
    if (!ReadLimit(*options.max_residual, &value)) return kExitUsage;
    limit = value;
  }
  std::vector<std::string> exclude;
  if (!ReadNames(options.exclude, &exclude)) return kExitUsage;

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

  auto points = ReadCommonPoints(options.points, layout);
  if (!points) {
    std::cerr << Describe(points.error()) << '\n';
    return kExitFailure;
  }
  const std::string where =
      options.points == "-" ? "standard input" : EscapeControlBytes(options.points);
  for (const std::string& name : exclude) {
    const bool found = std::any_of(points->begin(), points->end(),
                                   [&](const CommonPoint& p) { return p.name == name; });
    // A mistyped name must not leave a bad point in the fit unnoticed.
    if (!found) {
      return Complain("--exclude: no point named \"" + MessageExcerpt(name) + "\" in " + where,
                      kExitUsage);
    }
  }
  std::vector<CommonPoint> fitted, excluded;
  for (const CommonPoint& p : *points) (Contains(exclude, p.name) ? excluded : fitted).push_back(p);

  auto report = ReportFit(fitted, excluded, fit.model);
  if (!report) {
    std::cerr << where << ": " << report.error();
    if (!excluded.empty()) std::cerr << " (" << excluded.size() << " excluded)";
    std::cerr << '\n';
    return kExitFailure;
  }
  if (report->offsets_disagree) Complain(kOffsetsDisagreeMessage, kExitOk);
  if (fit.format == SolveFormat::kJson) {
    std::cout << FitReportJson(*report, fitted, excluded, limit);
  } else if (fit.format == SolveFormat::kProj) {
    std::cout << ProjPipeline(report->params, fit.axes) << '\n';
  } else {
    std::cout << FitReportText(*report, fitted, excluded);
  }

  if (!limit) return kExitOk;
  const std::vector<std::size_t> above = ResidualsAbove(*report, *limit);
  if (above.empty()) return kExitOk;
  std::string message =
      "residuals larger than " + std::string(TrimBlanks(*options.max_residual)) + " mm:";
  for (std::size_t i = 0; i < above.size(); ++i) {
    message += i > 0 ? ", " : " ";
    message += MessageExcerpt(fitted[above[i]].name) + " " +
               MillimetreText(report->residuals[above[i]].length) + " mm";
  }
  return Complain(message, kExitFailure);
}

}  // namespace torvane::cli
