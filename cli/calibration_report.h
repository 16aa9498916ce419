// solve's --report: the calibration report of a fit as an HTML file.
#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>

#include "fit/common_point.h"
#include "fit/fit_report.h"
#include "os/file_fingerprint.h"
#include "site/common_points.h"

namespace torvane::cli {

struct ReportRequest {
  std::optional<std::string> path;           // OUT.html; none: no report
  std::optional<std::string> operator_name;  // none: the login name
};

// Whether `request` can be written for input read from `input` (the points
// file, "-" for standard input, or the project file) and a project saved
// to `saved` (may be none): tells, as a usage error, a name that ends in
// neither .html nor .htm, and a report that would overwrite the input or
// the saved project.
bool CheckReportRequest(const ReportRequest& request, const std::string& input,
                        const std::optional<std::string>& saved);

// What the report says it came from besides the fit.
struct ReportOrigin {
  std::string site;      // may be empty
  std::string input;     // the file read, as the user named it; "-" for standard input
  std::string project;   // the project file's name; empty for a points file
  FileFingerprint read;  // the size and SHA-256 of the bytes read for the fit
  // A project's H0 (metres, as kept) and operator (empty: none, the login
  // name then stands unless --operator names one).
  std::optional<std::string> height_offset;
  std::string operator_name;
  // Each point's coordinates as written (site/site_points.h), by name.
  std::map<std::string, CoordinateTexts> written{};
};

// Writes the report of `report`, made from `fitted`, `excluded` and `check`,
// to request.path whole or not at all; 0, or the exit status after telling
// why it could not (the write).
int WriteCalibrationReport(const ReportRequest& request, const ReportOrigin& origin,
                           const FitReport& report, std::span<const CommonPoint> fitted,
                           std::span<const CommonPoint> excluded,
                           std::span<const CommonPoint> check);

}  // namespace torvane::cli
