#include "desktop/calibration_pages.h"

#include <QColor>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QStringList>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>
#include <cassert>
#include <functional>
#include <vector>

#include "desktop/chinese_ui.h"
#include "desktop/report_font.h"
#include "desktop/site_plot.h"
#include "fit/fit_report.h"

namespace torvane {
namespace {

// The painter's unit is the point (1/72 inch) throughout; fonts are sized
// in it by their pixel size, which the painter's scale makes points.
constexpr int kTitleSize = 16;
constexpr int kHeadingSize = 11;
constexpr int kBodySize = 9;
constexpr int kHashSize = 7;  // the SHA-256's 64 digits in a line of the page
constexpr int kFootSize = 8;
constexpr double kLineFactor = 1.45;  // a line's height over its font's size
constexpr double kColumnGap = 8;      // between a table's columns
constexpr double kSectionGap = 12;    // above a section's heading
constexpr double kFootHeight = 22;    // the page number's strip at the foot
// The plot's painter units are pixels at 96 dpi (desktop/site_plot.h).
constexpr double kPointsPerPlotUnit = 72.0 / 96.0;
constexpr double kPlotAspect = 0.8;  // height over width

const QColor kTextColour(0x20, 0x20, 0x20);
const QColor kMarkedColour(0xc8, 0x00, 0x00);  // points beyond 2×RMS, likely blunders
const QColor kRuleColour(0x70, 0x70, 0x70);

QFont FontOf(const QString& family, int size, bool bold = false) {
  QFont font;
  if (!family.isEmpty()) font.setFamilies({family});
  font.setPixelSize(size);
  font.setBold(bold);
  // The same advances on paper as measured here, whatever the device.
  font.setHintingPreference(QFont::PreferNoHinting);
  // Each character its own glyph, the one the font's character map gives:
  // the PDF names glyphs by that map, and a glyph a font substitutes in
  // context (Noto Sans CJK's digits after a letter) would have no name.
  font.setStyleStrategy(QFont::PreferNoShaping);
  return font;
}

// The hash's font: a monospace one, so that its digits stand in columns.
QString MonospaceFamily() {
  for (const char* name : {"Consolas", "DejaVu Sans Mono", "Noto Sans Mono", "Liberation Mono",
                           "WenQuanYi Micro Hei Mono", "Courier New"}) {
    const QString family = InstalledFamily(QString::fromUtf8(name));
    if (!family.isEmpty()) return family;
  }
  return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

struct Fonts {
  QFont title, heading, body, bold, hash, foot;
};

Fonts ReportFonts() {
  const QString family = ReportFamily();
  return {FontOf(family, kTitleSize, true),
          FontOf(family, kHeadingSize, true),
          FontOf(family, kBodySize),
          FontOf(family, kBodySize, true),
          FontOf(MonospaceFamily(), kHashSize),
          FontOf(family, kFootSize)};
}

double LineHeight(const QFont& font) { return font.pixelSize() * kLineFactor; }

double WidthOf(const QFont& font, const QString& text) {
  return QFontMetricsF(font).horizontalAdvance(text);
}

// `text` in lines no wider than `width` points: broken at spaces and
// between Chinese characters where it can, inside a word (a long file
// name) where it must, and at every line feed. At least one line.
QStringList Wrapped(const QString& text, const QFont& font, double width) {
  QStringList lines;
  for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
    QTextLayout layout(paragraph, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    const qsizetype before = lines.size();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(std::max(width, 1.0));
      QString piece = paragraph.mid(line.textStart(), line.textLength());
      while (piece.endsWith(QLatin1Char(' '))) piece.chop(1);
      lines << piece;
    }
    layout.endLayout();
    if (lines.size() == before) lines << QString();
  }
  return lines;
}

// Where the next block goes, page by page. Run twice: once without a
// painter to count the pages, then painting with their number known.
class Pager {
 public:
  Pager(QPainter* painter, QPagedPaintDevice& device, QSizeF area, const Fonts& fonts,
        int total_pages)
      : painter_(painter),
        device_(device),
        area_(area),
        fonts_(fonts),
        total_(total_pages),
        bottom_(area.height() - kFootHeight) {}

  QPainter* painter() const { return painter_; }
  double width() const { return area_.width(); }
  double y() const { return y_; }
  int pages() const { return page_; }
  // The room a whole page gives a block.
  double PageRoom() const { return bottom_; }

  // Room for `height` points below the cursor; else the block goes on a
  // new page, below the heading repeated there. A block taller than a
  // page stays where it is at the top of one.
  void Need(double height) {
    if (y_ + height <= bottom_ || y_ <= page_top_) return;
    NewPage();
  }
  void Advance(double height) { y_ += height; }
  // What heads every page the current table goes on to; none to end it.
  void SetContinuation(std::function<void()> heading) { continuation_ = std::move(heading); }

  // Text with its top at `top`, from `x` (left) or ending at `x` (right).
  void Text(const QFont& font, double x, double top, const QString& text,
            const QColor& colour = kTextColour, bool right = false) {
    if (!painter_) return;
    const QFontMetricsF metrics(font);
    painter_->setFont(font);
    painter_->setPen(colour);
    const double left = right ? x - metrics.horizontalAdvance(text) : x;
    const double baseline = top + (LineHeight(font) - metrics.height()) / 2 + metrics.ascent();
    painter_->drawText(QPointF(left, baseline), text);
  }
  void Rule(double y, double from, double to, double width = 0.5) {
    if (!painter_) return;
    painter_->setPen(QPen(kRuleColour, width));
    painter_->drawLine(QPointF(from, y), QPointF(to, y));
  }

  void Finish() { Foot(); }

 private:
  void NewPage() {
    Foot();
    if (painter_) device_.newPage();
    ++page_;
    y_ = 0;
    if (continuation_) continuation_();
    page_top_ = y_;
  }
  void Foot() {
    const QString text = QStringLiteral("第 %1 页 / 共 %2 页").arg(page_).arg(total_);
    Rule(area_.height() - kFootHeight + 6, 0, area_.width(), 0.3);
    const double width = WidthOf(fonts_.foot, text);
    Text(fonts_.foot, (area_.width() - width) / 2, area_.height() - LineHeight(fonts_.foot), text);
  }

  QPainter* painter_;
  QPagedPaintDevice& device_;
  QSizeF area_;
  const Fonts& fonts_;
  int total_;
  double bottom_;
  int page_ = 1;
  double y_ = 0;
  double page_top_ = 0;
  std::function<void()> continuation_;
};

void Heading(Pager& pager, const Fonts& fonts, const QString& text, double room_after) {
  const double height = kSectionGap + LineHeight(fonts.heading);
  pager.Need(height + room_after);
  if (pager.y() > 0) pager.Advance(kSectionGap);
  pager.Text(fonts.heading, 0, pager.y(), text);
  pager.Advance(LineHeight(fonts.heading));
}

void Paragraphs(Pager& pager, const Fonts& fonts, const std::vector<std::string>& texts,
                const QString& bullet) {
  const double indent = WidthOf(fonts.body, bullet);
  const double line = LineHeight(fonts.body);
  for (const std::string& text : texts) {
    const QStringList lines =
        Wrapped(QString::fromStdString(text), fonts.body, pager.width() - indent);
    for (qsizetype i = 0; i < lines.size(); ++i) {
      pager.Need(line);
      if (i == 0) pager.Text(fonts.body, 0, pager.y(), bullet);
      pager.Text(fonts.body, indent, pager.y(), lines[i]);
      pager.Advance(line);
    }
  }
}

// Label, then value and unit; a label or value too wide for its column
// goes on over further lines, the unit after the value's last line.
void Figures(Pager& pager, const Fonts& fonts, const std::vector<ReportFigure>& figures) {
  double label_width = 0;
  for (const ReportFigure& figure : figures) {
    label_width = std::max(label_width, WidthOf(fonts.body, QString::fromStdString(figure.label)));
  }
  label_width = std::min(label_width, pager.width() / 3);
  const double value_x = label_width + kColumnGap;
  const double unit_gap = WidthOf(fonts.body, QStringLiteral(" "));
  const double line = LineHeight(fonts.body);
  for (const ReportFigure& figure : figures) {
    const QString unit = QString::fromStdString(figure.unit);
    const double unit_width = unit.isEmpty() ? 0 : unit_gap + WidthOf(fonts.body, unit);
    const QStringList labels =
        Wrapped(QString::fromStdString(figure.label), fonts.body, label_width);
    const QStringList values = Wrapped(QString::fromStdString(figure.value), fonts.body,
                                       pager.width() - value_x - unit_width);
    const qsizetype lines = std::max(labels.size(), values.size());
    pager.Need(line * static_cast<double>(lines));
    for (qsizetype i = 0; i < lines; ++i) {
      const double top = pager.y() + line * static_cast<double>(i);
      if (i < labels.size()) pager.Text(fonts.body, 0, top, labels[i]);
      if (i < values.size()) pager.Text(fonts.body, value_x, top, values[i]);
    }
    if (!unit.isEmpty()) {
      pager.Text(fonts.body, value_x + WidthOf(fonts.body, values.back()) + unit_gap,
                 pager.y() + line * static_cast<double>(values.size() - 1), unit);
    }
    pager.Advance(line * static_cast<double>(lines));
  }
}

// The residual table: every point's role, name, residual, standardized
// residual, and its miss, tX, tY and F when left out; a point beyond 2×RMS,
// with |w| beyond the blunder limit or named by the blunder test in red,
// marked so in the last column for a print in black.
void Residuals(Pager& pager, const Fonts& fonts, const std::vector<ReportRow>& rows) {
  struct Column {
    QString heading;
    bool right;  // numbers to the right
    double width = 0, x = 0;
  };
  std::vector<Column> columns = {
      {QStringLiteral("类别"), false},     {QStringLiteral("点名"), false},
      {QStringLiteral("dX (mm)"), true},   {QStringLiteral("dY (mm)"), true},
      {QStringLiteral("长度 (mm)"), true}, {QStringLiteral("wX"), true},
      {QStringLiteral("wY"), true},        {QStringLiteral("剔除后不符 (mm)"), true},
      {QStringLiteral("tX"), true},        {QStringLiteral("tY"), true},
      {QStringLiteral("F"), true},         {QStringLiteral("标记"), false}};
  const QString beyond = QStringLiteral("> 2×RMS");
  const QString blunder = QStringLiteral("|w| > %1").arg(kBlunderLimit);
  const QString tested = QStringLiteral("粗差");
  const auto cells = [&](const ReportRow& row) {
    QStringList mark;
    if (row.beyond_limit) mark << beyond;
    if (row.blunder) mark << blunder;
    if (row.tested_blunder) mark << tested;
    return QStringList{QString::fromStdString(row.role),   QString::fromStdString(row.name),
                       QString::fromStdString(row.dx),     QString::fromStdString(row.dy),
                       QString::fromStdString(row.length), QString::fromStdString(row.wx),
                       QString::fromStdString(row.wy),     QString::fromStdString(row.left_out),
                       QString::fromStdString(row.tx),     QString::fromStdString(row.ty),
                       QString::fromStdString(row.f),      mark.join(QLatin1Char(' '))};
  };
  for (Column& column : columns) column.width = WidthOf(fonts.bold, column.heading);
  for (const ReportRow& row : rows) {
    const QStringList texts = cells(row);
    for (std::size_t c = 0; c < columns.size(); ++c) {
      columns[c].width =
          std::max(columns[c].width, WidthOf(fonts.body, texts[static_cast<qsizetype>(c)]));
    }
  }
  // A name too long for what the other columns leave goes on over lines.
  double others = 0;
  for (std::size_t c = 0; c < columns.size(); ++c) {
    if (c != 1) others += columns[c].width;
  }
  const double gaps = kColumnGap * static_cast<double>(columns.size() - 1);
  columns[1].width =
      std::max(std::min(columns[1].width, pager.width() - others - gaps), pager.width() / 8);
  double x = 0;
  for (Column& column : columns) {
    column.x = x;
    x += column.width + kColumnGap;
  }
  const double line = LineHeight(fonts.body);
  const auto draw = [&](const Column& column, const QFont& font, double top, const QString& text,
                        const QColor& colour) {
    pager.Text(font, column.right ? column.x + column.width : column.x, top, text, colour,
               column.right);
  };
  const auto heading = [&] {
    for (const Column& column : columns)
      draw(column, fonts.bold, pager.y(), column.heading, kTextColour);
    pager.Advance(line);
    pager.Rule(pager.y(), 0, x - kColumnGap);
  };
  const auto continued = [&] {
    pager.Text(fonts.heading, 0, pager.y(), QStringLiteral("公共点残差（续）"));
    pager.Advance(LineHeight(fonts.heading));
    heading();
  };
  heading();
  pager.SetContinuation(continued);
  for (const ReportRow& row : rows) {
    const QStringList texts = cells(row);
    const QStringList names = Wrapped(texts[1], fonts.body, columns[1].width);
    const double height = line * static_cast<double>(names.size());
    pager.Need(height);
    const QColor colour =
        row.beyond_limit || row.blunder || row.tested_blunder ? kMarkedColour : kTextColour;
    for (std::size_t c = 0; c < columns.size(); ++c) {
      if (c == 1) {
        for (qsizetype i = 0; i < names.size(); ++i) {
          draw(columns[c], fonts.body, pager.y() + line * static_cast<double>(i), names[i], colour);
        }
      } else {
        draw(columns[c], fonts.body, pager.y(), texts[static_cast<qsizetype>(c)], colour);
      }
    }
    pager.Advance(height);
  }
  pager.SetContinuation(nullptr);
  pager.Rule(pager.y(), 0, x - kColumnGap);
}

void Plot(Pager& pager, const Fonts& fonts, const SitePlot& plot) {
  const double width = pager.width();
  const double height =
      std::min(width * kPlotAspect, pager.PageRoom() - kSectionGap - LineHeight(fonts.heading));
  Heading(pager, fonts, QStringLiteral("点位分布图"), height);
  if (QPainter* painter = pager.painter()) {
    painter->save();
    painter->translate(0, pager.y());
    painter->save();
    painter->scale(kPointsPerPlotUnit, kPointsPerPlotUnit);
    painter->setFont(fonts.body);
    const QSizeF size(width / kPointsPerPlotUnit, height / kPointsPerPlotUnit);
    PaintSitePlot(*painter, size, plot, FitView(plot, ToPlot(size)));
    painter->restore();
    painter->setPen(QPen(kRuleColour, 0.5));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(QRectF(0, 0, width, height));
    painter->restore();
  }
  pager.Advance(height);
}

// Every input file: its name, its size, and its SHA-256 in a smaller
// monospace font, so that the 64 digits fit a line.
void Files(Pager& pager, const Fonts& fonts, const std::vector<ReportFile>& files) {
  const double line = LineHeight(fonts.body);
  const double hash_line = LineHeight(fonts.hash) + 2;
  const QString label = QStringLiteral("SHA-256 ");
  const double label_width = WidthOf(fonts.body, label);
  for (const ReportFile& file : files) {
    const QString size = QStringLiteral("%1 字节").arg(file.size);
    const double size_width = WidthOf(fonts.body, size);
    const QStringList names = Wrapped(QString::fromStdString(file.name), fonts.body,
                                      pager.width() - size_width - kColumnGap);
    const QStringList hashes =
        Wrapped(QString::fromStdString(file.sha256), fonts.hash, pager.width() - label_width);
    pager.Need(line * static_cast<double>(names.size()) +
               hash_line * static_cast<double>(hashes.size()));
    pager.Text(fonts.body, pager.width(), pager.y(), size, kTextColour, true);
    for (const QString& name : names) {
      pager.Text(fonts.body, 0, pager.y(), name);
      pager.Advance(line);
    }
    pager.Text(fonts.body, 0, pager.y(), label);
    for (const QString& hash : hashes) {
      pager.Text(fonts.hash, label_width, pager.y() + (line - LineHeight(fonts.hash)) / 2, hash);
      pager.Advance(hash_line);
    }
  }
}

void Lay(Pager& pager, const Fonts& fonts, const CalibrationDocument& document) {
  const QString title = QString::fromStdString(document.title);
  pager.Text(fonts.title, (pager.width() - WidthOf(fonts.title, title)) / 2, 0, title);
  pager.Advance(LineHeight(fonts.title) + 4);
  Figures(pager, fonts, document.title_block);
  const double line = LineHeight(fonts.body);
  const std::vector<std::string> none = {"无"};
  Heading(pager, fonts, QStringLiteral("转换参数"), line);
  Figures(pager, fonts, document.parameters);
  if (!document.formulas.empty()) {
    Heading(pager, fonts, QStringLiteral("转换公式"), line);
    Paragraphs(pager, fonts, document.formulas, QString());
  }
  if (!document.inverse.empty()) {
    Heading(pager, fonts, QStringLiteral("反算参数"), line);
    Figures(pager, fonts, document.inverse);
  }
  Heading(pager, fonts, QStringLiteral("公共点残差"), 3 * line);
  Residuals(pager, fonts, document.rows);
  Heading(pager, fonts, QStringLiteral("精度统计"), line);
  Figures(pager, fonts, document.statistics);
  Heading(pager, fonts, QStringLiteral("警告"), line);
  if (document.warnings.empty()) {
    Paragraphs(pager, fonts, none, QString());
  } else {
    Paragraphs(pager, fonts, document.warnings, QStringLiteral("· "));
  }
  Plot(pager, fonts, document.plot);
  Heading(pager, fonts, QStringLiteral("输入文件"), 2 * line);
  if (document.files.empty()) Paragraphs(pager, fonts, none, QString());
  Files(pager, fonts, document.files);
  pager.Finish();
}

}  // namespace

QString ReportFamily() {
  const auto font = ChooseReportFont();
  return font ? font->family : QString();
}

int PaintCalibrationPages(QPagedPaintDevice& device, const CalibrationDocument& document) {
  const QMarginsF margins(kReportMarginMm, kReportMarginMm, kReportMarginMm, kReportMarginMm);
  device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, margins,
                                   QPageLayout::Millimeter));
  const QSizeF area = device.pageLayout().paintRect(QPageLayout::Point).size();
  const Fonts fonts = ReportFonts();
  Pager count(nullptr, device, area, fonts, 0);
  Lay(count, fonts, document);

  QPainter painter;
  if (!painter.begin(&device)) return 0;
  // Points: the device's pixels are its resolution's.
  painter.scale(device.logicalDpiX() / 72.0, device.logicalDpiY() / 72.0);
  Pager pager(&painter, device, area, fonts, count.pages());
  Lay(pager, fonts, document);
  painter.end();
  assert(pager.pages() == count.pages());
  return pager.pages();
}

}  // namespace torvane
