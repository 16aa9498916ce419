// The calibration report's texts as paper shows them: each cut to a length
// a page can hold, so that a point, site or operator named with megabytes
// (a damaged or hostile project) is laid out in bounded time, and marked
// where it was cut. The HTML keeps every text whole.
#pragma once

#include <cstddef>
#include <string>

#include "report/calibration_document.h"

namespace torvane {

// The longest a name, a figure or a table's cell is shown on paper, in
// characters (code points): longer ones are cut and end in "…".
inline constexpr std::size_t kPaperFieldLimit = 100;
// The longest a sentence, a formula or a file's name is shown on paper.
inline constexpr std::size_t kPaperParagraphLimit = 1000;

// `utf8` whole when it has at most `limit` characters; otherwise its first
// `limit` - 1 characters and "…". Bytes that are not UTF-8 count one each
// and are kept as they are. `limit` is at least 1.
std::string CutForPaper(const std::string& utf8, std::size_t limit);

// `document` with every text CutForPaper: the title, figures, table cells
// and point names at kPaperFieldLimit, the formulas, warnings and file
// names at kPaperParagraphLimit; numbers and hashes are never that long.
CalibrationDocument PaperDocument(CalibrationDocument document);

}  // namespace torvane
