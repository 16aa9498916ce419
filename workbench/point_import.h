// Common points imported into the workbench's table from a common-point
// file, read as `torvane-cli solve --points` reads it.
#pragma once

#include <QString>

#include <string>
#include <vector>

#include "base/expected.h"
#include "batch/run_error.h"
#include "site/common_points.h"
#include "site/project_file.h"

namespace torvane {

// The points of the file at `path` ("-" for standard input), laid out as
// `layout` says, in the file's order, each a fitted point; names in UTF-8,
// coordinates as the file writes them (the field's text, blanks around it
// removed), so that they read back as the command line reads them. Rejects
// what ReadCommonPoints rejects, and a file without points (kNoPoints).
Expected<std::vector<ProjectPoint>, RunError> ImportCommonPoints(const std::string& path,
                                                                 const CommonPointLayout& layout);

// Why an import failed, in Chinese: the file, the line and the field, as
// RunFailureMessage tells them, ending with 未导入公共点。; a header line
// is named with the layout's lines to skip that would pass it.
QString ImportFailureMessage(const RunError& error);

}  // namespace torvane
