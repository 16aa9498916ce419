// The Chinese font the calibration report's PDF is written in, chosen so
// that the PDF's text reads back as the text drawn. Qt's PDF writer names
// each glyph by the lowest code point of the Basic Multilingual Plane that
// the font maps to it; a font that gives an ideograph the glyph of a lower
// code point (Noto Sans CJK draws 工 with the glyph of the Kangxi radical
// ⼯, U+2F2F) makes a PDF that looks right but reads back, is searched and
// is copied from as that other character.
#pragma once

#include <QHash>
#include <QString>
#include <string>

#include "base/expected.h"

class QRawFont;

namespace torvane {

// The characters a report may write that `font` misnames: those of
// printable ASCII, CJK punctuation (U+3000–U+303F), the CJK Unified
// Ideographs (U+4E00–U+9FFF) and the full-width forms (U+FF01–U+FF5E) that
// the font has and whose glyph a lower code point also maps to, other than
// a radical that RadicalNames renames. Empty: every such character reads
// back as itself.
QString MisnamedCharacters(const QRawFont& font);

// The radicals (U+2E80–U+2FDF) of `font` that are the lowest code point of
// an ideograph's glyph, each with that ideograph: the names the PDF's text
// should give instead (desktop/pdf_text_names.h). A report writes no
// radicals, only ideographs.
QHash<char16_t, char16_t> RadicalNames(const QRawFont& font);

struct ReportFont {
  QString family;
  // RadicalNames of its regular and bold faces.
  QHash<char16_t, char16_t> radical_names;
  // Empty, or why the PDF's text will not read back as drawn (no font
  // installed whose characters read back): to be shown beside the report.
  std::string warning;
};

// The report's family: the first of the usual Simplified Chinese fonts
// (ChineseInterfaceFamily's order, then any other installed) whose regular
// and bold faces misname no character; failing that, the first installed
// with a warning naming the characters. Rejects, with a message naming the
// Debian packages to install, a system with no Simplified Chinese font,
// whose report would be boxes. Needs the application object.
Expected<ReportFont> ChooseReportFont();

}  // namespace torvane
