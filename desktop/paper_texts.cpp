#include "desktop/paper_texts.h"

#include <cassert>

namespace torvane {
namespace {

// The bytes of the UTF-8 sequence that starts with `lead`: 1 for ASCII and
// for a byte that starts none.
std::size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead < 0xF8) return 4;
  if (lead >= 0xE0) return lead < 0xF0 ? 3 : 1;
  if (lead >= 0xC0) return 2;
  return 1;
}

void Cut(std::string& text, std::size_t limit) { text = CutForPaper(text, limit); }

void Cut(ReportFigure& figure) {
  Cut(figure.label, kPaperFieldLimit);
  Cut(figure.value, kPaperFieldLimit);
  Cut(figure.unit, kPaperFieldLimit);
}

}  // namespace

std::string CutForPaper(const std::string& utf8, std::size_t limit) {
  assert(limit >= 1);
  std::size_t at = 0;
  std::size_t characters = 0;
  std::size_t kept = 0;  // the bytes of the first limit - 1 characters
  while (at < utf8.size()) {
    if (characters == limit - 1) kept = at;
    if (++characters > limit) return utf8.substr(0, kept) + "…";
    at += SequenceLength(static_cast<unsigned char>(utf8[at]));
  }
  return utf8;
}

CalibrationDocument PaperDocument(CalibrationDocument document) {
  Cut(document.title, kPaperFieldLimit);
  for (auto* figures :
       {&document.title_block, &document.parameters, &document.inverse, &document.statistics}) {
    for (ReportFigure& figure : *figures) Cut(figure);
  }
  for (std::string& formula : document.formulas) Cut(formula, kPaperParagraphLimit);
  for (ReportRow& row : document.rows) {
    for (std::string* cell : {&row.role, &row.name, &row.dx, &row.dy, &row.length, &row.wx, &row.wy,
                              &row.left_out, &row.tx, &row.ty, &row.f}) {
      Cut(*cell, kPaperFieldLimit);
    }
  }
  for (std::string& warning : document.warnings) Cut(warning, kPaperParagraphLimit);
  for (PlotPoint& point : document.plot.points) Cut(point.name, kPaperFieldLimit);
  for (ReportFile& file : document.files) Cut(file.name, kPaperParagraphLimit);
  return document;
}

}  // namespace torvane
