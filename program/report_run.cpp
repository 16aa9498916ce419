#include "program/report_run.h"

#include <algorithm>
#include <iostream>
#include <map>
#include <vector>

#include "batch/result_path.h"
#include "desktop/local_path.h"
#include "desktop/report_file.h"
#include "desktop/report_font.h"
#include "desktop/report_source.h"
#include "desktop/run_failure_message.h"
#include "number/number_text.h"
#include "os/file_system.h"
#include "site/common_points.h"
#include "site/project_file.h"
#include "site/site_points.h"
#include "workbench/project_messages.h"

namespace torvane {
namespace {

struct Site {
  SitePoints points;
  FitModel model = FitModel::kRigid;
  std::string name;                          // the site's name
  std::string project;                       // the project file, empty for a points file
  FileFingerprint read;                      // the size and SHA-256 of the bytes read for the fit
  std::optional<std::string> height_offset;  // a project's H0, metres
  std::string operator_name;                 // a project's operator; empty: none
  std::map<std::string, CoordinateTexts> written;  // each point's coordinates as written
};

// The common points of the file, by the roles the options give them; the
// exit status after telling why there are none.
Expected<Site, int> ReadPoints(const ReportOptions& options, const std::string& path) {
  FileFingerprint read;
  std::vector<CoordinateTexts> texts;
  auto points = ReadCommonPoints(path, CommonPointLayout{}, &texts, &read);
  if (!points) {
    QString message = RunFailureMessage(points.error());
    const QString not_written = QStringLiteral("\n未写出成果表。");
    if (message.endsWith(not_written)) message.chop(not_written.size());
    return Fail(ComplainOfReport((message + QStringLiteral("\n报告未写出。")).toStdString(),
                                 kReportFailed));
  }
  for (const auto& [option, names] :
       {std::pair{"--check-points", &options.check}, std::pair{"--exclude", &options.exclude}}) {
    for (const std::string& name : *names) {
      const bool found = std::any_of(points->begin(), points->end(),
                                     [&](const CommonPoint& p) { return p.name == name; });
      if (!found) {
        return Fail(ComplainOfReport(
            std::string(option) + "：“" + MessageExcerpt(name) + "”不是 " +
                (path == "-" ? std::string("标准输入") : EscapeControlBytes(path)) + " 中的点名",
            kReportUsage));
      }
    }
  }
  Site site;
  site.model = options.model;
  // Named after its file, as the command line's report and project name it;
  // standard input names none.
  if (path != "-") site.name = std::string(FileStem(path));
  site.read = read;
  site.points = PointsByName(*points, options.exclude, options.check);
  site.written = WrittenCoordinates(site.points, texts);
  return site;
}

Expected<Site, int> ReadSiteProject(const QString& shown, const std::string& path) {
  ProjectRefusal refusal;
  FileFingerprint read;
  auto project = ReadProject(path, &refusal, &read);
  if (!project) {
    return Fail(ComplainOfReport(
        (ProjectOpenFailureMessage(shown, refusal) + QStringLiteral("\n报告未写出。"))
            .toStdString(),
        kReportFailed));
  }
  Site site;
  site.model = project->model;
  site.name = project->site;
  site.height_offset = project->height_offset;
  site.operator_name = project->operator_name;
  site.project = path;
  site.read = read;
  site.points = ReadSitePoints(project->points);
  site.written = WrittenCoordinates(site.points, project->points);
  // ReadProject has read every coordinate; names alike but for the blanks
  // around them, or of blanks only, are what is left.
  if (!site.points.problems.empty()) {
    const CellProblem& problem = site.points.problems.front();
    const std::string point = "第 " + std::to_string(problem.row + 1) + " 个点";
    const std::string what = problem.fault == CellFault::kRepeatedName
                                 ? point + "的点名“" + MessageExcerpt(problem.text) + "”与第 " +
                                       std::to_string(problem.other_row + 1) +
                                       " 个点相同（点名两端的空白不计）"
                                 : point + "的点名只有空白";
    return Fail(
        ComplainOfReport(EscapeControlBytes(path) + "：" + what + "\n报告未写出。", kReportFailed));
  }
  return site;
}

bool SameFile(const std::string& a, const std::string& b) {
  const auto place_a = PlaceOf(PathFromUtf8(a)), place_b = PlaceOf(PathFromUtf8(b));
  return place_a && place_b && SamePlace(*place_a, *place_b);
}

}  // namespace

int ComplainOfReport(const std::string& message, int status) {
  std::cerr << "torvane: " << message << '\n';
  if (status == kReportUsage) std::cerr << kReportUsageLine << '\n';
  return status;
}

int RunReport(const ReportOptions& options) {
  const QString& shown_input = options.points ? *options.points : *options.project;
  const auto input = LocalPathOf(shown_input);
  const auto out = LocalPathOf(options.report);
  for (const auto* local : {&input, &out}) {
    if (!*local) {
      return ComplainOfReport(AmbiguousNameMessage(local->error()).toStdString(), kReportFailed);
    }
  }
  if (SameFile(*out, *input)) {
    return ComplainOfReport("--report：“" + MessageExcerpt(*out) + "”就是读入的文件", kReportUsage);
  }
  auto site = options.points ? ReadPoints(options, *input) : ReadSiteProject(shown_input, *input);
  if (!site) return site.error();
  const SitePoints& points = site->points;
  // As the workbench says it.
  if (points.fit.size() < 2) {
    return ComplainOfReport(
        EscapeControlBytes(*input) + "：参与平差的点不足两个，无法计算参数。\n报告未写出。",
        kReportFailed);
  }
  auto report = ReportFit(points.fit, points.off, points.check, site->model);
  if (!report) {
    return ComplainOfReport(
        EscapeControlBytes(*input) + "：无法计算参数：" + report.error() + "\n报告未写出。",
        kReportFailed);
  }
  // The file as read for the fit, not read again.
  // --operator before the project's own operator, the login name after.
  std::optional<std::string> operator_name = options.operator_name;
  if (!operator_name && !site->operator_name.empty()) operator_name = site->operator_name;
  ReportSource source =
      ReportSourceOf(site->name, {{ReportFileName(*input), site->read.size, site->read.sha256}},
                     site->project, operator_name);
  source.height_offset = site->height_offset;
  source.written = std::move(site->written);
  const CalibrationDocument document =
      MakeCalibrationDocument(source, *report, points.fit, points.off, points.check);
  if (options.format == ReportFormat::kPdf) {
    // Refused before anything is written when no Chinese font is installed.
    const auto font = ChooseReportFont();
    if (!font) return ComplainOfReport(font.error(), kReportFailed);
    if (!font->warning.empty()) std::cerr << "torvane: 警告：" << font->warning << '\n';
  }
  const auto written = WriteCalibrationReport(*out, document, options.format);
  if (!written) return ComplainOfReport(written.error(), kReportFailed);
  return kReportOk;
}

int RunReportCommand(const QStringList& arguments) {
  const auto options = ParseReportOptions(arguments);
  if (!options) return ComplainOfReport(options.error(), kReportUsage);
  return RunReport(*options);
}

}  // namespace torvane
