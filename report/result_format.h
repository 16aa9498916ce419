// The formats a conversion run can write its result in, and the one place
// that chooses the writer of a format. A new format is a writer in a file
// of its own (as result_table.cpp), a value here and its case in
// MakeResultWriter.
#pragma once

#include <memory>

#include "batch/point_layout.h"
#include "batch/result_writer.h"
#include "report/coordinate_text.h"

namespace torvane {

enum class ResultFormat {
  kTable,  // the fixed-column table the window writes (result_table.h)
  kCsv,    // CSV in the point file's columns (result_csv.h)
  kJson,   // an array of point objects, for scripts (result_json.h)
};

// The decimals of X and Y in CSV and JSON unless asked for others: the
// table's.
inline constexpr int kDefaultResultDecimals = 5;

// The writer of `format`. `decimals` (0 to kMaxResultDecimals) are those of
// X and Y in CSV and JSON; the table always has five. CSV writes the
// columns of `layout`, the point file's, after a line naming them with
// `csv_header` (MakeCsvWriter); the other formats have no such line.
std::unique_ptr<ResultWriter> MakeResultWriter(ResultFormat format, int decimals,
                                               const PointLayout& layout, bool csv_header = false);

}  // namespace torvane
