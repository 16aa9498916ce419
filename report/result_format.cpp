#include "report/result_format.h"

#include <cassert>

#include "report/result_csv.h"
#include "report/result_json.h"
#include "report/result_table.h"

namespace torvane {

std::unique_ptr<ResultWriter> MakeResultWriter(ResultFormat format, int decimals,
                                               const PointLayout& layout, bool csv_header) {
  assert(decimals >= 0 && decimals <= kMaxResultDecimals);
  switch (format) {
    case ResultFormat::kTable:
      return MakeTableWriter();
    case ResultFormat::kCsv:
      return MakeCsvWriter(layout.fields, decimals, csv_header);
    case ResultFormat::kJson:
      return MakeJsonWriter(decimals);
  }
  assert(false && "a format without a writer");
  return MakeTableWriter();
}

}  // namespace torvane
