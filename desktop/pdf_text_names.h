// The names a PDF written by Qt gives its glyphs, corrected. Qt's writer
// names each glyph, in the ToUnicode map of its font, by the lowest code
// point mapping to it; where a font draws an ideograph with a radical's
// glyph, text copied, searched or read from the PDF has the radical.
#pragma once

#include <QByteArray>
#include <QHash>

namespace torvane {

// Renames in `pdf`'s ToUnicode maps, as Qt writes them (uncompressed
// bfrange lists of four hexadecimal digits), each code point that
// `names` holds to its value: in place, digit for digit, so that every
// length and offset of the file stays. A code that starts a range of
// consecutive code points is left as it is. Other bytes are untouched.
void RenameGlyphs(QByteArray& pdf, const QHash<char16_t, char16_t>& names);

}  // namespace torvane
