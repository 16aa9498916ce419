#include "desktop/calibration_pages.h"

#include <QColor>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGlyphRun>
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
#include "desktop/plain_glyphs.h"
#include "desktop/report_font.h"
#include "desktop/site_plot.h"
#include "fit/fit_report.h"
#include "site/point_role.h"

namespace torvane {
namespace {

// The painter's unit is the point (1/72 inch) throughout; fonts are sized
// in it by their pixel size, which the painter's scale makes points.
constexpr int kTitleSize = 16;
constexpr int kHeadingSize = 11;
constexpr int kBodySize = 9;
constexpr int kHashSize = 7;  // the SHA-256's 64 digits in a line of the page
constexpr int kFootSize = 8;
constexpr double kLineFactor = 1.45;    // a line's height over its font's size
constexpr double kColumnGap = 8;        // between a table's columns
constexpr double kNarrowGap = 3;        // between those of a table too wide for them
constexpr double kSectionGap = 12;      // above a section's heading
constexpr double kFootHeight = 22;      // the page number's strip at the foot
constexpr double kHeadHeight = 18;      // the site's strip at the top
constexpr double kSignatureLine = 150;  // the line a name or a date is written on
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
  // Figures in columns; and the tables' cells, laid out glyph by glyph
  // (desktop/plain_glyphs.h), the same width as drawn as text.
  font.setKerning(false);
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
  PlainGlyphs plain;  // body's, for the tables' cells
};

Fonts ReportFonts() {
  const QString family = ReportFamily();
  const QFont body = FontOf(family, kBodySize);
  return {FontOf(family, kTitleSize, true),
          FontOf(family, kHeadingSize, true),
          body,
          FontOf(family, kBodySize, true),
          FontOf(MonospaceFamily(), kHashSize),
          FontOf(family, kFootSize),
          PlainGlyphs(body)};
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
        const CalibrationDocument& document, int total_pages)
      : painter_(painter),
        device_(device),
        area_(area),
        fonts_(fonts),
        document_(document),
        total_(total_pages),
        bottom_(area.height() - kFootHeight - kHeadHeight) {
    Head();
  }

  QPainter* painter() const { return painter_; }
  // The painter's y of the cursor's y: below the page's head.
  double PaintedY(double y) const { return y + kHeadHeight; }
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

  // The painter's y of the baseline of `font`'s line with its top at `top`.
  double Baseline(const QFont& font, double top) const {
    const QFontMetricsF metrics(font);
    return PaintedY(top) + (LineHeight(font) - metrics.height()) / 2 + metrics.ascent();
  }
  // Text with its top at `top`, from `x` (left) or ending at `x` (right).
  void Text(const QFont& font, double x, double top, const QString& text,
            const QColor& colour = kTextColour, bool right = false) {
    if (!painter_) return;
    painter_->setFont(font);
    painter_->setPen(colour);
    const double left = right ? x - QFontMetricsF(font).horizontalAdvance(text) : x;
    painter_->drawText(QPointF(left, Baseline(font, top)), text);
  }
  // Glyphs of `font` at `positions`, in the painter's terms.
  void Glyphs(const QRawFont& font, const QList<quint32>& glyphs, const QList<QPointF>& positions,
              const QColor& colour) {
    if (!painter_ || glyphs.isEmpty()) return;
    QGlyphRun run;
    run.setRawFont(font);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    painter_->setPen(colour);
    painter_->drawGlyphRun(QPointF(0, 0), run);
  }
  void Rule(double y, double from, double to, double width = 0.5) {
    if (!painter_) return;
    painter_->setPen(QPen(kRuleColour, width));
    painter_->drawLine(QPointF(from, PaintedY(y)), QPointF(to, PaintedY(y)));
  }

  void Finish() { Foot(); }

 private:
  void NewPage() {
    Foot();
    if (painter_) device_.newPage();
    ++page_;
    Head();
    y_ = 0;
    if (continuation_) continuation_();
    page_top_ = y_;
  }
  // The site and the title atop every page, in the cursor's terms above 0.
  void Head() {
    const QString text = QString::fromStdString(document_.header);
    const QStringList lines = Wrapped(text, fonts_.foot, area_.width());
    Text(fonts_.foot, 0, -kHeadHeight, lines.front());
    Rule(-kHeadHeight + LineHeight(fonts_.foot) + 1, 0, area_.width(), 0.3);
  }
  void Foot() {
    const ReportWording& words = document_.words;
    const QString text = QString::fromStdString(words.page_before) + QString::number(page_) +
                         QString::fromStdString(words.page_between) + QString::number(total_) +
                         QString::fromStdString(words.page_after);
    const double foot = area_.height() - kHeadHeight;
    Rule(foot - kFootHeight + 6, 0, area_.width(), 0.3);
    const double width = WidthOf(fonts_.foot, text);
    Text(fonts_.foot, (area_.width() - width) / 2, foot - LineHeight(fonts_.foot), text);
  }

  QPainter* painter_;
  QPagedPaintDevice& device_;
  QSizeF area_;
  const Fonts& fonts_;
  const CalibrationDocument& document_;
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

// A table cell's width in the body font: a plain text's by its glyphs'
// advances, as it is drawn (Table), another's as Qt lays it out.
double CellWidth(const Fonts& fonts, const QString& text) {
  const auto plain = fonts.plain.Width(text);
  return plain ? *plain : WidthOf(fonts.body, text);
}

// A table cell's lines in `width`: a plain text that fits, as it is.
QStringList CellLines(const Fonts& fonts, const QString& text, double width) {
  const auto plain = fonts.plain.Width(text);
  if (plain && *plain <= width && !text.endsWith(QLatin1Char(' '))) return {text};
  return Wrapped(text, fonts.body, width);
}

struct Column {
  QString heading;
  bool right;  // numbers to the right
  double width = 0, x = 0;
};

// Columns of `headings`, the first `left` of them to the left, the others
// numbers to the right.
std::vector<Column> Columns(const std::vector<std::string>& headings, std::size_t left) {
  std::vector<Column> columns;
  for (const std::string& heading : headings) {
    columns.push_back({QString::fromStdString(heading), columns.size() >= left});
  }
  return columns;
}

// A table of `rows` under `columns`, the texts of the columns `wraps`
// (the names, the marks) wrapped when they are too long for what the
// others leave, sharing it by their widths; a row marked in red; on a page
// it goes on to, `continued` and the heading again.
void Table(Pager& pager, const Fonts& fonts, std::vector<Column> columns,
           const std::vector<QStringList>& rows, const std::vector<bool>& marked,
           const QString& continued, const std::vector<std::size_t>& wraps = {0}) {
  for (Column& column : columns) column.width = WidthOf(fonts.bold, column.heading);
  for (const QStringList& texts : rows) {
    for (std::size_t c = 0; c < columns.size(); ++c) {
      columns[c].width =
          std::max(columns[c].width, CellWidth(fonts, texts[static_cast<qsizetype>(c)]));
    }
  }
  const auto wrapped = [&](std::size_t c) {
    return std::find(wraps.begin(), wraps.end(), c) != wraps.end();
  };
  double others = 0, wanted = 0;
  for (std::size_t c = 0; c < columns.size(); ++c) {
    (wrapped(c) ? wanted : others) += columns[c].width;
  }
  // Narrower gaps first, then the names and marks over lines.
  const double between = static_cast<double>(columns.size() - 1);
  const double gap =
      std::clamp((pager.width() - others - wanted) / between, kNarrowGap, kColumnGap);
  const double room = pager.width() - others - gap * between;
  if (wanted > room) {
    for (std::size_t c : wraps) {
      columns[c].width = std::max(room * columns[c].width / wanted, pager.width() / 10);
    }
  }
  double x = 0;
  for (Column& column : columns) {
    column.x = x;
    x += column.width + gap;
  }
  const double line = LineHeight(fonts.body);
  const double baseline = pager.Baseline(fonts.body, 0);  // below a line's top
  const auto draw = [&](const Column& column, const QFont& font, double top, const QString& text,
                        const QColor& colour) {
    pager.Text(font, column.right ? column.x + column.width : column.x, top, text, colour,
               column.right);
  };
  const auto heading = [&] {
    for (const Column& column : columns)
      draw(column, fonts.bold, pager.y(), column.heading, kTextColour);
    pager.Advance(line);
    pager.Rule(pager.y(), 0, x - gap);
  };
  heading();
  pager.SetContinuation([&] {
    pager.Text(fonts.heading, 0, pager.y(), continued);
    pager.Advance(LineHeight(fonts.heading));
    heading();
  });
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const QStringList& texts = rows[r];
    std::vector<QStringList> cells;
    qsizetype lines = 1;
    for (std::size_t c = 0; c < columns.size(); ++c) {
      const QString& text = texts[static_cast<qsizetype>(c)];
      cells.push_back(wrapped(c) ? CellLines(fonts, text, columns[c].width) : QStringList{text});
      lines = std::max(lines, cells.back().size());
    }
    const double height = line * static_cast<double>(lines);
    pager.Need(height);
    const QColor colour = marked[r] ? kMarkedColour : kTextColour;
    // The row's plain cells as one glyph run, the others as text.
    QList<quint32> glyphs;
    QList<QPointF> positions;
    for (std::size_t c = 0; c < columns.size(); ++c) {
      const Column& column = columns[c];
      for (qsizetype i = 0; i < cells[c].size(); ++i) {
        const double top = pager.y() + line * static_cast<double>(i);
        const qsizetype first = positions.size();
        const auto width =
            fonts.plain.Append(cells[c][i], QPointF(column.x, top + baseline), glyphs, positions);
        if (!width) {
          draw(column, fonts.body, top, cells[c][i], colour);
        } else if (column.right) {  // moved to end at the column's right
          for (qsizetype g = first; g < positions.size(); ++g) {
            positions[g].rx() += column.width - *width;
          }
        }
      }
    }
    pager.Glyphs(fonts.plain.raw(), glyphs, positions, colour);
    pager.Advance(height);
  }
  pager.SetContinuation(nullptr);
  pager.Rule(pager.y(), 0, x - gap);
}

QString Continued(const CalibrationDocument& document, const std::string& heading) {
  return QString::fromStdString(heading + document.words.continued);
}

// Every fit point's and every unused point's coordinates, and their heights
// where some have them.
void Points(Pager& pager, const Fonts& fonts, const CalibrationDocument& document) {
  std::vector<QStringList> rows;
  for (const auto& cells : PointCells(document)) {
    QStringList texts;
    for (const auto& cell : cells) texts << QString::fromStdString(cell.second);
    rows.push_back(texts);
  }
  Table(pager, fonts, Columns(CoordinateHeadings(document), 2), rows,
        std::vector<bool>(rows.size(), false), Continued(document, document.words.coordinates));
}

// The residual table: every fit point's and unused point's name, role,
// residual, standardized residual, and its miss, tX, tY and F when left
// out; a point beyond 2×RMS, with |w| beyond the blunder limit or named by
// the blunder test in red, marked so in the last column for a print in
// black. The columns are those the HTML has.
void Residuals(Pager& pager, const Fonts& fonts, const CalibrationDocument& document) {
  const ReportWording& words = document.words;
  std::vector<Column> columns = Columns(ResidualHeadings(document), 2);
  columns.back().right = false;
  const std::string check_role = RoleText(PointRole::kCheck);
  std::vector<QStringList> rows;
  std::vector<bool> marked;
  for (const ReportRow& row : document.rows) {
    if (row.role == check_role) continue;  // in a table of their own
    QStringList texts = {QString::fromStdString(row.role), QString::fromStdString(row.name),
                         QString::fromStdString(row.dx), QString::fromStdString(row.dy),
                         QString::fromStdString(row.length)};
    // Every row of a fit that has them has these cells ("-" for none).
    if (!row.wx.empty()) texts << QString::fromStdString(row.wx) << QString::fromStdString(row.wy);
    if (!row.f.empty()) {
      texts << QString::fromStdString(row.left_out) << QString::fromStdString(row.tx)
            << QString::fromStdString(row.ty) << QString::fromStdString(row.f);
    }
    texts << QString::fromStdString(MarkText(words, row));
    rows.push_back(texts);
    marked.push_back(row.beyond_limit || row.blunder || row.tested_blunder);
  }
  Table(pager, fonts, columns, rows, marked, Continued(document, words.residuals),
        {1, columns.size() - 1});
}

void Checks(Pager& pager, const Fonts& fonts, const CalibrationDocument& document) {
  std::vector<QStringList> rows;
  for (const ReportCheckRow& p : document.checks) {
    rows.push_back({QString::fromStdString(p.name), QString::fromStdString(p.xs),
                    QString::fromStdString(p.ys), QString::fromStdString(p.xc),
                    QString::fromStdString(p.yc), QString::fromStdString(p.dx),
                    QString::fromStdString(p.dy), QString::fromStdString(p.length)});
  }
  Table(pager, fonts, Columns(document.words.check_columns, 1), rows,
        std::vector<bool>(rows.size(), false), Continued(document, document.words.checks));
}

void Heights(Pager& pager, const Fonts& fonts, const CalibrationDocument& document) {
  const ReportWording& words = document.words;
  std::vector<QStringList> rows;
  std::vector<bool> marked;
  for (const ReportHeightRow& p : document.height_rows) {
    rows.push_back({QString::fromStdString(p.name), QString::fromStdString(p.role),
                    QString::fromStdString(p.hs), QString::fromStdString(p.hc),
                    QString::fromStdString(p.residual), QString::fromStdString(p.w),
                    QString::fromStdString(p.left_out), QString::fromStdString(p.t),
                    QString::fromStdString(p.f),
                    QString::fromStdString(p.blunder ? words.tested_mark : "")});
    marked.push_back(p.blunder);
  }
  Table(pager, fonts, Columns(words.height_columns, 2), rows, marked,
        Continued(document, words.heights));
}

// 计算, 检查, 审核: each with a line for the name (the operator's written
// on 计算's) and one for the date.
void Signatures(Pager& pager, const Fonts& fonts, const CalibrationDocument& document) {
  const std::vector<std::string>& columns = document.words.signature_columns;
  const double row = 2 * LineHeight(fonts.body);
  pager.Need(row * static_cast<double>(document.signatures.size()));
  double role_width = 0;
  for (const auto& signature : document.signatures) {
    role_width = std::max(role_width, WidthOf(fonts.bold, QString::fromStdString(signature.first)));
  }
  const QString name_label = QString::fromStdString(columns[1]) + QStringLiteral("：");
  const QString date_label = QString::fromStdString(columns[2]) + QStringLiteral("：");
  const double name_x = role_width + 2 * kColumnGap;
  const double name_line = name_x + WidthOf(fonts.body, name_label);
  const double date_x = name_line + kSignatureLine + 2 * kColumnGap;
  const double date_line = date_x + WidthOf(fonts.body, date_label);
  for (const auto& [role, name] : document.signatures) {
    const double top = pager.y() + row - LineHeight(fonts.body);
    pager.Text(fonts.bold, 0, top, QString::fromStdString(role));
    pager.Text(fonts.body, name_x, top, name_label);
    pager.Text(fonts.body, name_line + 4, top, QString::fromStdString(name));
    pager.Rule(top + LineHeight(fonts.body) - 1, name_line, name_line + kSignatureLine);
    pager.Text(fonts.body, date_x, top, date_label);
    pager.Rule(top + LineHeight(fonts.body) - 1, date_line,
               std::min(date_line + kSignatureLine / 2, pager.width()));
    pager.Advance(row);
  }
}

void Plot(Pager& pager, const Fonts& fonts, const ReportWording& words, const SitePlot& plot) {
  const double width = pager.width();
  const double height =
      std::min(width * kPlotAspect, pager.PageRoom() - kSectionGap - LineHeight(fonts.heading));
  Heading(pager, fonts, QString::fromStdString(words.plot), height);
  if (QPainter* painter = pager.painter()) {
    painter->save();
    painter->translate(0, pager.PaintedY(pager.y()));
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
  const ReportWording& words = document.words;
  const QString title = QString::fromStdString(document.title);
  pager.Text(fonts.title, (pager.width() - WidthOf(fonts.title, title)) / 2, 0, title);
  pager.Advance(LineHeight(fonts.title) + 4);
  Figures(pager, fonts, document.title_block);
  const double line = LineHeight(fonts.body);
  const std::vector<std::string> none = {words.none};
  const auto heading = [&](const std::string& text, double room_after) {
    Heading(pager, fonts, QString::fromStdString(text), room_after);
  };
  heading(words.model, line);
  Figures(pager, fonts, document.model);
  heading(words.parameters, line);
  Figures(pager, fonts, document.parameters);
  if (!document.formulas.empty()) {
    heading(words.formulas, line);
    Paragraphs(pager, fonts, document.formulas, QString());
  }
  if (!document.inverse.empty()) {
    heading(words.inverse, line);
    Figures(pager, fonts, document.inverse);
  }
  heading(words.controller, 4 * line);
  Figures(pager, fonts, document.controller);
  Paragraphs(pager, fonts, {words.controller_note}, QString());
  heading(words.pipeline, 2 * line);
  Paragraphs(pager, fonts, {document.pipeline, words.pipeline_note}, QString());
  heading(words.coordinates, 3 * line);
  Points(pager, fonts, document);
  heading(words.residuals, 3 * line);
  Residuals(pager, fonts, document);
  Paragraphs(pager, fonts, {words.residual_note}, QString());
  heading(words.checks, 3 * line);
  if (document.checks.empty()) {
    Paragraphs(pager, fonts, none, QString());
  } else {
    Checks(pager, fonts, document);
    Paragraphs(pager, fonts, {words.check_note}, QString());
  }
  heading(words.left_out, line);
  if (document.left_out.empty()) {
    Paragraphs(pager, fonts, none, QString());
  } else {
    Paragraphs(pager, fonts, document.left_out, QStringLiteral("· "));
  }
  heading(words.statistics, line);
  Figures(pager, fonts, document.statistics);
  if (!document.heights.empty()) {
    heading(words.heights, 3 * line);
    Figures(pager, fonts, document.heights);
    Heights(pager, fonts, document);
    Paragraphs(pager, fonts, {words.height_note}, QString());
  }
  heading(words.warnings, line);
  if (document.warnings.empty()) {
    Paragraphs(pager, fonts, none, QString());
  } else {
    Paragraphs(pager, fonts, document.warnings, QStringLiteral("· "));
  }
  Plot(pager, fonts, words, document.plot);
  heading(words.files, 2 * line);
  if (document.files.empty()) Paragraphs(pager, fonts, none, QString());
  Files(pager, fonts, document.files);
  heading(words.signatures, 6 * line);
  Signatures(pager, fonts, document);
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
  Pager count(nullptr, device, area, fonts, document, 0);
  Lay(count, fonts, document);

  QPainter painter;
  if (!painter.begin(&device)) return 0;
  // Points: the device's pixels are its resolution's.
  painter.scale(device.logicalDpiX() / 72.0, device.logicalDpiY() / 72.0);
  Pager pager(&painter, device, area, fonts, document, count.pages());
  Lay(pager, fonts, document);
  painter.end();
  assert(pager.pages() == count.pages());
  return pager.pages();
}

}  // namespace torvane
