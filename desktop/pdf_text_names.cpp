#include "desktop/pdf_text_names.h"

namespace torvane {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The code of "<hhhh>" at `at`, or -1.
int CodeAt(const QByteArray& pdf, qsizetype at) {
  if (at + 6 > pdf.size() || pdf[at] != '<' || pdf[at + 5] != '>') return -1;
  int code = 0;
  for (int i = 1; i <= 4; ++i) {
    const int digit = HexDigit(pdf[at + i]);
    if (digit < 0) return -1;
    code = code * 16 + digit;
  }
  return code;
}

void Rename(QByteArray& pdf, qsizetype at, const QHash<char16_t, char16_t>& names) {
  const int code = CodeAt(pdf, at);
  if (code < 0) return;
  const auto found = names.constFind(static_cast<char16_t>(code));
  if (found == names.constEnd()) return;
  static const char kDigits[] = "0123456789ABCDEF";
  for (int i = 0; i < 4; ++i) pdf[at + 4 - i] = kDigits[(found.value() >> (4 * i)) & 0xF];
}

}  // namespace

void RenameGlyphs(QByteArray& pdf, const QHash<char16_t, char16_t>& names) {
  if (names.isEmpty()) return;
  qsizetype from = 0;
  while (true) {
    const qsizetype begin = pdf.indexOf("beginbfrange\n", from);
    if (begin < 0) return;
    const qsizetype end = pdf.indexOf("endbfrange", begin);
    if (end < 0) return;
    // Lines "<first> <last> <code>" and "<first> <last> [<code> <code> ...]".
    qsizetype line = begin + 13;
    while (line < end) {
      qsizetype next = pdf.indexOf('\n', line);
      if (next < 0 || next > end) next = end;
      const qsizetype list = line + 14;
      if (list < next && pdf[list] == '[') {
        for (qsizetype at = list + 1; at + 6 <= next; at += 7) Rename(pdf, at, names);
      } else if (CodeAt(pdf, line) >= 0 && CodeAt(pdf, line) == CodeAt(pdf, line + 7)) {
        Rename(pdf, list, names);
      }
      line = next + 1;
    }
    from = end;
  }
}

}  // namespace torvane
