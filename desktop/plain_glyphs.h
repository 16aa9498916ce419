// Texts a font draws entirely with its own glyphs, one per character as
// its character map gives them, laid out by its advances alone: what Qt
// lays out for a font with QFont::PreferNoShaping and no kerning, without
// Qt's text layout. The report's tables are thousands of such cells
// (figures and point names); drawing a row of them as one glyph run writes
// a PDF page a third smaller, and measuring them takes a table look-up.
#pragma once

#include <QList>
#include <QPointF>
#include <QRawFont>
#include <QString>
#include <optional>

class QFont;

namespace torvane {

class PlainGlyphs {
 public:
  // `font`'s own face, at its pixel size.
  explicit PlainGlyphs(const QFont& font);

  const QRawFont& raw() const { return raw_; }

  // The advance of `text` in the font's pixels; nothing when the text is
  // not plain: a character outside printable ASCII, Latin-1, CJK
  // punctuation, the CJK Unified Ideographs and the full-width forms (where
  // Qt would shape, reorder or combine), or one the face has no glyph for
  // (where Qt would take another font's).
  std::optional<double> Width(const QString& text) const;

  // Appends `text`'s glyphs, the first on `origin` (its baseline's left
  // end, in pixels), to `glyphs` and `positions` and returns its advance;
  // nothing, with nothing appended, when the text is not plain.
  std::optional<double> Append(const QString& text, QPointF origin, QList<quint32>& glyphs,
                               QList<QPointF>& positions) const;

 private:
  bool Glyphs(const QString& text, QList<quint32>& glyphs, QList<QPointF>& advances) const;

  QRawFont raw_;
};

}  // namespace torvane
