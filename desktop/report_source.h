// Where a calibration report made by the program says it came from: the
// site, who made it and when, Torvane's version, and every file it was
// read from with its size and SHA-256.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/expected.h"
#include "report/calibration_document.h"

namespace torvane {

// The source of a report on `site` read from `files` (UTF-8 paths as the
// user named them, ReportFileName naming standard input; none for points
// typed in the window), each fingerprinted by the bytes read for the fit,
// `project` the project file's name or empty, made by `operator_name`
// (none: the login name) now, in the machine's time zone.
ReportSource ReportSourceOf(const std::string& site, std::vector<ReportFile> files,
                            const std::string& project,
                            const std::optional<std::string>& operator_name);

}  // namespace torvane
