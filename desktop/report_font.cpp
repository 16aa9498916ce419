#include "desktop/report_font.h"

#include <QFont>
#include <QFontDatabase>
#include <QList>
#include <QRawFont>
#include <QStringList>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "desktop/chinese_ui.h"

namespace torvane {
namespace {

// The blocks a report writes in, first to last code point.
constexpr char16_t kReportBlocks[][2] = {
    {0x0021, 0x007E}, {0x3000, 0x303F}, {0x4E00, 0x9FFF}, {0xFF01, 0xFF5E}};

QString BasicPlane() {
  QString all;
  all.reserve(0x10000);
  for (char32_t c = 1; c < 0x10000; ++c) {
    if (c < 0xD800 || c > 0xDFFF) all.append(QChar(static_cast<char16_t>(c)));
  }
  return all;
}

bool IsRadical(char16_t c) { return c >= 0x2E80 && c <= 0x2FDF; }

// Each character of the report's blocks that `font` has, in order, with
// the lowest code point of the plane mapping to its glyph, which names the
// glyph in the PDF.
std::vector<std::pair<char16_t, char16_t>> LowestNames(const QRawFont& font) {
  std::vector<std::pair<char16_t, char16_t>> names;
  if (!font.isValid()) return names;
  const QString plane = BasicPlane();
  const QList<quint32> glyphs = font.glyphIndexesForString(plane);
  std::unordered_map<quint32, char16_t> lowest;
  for (qsizetype i = 0; i < plane.size() && i < glyphs.size(); ++i) {
    if (glyphs[i] != 0) lowest.try_emplace(glyphs[i], plane[i].unicode());
  }
  for (qsizetype i = 0; i < plane.size() && i < glyphs.size(); ++i) {
    const char16_t c = plane[i].unicode();
    bool reported = false;
    for (const auto& block : kReportBlocks) reported = reported || (c >= block[0] && c <= block[1]);
    if (reported && glyphs[i] != 0) names.emplace_back(c, lowest.at(glyphs[i]));
  }
  return names;
}

QFont FaceOf(const QString& family, bool bold) {
  QFont font;
  font.setFamilies({family});
  font.setBold(bold);
  return font;
}

bool ReadsBack(const QString& family, QString* misnamed) {
  for (const bool bold : {false, true}) {
    const QString found = MisnamedCharacters(QRawFont::fromFont(FaceOf(family, bold)));
    if (!found.isEmpty()) {
      *misnamed = found;
      return false;
    }
  }
  return true;
}

ReportFont FontOf(const QString& family, std::string warning) {
  ReportFont font{family, {}, std::move(warning)};
  for (const bool bold : {false, true}) {
    font.radical_names.insert(RadicalNames(QRawFont::fromFont(FaceOf(family, bold))));
  }
  return font;
}

ReportFont Choose(const QStringList& candidates) {
  QString first_misnamed;
  for (const QString& family : candidates) {
    QString misnamed;
    if (ReadsBack(family, &misnamed)) return FontOf(family, {});
    if (first_misnamed.isEmpty()) first_misnamed = misnamed;
  }
  return FontOf(
      candidates.front(),
      "字体“" + candidates.front().toStdString() + "”把 " +
          QString::number(first_misnamed.size()).toStdString() + " 个字（如“" +
          first_misnamed.left(8).toStdString() +
          "”）与更前的字符共用字形，PDF 中复制或搜索到的将是那些字符；安装 fonts-wqy-microhei "
          "可免此误。");
}

}  // namespace

QString MisnamedCharacters(const QRawFont& font) {
  QString misnamed;
  for (const auto& [c, lowest] : LowestNames(font)) {
    if (c != lowest && !IsRadical(lowest)) misnamed.append(QChar(c));
  }
  return misnamed;
}

QHash<char16_t, char16_t> RadicalNames(const QRawFont& font) {
  QHash<char16_t, char16_t> names;
  for (const auto& [c, lowest] : LowestNames(font)) {
    if (c != lowest && IsRadical(lowest)) names.insert(lowest, c);
  }
  return names;
}

Expected<ReportFont> ChooseReportFont() {
  const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
  QStringList candidates;
  const QString usual = ChineseInterfaceFamily(QString(), chinese, InstalledFamily);
  if (!usual.isEmpty()) candidates << usual;
  for (const char* name :
       {"Microsoft YaHei UI", "Microsoft YaHei", "PingFang SC", "WenQuanYi Micro Hei",
        "WenQuanYi Zen Hei", "SimSun", "SimHei", "Noto Sans CJK SC", "Source Han Sans SC"}) {
    const QString family = InstalledFamily(QString::fromUtf8(name));
    if (chinese.contains(family) && !candidates.contains(family)) candidates << family;
  }
  for (const QString& family : chinese) {
    if (!candidates.contains(family)) candidates << family;
  }
  if (candidates.isEmpty()) {
    return Fail(MissingChineseFontMessage().toStdString() + "\nPDF 报告未写出。");
  }
  // The faces' character maps are read through once for the same fonts
  // installed: a report asks before it starts, to lay out and to name.
  static std::mutex mutex;
  static QStringList chosen_among;
  static std::optional<ReportFont> chosen;
  const std::lock_guard lock(mutex);
  if (!chosen || chosen_among != candidates) {
    chosen = Choose(candidates);
    chosen_among = candidates;
  }
  return *chosen;
}

}  // namespace torvane
