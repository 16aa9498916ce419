// Common points imported into the workbench's table from a common-point
// file, read as `torvane-cli solve --points` reads it.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

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
// removed), so that they read back as the command line reads them; heights
// (hs, hc) as the shortest text that reads back as the number the command
// line reads ("12.500" is "12.5"), empty where a point has none. Rejects
// what ReadCommonPoints rejects, and a file without points (kNoPoints).
Expected<std::vector<ProjectPoint>, RunError> ImportCommonPoints(const std::string& path,
                                                                 const CommonPointLayout& layout);

// The import's file dialog's filters: common-point files, spreadsheet
// workbooks among them (*.xlsx *.xls *.ods, which WorkbookAdvice answers),
// and all files.
QStringList ImportFileFilters();

// For a file named as a spreadsheet workbook (.xlsx, .xls, .ods, in any
// case), which is not read: how to bring its points in, in Chinese (paste
// its cells, or save it as CSV or Unicode text and import that), ending
// with 未导入公共点。; none for any other name.
std::optional<QString> WorkbookAdvice(const QString& path);

// Why an import failed, in Chinese: the file, the line and the field, as
// RunFailureMessage tells them, ending with 未导入公共点。; a header line
// is named with the layout's lines to skip that would pass it, and a file
// that is a workbook whatever its name is answered as WorkbookAdvice does.
QString ImportFailureMessage(const RunError& error);

}  // namespace torvane
