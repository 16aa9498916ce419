// torvane --report=OUT.pdf|OUT.html: the calibration report of a site's
// common points, written without a window, as the command line's
// `solve --points` or `solve --project` fits them.
#pragma once

#include <QStringList>
#include <optional>
#include <string>
#include <vector>

#include "base/expected.h"
#include "desktop/report_file.h"
#include "fit/fit_report.h"

namespace torvane {

// The usage line that a usage error ends with.
inline constexpr const char* kReportUsageLine =
    "用法：torvane --report=OUT.pdf|OUT.html --points=FILE|--project=FILE "
    "[--model=rigid|similarity] [--check-points=N,...] [--exclude=N,...] [--operator=NAME]";

struct ReportOptions {
  QString report;  // the file to write, as given
  ReportFormat format = ReportFormat::kPdf;
  // Exactly one of the two: a common-point file (the command line's
  // layout: name, survey X, Y, construction x, y) or a project file.
  std::optional<QString> points, project;
  FitModel model = FitModel::kRigid;
  std::vector<std::string> check, exclude;   // point names, UTF-8
  std::optional<std::string> operator_name;  // none: the login name
};

// Whether the program's arguments (argv[1] on) ask for a report: one of
// them is --report or starts with --report=.
bool AsksForReport(int argc, char** argv);

// The options of `arguments` (without the program's name), each given as
// --name=VALUE or --name VALUE; --check-points and --exclude may be given
// more than once, their names split at commas and the blanks around each
// removed. Rejects, with a Chinese message naming the option: an unknown
// option or a stray argument, an option given twice or without its value,
// a report whose name ends in none of .pdf, .html and .htm (letters of any
// case), no points file and no project or both, a model
// other than rigid and similarity, an empty name, a name given twice or
// both as check point and as excluded, and --model, --check-points or
// --exclude with a project, which keeps its own.
Expected<ReportOptions> ParseReportOptions(const QStringList& arguments);

}  // namespace torvane
