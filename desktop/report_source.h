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

// The source of a report on `site` read from `files`, each fingerprinted
// as it was read for the fit (ReportFileName names standard input);
// otherwise as MakeReportSource.
ReportSource ReportSourceOf(const std::string& site, std::vector<ReportFile> files,
                            const std::string& project,
                            const std::optional<std::string>& operator_name);

// The source of a report on `site` read from the files `inputs` (UTF-8
// paths, as the user named them; none for points typed in the window),
// `project` the project file's name or empty, made by `operator_name`
// (none: the login name) now, in the machine's time zone. Rejects, in
// Chinese quoting the path and the reason, a file whose size and SHA-256
// cannot be had.
Expected<ReportSource> MakeReportSource(const std::string& site,
                                        const std::vector<std::string>& inputs,
                                        const std::string& project,
                                        const std::optional<std::string>& operator_name);

}  // namespace torvane
