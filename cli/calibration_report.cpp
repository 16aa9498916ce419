#include "cli/calibration_report.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <string_view>

#include "batch/run_error.h"
#include "cli/exit_status.h"
#include "cli/usage_error.h"
#include "os/file_system.h"
#include "os/pending_file.h"
#include "os/user_session.h"
#include "report/calibration_document.h"
#include "report/calibration_html.h"

namespace torvane::cli {
namespace {

bool EndsInHtml(std::string_view name) {
  std::string tail(
      name.substr(name.rfind('.') == std::string_view::npos ? name.size() : name.rfind('.')));
  std::transform(tail.begin(), tail.end(), tail.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return tail == ".html" || tail == ".htm";
}

bool SameFile(const std::string& a, const std::string& b) {
  const auto place_a = PlaceOf(PathFromUtf8(a)), place_b = PlaceOf(PathFromUtf8(b));
  return place_a && place_b && SamePlace(*place_a, *place_b);
}

}  // namespace

bool CheckReportRequest(const ReportRequest& request, const std::string& input,
                        const std::optional<std::string>& saved) {
  if (!request.path) return true;
  const std::string& path = *request.path;
  const std::string quoted = "\"" + MessageExcerpt(path) + "\"";
  if (path.empty()) {
    Complain("--report: the file name is empty", kExitUsage);
    return false;
  }
  if (!EndsInHtml(path)) {
    Complain("--report: " + quoted +
                 " does not end in .html or .htm; the window program makes the PDF: "
                 "torvane --report=OUT.pdf",
             kExitUsage);
    return false;
  }
  const bool read = SameFile(path, input);
  if (read || (saved && SameFile(path, *saved))) {
    Complain("--report: " + quoted + " is the file " + (read ? "read" : "saved"), kExitUsage);
    return false;
  }
  return true;
}

int WriteCalibrationReport(const ReportRequest& request, const ReportOrigin& origin,
                           const FitReport& report, std::span<const CommonPoint> fitted,
                           std::span<const CommonPoint> excluded,
                           std::span<const CommonPoint> check) {
  if (!request.path) return kExitOk;
  const std::string& path = *request.path;
  const std::string where = EscapeControlBytes(path) + ": ";
  ReportSource source;
  source.site = origin.site;
  source.operator_name = request.operator_name           ? *request.operator_name
                         : !origin.operator_name.empty() ? origin.operator_name
                                                         : LoginName();
  source.height_offset = origin.height_offset;
  source.made_at = LocalDateTimeNow();
  source.version = TORVANE_VERSION;
  source.project = origin.project;
  source.written = origin.written;
  source.files.push_back({ReportFileName(origin.input), origin.read.size, origin.read.sha256});
  const CalibrationDocument document =
      MakeCalibrationDocument(source, report, fitted, excluded, check);
  const std::string html = CalibrationHtml(document, CalibrationPlotSvg(document));

  if (const auto failure = WriteWholeFile(PathFromUtf8(path), html)) {
    return Complain(where + NotWrittenText(*failure), kExitFailure);
  }
  return kExitOk;
}

}  // namespace torvane::cli
