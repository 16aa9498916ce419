#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "batch/run_error.h"
#include "cli/commands.h"
#include "fit/common_point.h"
#include "fit/fit_report.h"
#include "fit/proj_pipeline.h"
#include "number/number_text.h"
#include "params/dms.h"
#include "params/param_texts.h"
#include "params/two_point.h"
#include "report/angle_warning.h"
#include "report/two_point_json.h"
#include "report/two_point_report.h"

namespace torvane::cli {
namespace {

// "X,Y" or "X0,Y0,ANGLE": `count` decimal numbers separated by commas.
bool ReadList(const char* option, const std::string& text, std::size_t count,
              std::vector<double>* values) {
  values->clear();
  std::string_view rest = text;
  for (;;) {
    const std::size_t comma = rest.find(',');
    const std::string_view item = rest.substr(0, comma);
    auto value = ParseDecimal(item);
    if (!value) {
      ComplainOfNumber(option, std::string(TrimBlanks(item)), value.error());
      return false;
    }
    values->push_back(*value);
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  if (values->size() != count) {
    Complain(std::string(option) + ": expected " + std::to_string(count) +
                 " numbers separated by commas, got \"" + MessageExcerpt(text) + "\"",
             kExitUsage);
    return false;
  }
  return true;
}

}  // namespace

int RunSolve(const SolveOptions& options) {
  std::vector<double> sa, sb, ca, cb, check;
  if (!ReadList("--survey-a", options.survey_a, 2, &sa) ||
      !ReadList("--survey-b", options.survey_b, 2, &sb) ||
      !ReadList("--construction-a", options.construction_a, 2, &ca) ||
      !ReadList("--construction-b", options.construction_b, 2, &cb)) {
    return kExitUsage;
  }
  PresentParams present;
  if (options.check) {
    if (!ReadList("--check", *options.check, 3, &check)) return kExitUsage;
    present = {check[0], check[1], check[2]};
    if (StateOf(present.x_offset, present.y_offset, present.angle_dms) != ParamState::kSet) {
      return Complain("--check: X offset, Y offset and rotation must all be non-zero", kExitUsage);
    }
    // The angle as convert's --angle takes it, and told the same way.
    auto degrees = DmsToDegrees(present.angle_dms);
    if (!degrees) return Complain("--check: " + degrees.error(), kExitUsage);
    // Told as convert tells it.
    if (const std::string warning = DmsBeyond60Warning(present.angle_dms); !warning.empty()) {
      Complain(warning, kExitOk);
    }
  }
  const CommonPoint named[] = {{"A", 0, {sa[0], sa[1]}, {ca[0], ca[1]}},
                               {"B", 0, {sb[0], sb[1]}, {cb[0], cb[1]}}};
  if (options.model == FitModel::kSimilarity) {
    // The exact four parameters through A and B, the scale being the ratio
    // of the distances: the offsets from A and from B agree by construction,
    // so the 10 mm warning has nothing to say.
    auto report = ReportFit(named, {}, FitModel::kSimilarity);
    if (!report) return Complain(report.error(), kExitFailure);
    if (options.format == "proj") {
      std::cout << ProjPipeline(report->params, options.axes) << '\n';
    } else if (options.format == "json") {
      std::cout << TwoPointJson(*report, named, nullptr);
    } else {
      std::cout << report->texts.x_offset << ' ' << report->texts.y_offset << ' '
                << report->texts.angle << ' ' << report->scale_text << '\n';
    }
    return kExitOk;
  }
  const TwoPoints points{sa[0], sa[1], sb[0], sb[1], ca[0], ca[1], cb[0], cb[1]};
  auto solution = SolveTwoPoints(points, present, SamePlace::kReject);
  if (!solution) return Complain(solution.error(), kExitFailure);
  if (solution->offsets_disagree) Complain(kOffsetsDisagreeMessage, kExitOk);

  if (options.format == "text") {
    if (!options.check) {
      const ParamTexts texts = TwoPointBoxTexts(*solution);
      std::cout << texts.x_offset << ' ' << texts.y_offset << ' ' << texts.angle << '\n';
      return kExitOk;
    }
    std::cout << TwoPointCheckReport(*solution, "\n") << '\n';
    return kExitOk;
  }

  // JSON and PROJ as solve --points gives them for a file of A and B: the fit
  // to two points has the two-point solve's texts, and is checked with them.
  auto report = ReportFit(named, {});
  if (!report) return Complain(report.error(), kExitFailure);
  if (options.format == "proj") {
    std::cout << ProjPipeline(report->params, options.axes) << '\n';
    return kExitOk;
  }
  std::cout << TwoPointJson(*report, named, options.check ? &*solution : nullptr);
  return kExitOk;
}

}  // namespace torvane::cli
