#include "report/text_table.h"

#include <algorithm>

#include "batch/text_encoding.h"

namespace torvane {

std::string FormatTable(const std::vector<std::vector<std::string>>& rows,
                        std::size_t left_columns) {
  std::vector<std::size_t> widths;
  for (const auto& row : rows) {
    if (widths.size() < row.size()) widths.resize(row.size(), 0);
    for (std::size_t c = 0; c < row.size(); ++c) {
      widths[c] = std::max(widths[c], DisplayWidth(row[c], TextEncoding::kUtf8));
    }
  }
  std::string text;
  for (const auto& row : rows) {
    std::string line;
    for (std::size_t c = 0; c < row.size(); ++c) {
      if (c > 0) line.append(2, ' ');
      const std::size_t pad = widths[c] - DisplayWidth(row[c], TextEncoding::kUtf8);
      if (c >= left_columns) line.append(pad, ' ');
      line += row[c];
      if (c < left_columns) line.append(pad, ' ');
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    text += line;
    text += '\n';
  }
  return text;
}

}  // namespace torvane
