#include "desktop/plain_glyphs.h"

#include <QFont>

namespace torvane {
namespace {

// Characters drawn as one glyph each, in logical order, whatever their
// neighbours: no marks, no joining or right-to-left scripts, no controls,
// and not the soft hyphen, which Qt does not draw.
bool IsPlain(char16_t c) {
  return (c >= 0x20 && c <= 0x7e) ||               // ASCII
         (c >= 0xa0 && c <= 0xff && c != 0xad) ||  // Latin-1
         (c >= 0x3000 && c <= 0x303f) ||           // CJK punctuation
         (c >= 0x4e00 && c <= 0x9fff) ||           // CJK ideographs
         (c >= 0xff01 && c <= 0xff5e);             // full-width forms
}

}  // namespace

PlainGlyphs::PlainGlyphs(const QFont& font) : raw_(QRawFont::fromFont(font)) {}

bool PlainGlyphs::Glyphs(const QString& text, QList<quint32>& glyphs,
                         QList<QPointF>& advances) const {
  for (QChar c : text) {
    if (!IsPlain(c.unicode())) return false;
  }
  if (!raw_.isValid()) return false;
  glyphs = raw_.glyphIndexesForString(text);
  if (glyphs.size() != text.size() || glyphs.contains(0u)) return false;
  advances = raw_.advancesForGlyphIndexes(glyphs, QRawFont::SeparateAdvances);
  return advances.size() == glyphs.size();
}

std::optional<double> PlainGlyphs::Width(const QString& text) const {
  QList<quint32> glyphs;
  QList<QPointF> advances;
  if (!Glyphs(text, glyphs, advances)) return std::nullopt;
  double width = 0;
  for (const QPointF& advance : advances) width += advance.x();
  return width;
}

std::optional<double> PlainGlyphs::Append(const QString& text, QPointF origin,
                                          QList<quint32>& glyphs, QList<QPointF>& positions) const {
  QList<quint32> own;
  QList<QPointF> advances;
  if (!Glyphs(text, own, advances)) return std::nullopt;
  glyphs += own;
  const double left = origin.x();
  for (const QPointF& advance : advances) {
    positions << origin;
    origin += advance;
  }
  return origin.x() - left;
}

}  // namespace torvane
