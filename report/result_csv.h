// The result as CSV: one line a point, in the columns the point file was
// read by, with the converted X and Y, so that the result reads back as a
// point file of the same layout (separated by commas).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "batch/point_file.h"
#include "batch/point_layout.h"
#include "batch/result_writer.h"
#include "params/transform.h"

namespace torvane {

// Appends the line of `point`, converted to `converted`, to `out`: for
// each of `columns`, the name, the code and H as their texts, X and Y as
// CoordinateText (coordinate_text.h), and nothing for a skipped field (a
// height a run shifted is its exact decimal text, see PointRecord);
// separated by commas, ended by CR LF as the table is. A text holding a comma or a double quote
// is written in double quotes, its quotes doubled, as CSV has it.
void AppendCsvLine(std::string& out, const PointRecord& point, PlanePoint converted,
                   const std::vector<PointField>& columns, std::string_view pattern);

// The writer of CSV: AppendCsvLine in `columns`, X and Y with `decimals`
// decimals (0 to kMaxResultDecimals); extension ".csv", in the point
// file's encoding. With `header`, a first line names the columns as
// --columns does ("name,x,y,h"), for programs that take the first line
// for the columns' names; `convert --skip-lines=1` reads the result back.
std::unique_ptr<ResultWriter> MakeCsvWriter(std::vector<PointField> columns, int decimals,
                                            bool header = false);

}  // namespace torvane
