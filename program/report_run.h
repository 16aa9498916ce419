// torvane --report: reads the common points or the project, fits them as
// `torvane-cli solve --points` or `solve --project` does, and writes the
// calibration report as PDF or HTML, telling any failure in Chinese on
// standard error.
#pragma once

#include "program/report_options.h"

namespace torvane {

// The exit statuses, as the command line's.
inline constexpr int kReportOk = 0;
inline constexpr int kReportFailed = 1;  // a file not read or written, a fit that fails
inline constexpr int kReportUsage = 2;

// Writes the report `options` ask for; the exit status. A usage error
// (also a point name that no point has, and a report named as the file it
// is made from) is told with kReportUsage after it. Needs the application
// object.
int RunReport(const ReportOptions& options);

// The whole of `torvane --report ...`: `arguments` (without the program's
// name) read by ParseReportOptions, then RunReport; the exit status.
int RunReportCommand(const QStringList& arguments);

// Tells `message` on standard error after "torvane: " and returns `status`;
// for kReportUsage the usage line follows.
int ComplainOfReport(const std::string& message, int status);

}  // namespace torvane
