// The calibration report on paper: documents made by hand, written as PDF
// and read back with poppler's tools (pdftotext, pdffonts, pdfinfo,
// pdftoppm), which share no code with Qt's PDF writer. Each row: the
// document, and what the PDF must hold.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include <QElapsedTimer>
#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>

#include "desktop/calibration_pages.h"
#include "desktop/paper_texts.h"
#include "desktop/pdf_text_names.h"
#include "desktop/plain_glyphs.h"
#include "desktop/report_file.h"
#include "desktop/report_font.h"
#include "report/calibration_html.h"

namespace torvane {
namespace {

// A tool's standard output, UTF-8; fails the test when it does not end well.
QString RunTool(const QString& tool, const QStringList& arguments) {
  QProcess process;
  process.start(tool, arguments);
  if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
      process.exitCode() != 0) {
    ADD_FAILURE() << tool.toStdString() << " " << arguments.join(' ').toStdString() << ": "
                  << process.readAllStandardError().toStdString();
  }
  return QString::fromUtf8(process.readAllStandardOutput());
}

// The page's text as laid out, line by line (page 0: every page).
QString PageText(const QString& pdf, int page = 0) {
  QStringList arguments = {QStringLiteral("-layout"), QStringLiteral("-enc"),
                           QStringLiteral("UTF-8")};
  if (page > 0) arguments << "-f" << QString::number(page) << "-l" << QString::number(page);
  return RunTool(QStringLiteral("pdftotext"), arguments << pdf << QStringLiteral("-"));
}

int PageCount(const QString& pdf) {
  const auto match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                         .match(RunTool(QStringLiteral("pdfinfo"), {pdf}));
  return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// Where `wanted` are missing from `text` in this order: the first one not
// found after the one before it; empty when all are there.
std::string FirstOutOfOrder(const QString& text, const QStringList& wanted) {
  qsizetype from = 0;
  for (const QString& piece : wanted) {
    const qsizetype at = text.indexOf(piece, from);
    if (at < 0) return piece.toStdString();
    from = at + piece.size();
  }
  return {};
}

// Five points as `torvane-cli solve --points=examples/control-points.csv
// --check-points=K5` reports them (README), K4 marked by hand beyond 2×RMS
// and as a blunder, so that the marking shows; a file with a long Chinese
// name and a made-up SHA-256.
CalibrationDocument SmallSite() {
  CalibrationDocument document;
  document.title = "坐标转换参数计算报告";
  document.header = "工程：一号楼 基坑　坐标转换参数计算报告";
  document.title_block = {{"工程", "一号楼 基坑", ""},
                          {"操作员", "张工", ""},
                          {"日期时间", "2026-12-09 16:40:12", ""},
                          {"Torvane 版本", "0.1.0", ""},
                          {"模型", "刚体（三参数）", ""}};
  document.model = {
      {"模型", "刚体（尺度 1）", ""},
      {"模型依据", "按所选模型；刚体转换不求尺度，不作 F 检验（F 检验见四参数的报告）", ""},
      {"高程基准 H0（±0.000 的测图高程）", "45.300", "m"}};
  document.parameters = {{"X0", "3412.592011", "m"},
                         {"Y0", "5127.343236", "m"},
                         {"旋转角", "32.14358554", "ddd.mmss"},
                         {"旋转角（度）", "32.2432931667", "°"}};
  document.formulas = {"X = 3412.592011 + x·cos(32.2432931657°) − y·sin(32.2432931657°)",
                       "Y = 5127.343236 + x·sin(32.2432931657°) + y·cos(32.2432931657°)"};
  document.inverse = {{"x0", "-5621.854313", "m"},
                      {"y0", "-2515.986283", "m"},
                      {"旋转角", "-32.14358554", "ddd.mmss"}};
  document.controller = {{"北向平移 ΔN", "3412.592011", "m"},
                         {"东向平移 ΔE", "5127.343236", "m"},
                         {"旋转角 α（度分秒）", "32°14′35.855″", ""},
                         {"尺度 (k − 1)·10⁶", "0.000", "ppm"}};
  document.words.controller_note = "以施工坐标系原点为旋转中心，α 由北向东为正。";
  document.pipeline =
      "+proj=pipeline +step +proj=affine +xoff=-3412.592011 +yoff=-5127.343236 "
      "+step +proj=helmert +theta=116075.855";
  // A survey height on K1 alone: its column, no construction height's.
  document.points = {{"K1", "参与平差", "3412.588", "5127.348", "0", "0", "12.345", ""},
                     {"K4", "参与平差", "3316.563", "5279.574", "0", "180"}};
  document.checks = {{"K5", "3470.297", "5270.158", "125", "90", "-3.000", "5.250", "6.046"}};
  document.left_out = {"第 7 行 测图X “12a.5” 不是数字：该行不参与计算。"};
  document.signatures = {{"计算", "张工"}, {"检查", ""}, {"审核", ""}};
  document.rows = {{"参与平差", "K1", "-4.611", "5.814", "7.421", "-0.90", "0.98", "13.492",
                    "-0.84", "0.67", "0.58"},
                   {"参与平差", "K2", "-4.181", "-0.065", "4.181", "-0.69", "-0.01", "7.602",
                    "-0.39", "-0.20", "0.09"},
                   {"参与平差", "K3", "5.612", "4.685", "7.311", "1.10", "0.79", "13.293", "1.51",
                    "1.09", "1.73"},
                   {"参与平差", "K4", "3.182", "-10.436", "10.910", "0.53", "-3.11", "-1234.567",
                    "1.51", "-16.92", "125.08", true, true, true},
                   {"检核", "K5", "-3.000", "5.250", "6.046", "-", "-", "-", "-", "-", "-"}};
  document.statistics = {{"RMS", "7.827", "mm"},
                         {"2×RMS", "15.654", "mm"},
                         {"检核点 RMS", "6.046", "mm"},
                         {"最大标准化残差", "K4 3.11", ""}};
  document.warnings = {"K4 的标准化残差超过 3，可能是粗差，请检查该点的观测。"};
  // The heights as the workbench gives them for the command line's worked
  // plane (solve_points.yaml): E 3.2 mm off the plane, F a check point.
  document.heights = {
      {"高程模型", "自动：平面拟合", ""}, {"常数 a0", "1.500800", "m"},
      {"X 向坡度", "20.000", "mm/100 m"}, {"Y 向坡度", "-10.000", "mm/100 m"},
      {"高程中误差", "2.530", "mm"},      {"高程剔除检验结论", "粗差：E", "", true}};
  document.height_rows = {
      {"A", "参与平差", "10", "8.505", "-0.800", "-0.58", "-2.667", "-0.45", "0.20", false},
      {"E", "参与平差", "10", "8.496", "3.200", "1.41", "4.000", "7155.42", "51200000.00", true},
      {"F", "检核", "10", "8.508", "1.200", "-", "-", "-", "-", false}};
  document.plot.points = {{"K1", PointRole::kFit, 3412.59, 5127.34, -0.0046, 0.0058},
                          {"K4", PointRole::kFit, 3508.6, 5279.6, 0.0032, -0.0104},
                          {"K5", PointRole::kCheck, 3467.0, 5248.0, -0.003, 0.00525}};
  document.files = {
      {"/home/测量/二〇二六年/一号楼基坑控制点成果表（第三次复测，含检核点）_final_version.csv",
       182, "9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08"}};
  return document;
}

// 300 fitted points P001 … P300: the residual table goes over pages.
CalibrationDocument LongSite() {
  CalibrationDocument document = SmallSite();
  document.rows.clear();
  document.plot.points.clear();
  for (int i = 1; i <= 300; ++i) {
    const std::string name = QStringLiteral("P%1").arg(i, 3, 10, QLatin1Char('0')).toStdString();
    document.rows.push_back({"参与平差", name, "1.000", "-2.000", "2.236", "0.10", "-0.20", "2.556",
                             "0.11", "-0.22", "0.03"});
    document.plot.points.push_back(
        {name, PointRole::kFit, i * 10.0, (i % 17) * 10.0, 0.001, -0.002});
  }
  return document;
}

// Every text of `document` in the order the report gives them.
QStringList TextsOf(const CalibrationDocument& document) {
  QStringList texts = {QString::fromStdString(document.title)};
  const auto figures = [&](const std::vector<ReportFigure>& list) {
    for (const ReportFigure& f : list) {
      texts << QString::fromStdString(f.label) << QString::fromStdString(f.value);
      if (!f.unit.empty()) texts << QString::fromStdString(f.unit);
    }
  };
  figures(document.title_block);
  figures(document.model);
  figures(document.parameters);
  for (const std::string& formula : document.formulas) texts << QString::fromStdString(formula);
  figures(document.inverse);
  figures(document.controller);
  for (const ReportPointRow& p : document.points) {
    // The small site's heights: K1's survey height, "-" for K4's.
    const std::string hs = p.hs.empty() ? "-" : p.hs;
    for (const std::string* cell : {&p.name, &p.role, &p.xs, &p.ys, &hs, &p.xc, &p.yc}) {
      texts << QString::fromStdString(*cell);
    }
  }
  for (const ReportRow& row : document.rows) {
    if (row.role == "检核") continue;  // in the check points' table
    for (const std::string* cell :
         {&row.role, &row.name, &row.dx, &row.dy, &row.length, &row.wx, &row.wy}) {
      if (!cell->empty()) texts << QString::fromStdString(*cell);
    }
  }
  for (const ReportCheckRow& c : document.checks) {
    for (const std::string* cell : {&c.name, &c.xs, &c.ys, &c.xc, &c.yc, &c.dx, &c.dy, &c.length}) {
      texts << QString::fromStdString(*cell);
    }
  }
  for (const std::string& row : document.left_out) texts << QString::fromStdString(row);
  figures(document.statistics);
  figures(document.heights);
  for (const ReportHeightRow& h : document.height_rows) {
    for (const std::string* cell :
         {&h.name, &h.role, &h.hs, &h.hc, &h.residual, &h.w, &h.left_out, &h.t, &h.f}) {
      texts << QString::fromStdString(*cell);
    }
  }
  for (const std::string& warning : document.warnings) texts << QString::fromStdString(warning);
  for (const ReportFile& file : document.files) {
    texts << QString::number(file.size) + QStringLiteral(" 字节")
          << QString::fromStdString(file.sha256);
  }
  for (const auto& [role, name] : document.signatures) {
    texts << QString::fromStdString(role) << QStringLiteral("姓名：");
    if (!name.empty()) texts << QString::fromStdString(name);
    texts << QStringLiteral("日期：");
  }
  return texts;
}

// `text` without its blanks, which pdftotext puts where a line was broken
// or a column ends.
QString Unspaced(QString text) {
  text.removeIf([](QChar c) { return c.isSpace(); });
  return text;
}

// The text an HTML page shows, its head and plot aside.
QString HtmlText(const std::string& html) {
  QString text = QString::fromStdString(html);
  text.remove(QRegularExpression(QStringLiteral("^.*<body>|<svg.*</svg>"),
                                 QRegularExpression::DotMatchesEverythingOption));
  text.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
  return text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
      .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
      .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
}

// Every word the writers place in the order both place them: the
// headings, the columns, the notes, the marks, the signatures' roles.
QStringList WordsOf(const CalibrationDocument& document) {
  const ReportWording& w = document.words;
  std::vector<std::string> words = {w.model,    w.parameters,    w.formulas,
                                    w.inverse,  w.controller,    w.controller_note,
                                    w.pipeline, w.pipeline_note, w.coordinates};
  const auto add = [&](const std::vector<std::string>& more) {
    words.insert(words.end(), more.begin(), more.end());
  };
  // The small site has survey heights, no construction heights.
  words.insert(words.end(), w.coordinate_columns.begin(), w.coordinate_columns.begin() + 4);
  words.push_back(w.survey_height_column);
  words.insert(words.end(), w.coordinate_columns.begin() + 4, w.coordinate_columns.end());
  words.push_back(w.residuals);
  add(w.residual_columns);
  add(w.standardized_columns);
  add(w.left_out_columns);
  words.insert(words.end(), {w.mark_column, w.beyond_mark, w.blunder_mark, w.tested_mark,
                             w.residual_note, w.checks});
  add(w.check_columns);
  words.insert(words.end(), {w.check_note, w.left_out, w.statistics, w.heights});
  add(w.height_columns);
  words.insert(words.end(), {w.height_note, w.warnings, w.plot, w.files, w.signatures});
  add(w.signature_roles);
  QStringList texts;
  for (const std::string& word : words) texts << Unspaced(QString::fromStdString(word));
  return texts;
}

class ReportPdfTest : public ::testing::Test {
 protected:
  QString Write(const CalibrationDocument& document, const char* name) {
    const QString path = folder_.filePath(QString::fromUtf8(name));
    const auto written = WriteCalibrationPdf(path.toStdString(), document);
    EXPECT_TRUE(written) << written.error();
    return path;
  }
  QTemporaryDir folder_;
};

// Document: the small site. Expected: every figure, as the document writes
// it, in the text in the document's order (a long formula and a long file
// name whole once their lines are joined); the title, the author and every
// font embedded; a page number on each page; K4's row marked and no other.
TEST_F(ReportPdfTest, EveryFigureReadsBackInOrder) {
  const CalibrationDocument document = SmallSite();
  const QString pdf = Write(document, "small.pdf");
  const QString text = PageText(pdf);
  // pdftotext breaks a wrapped line where the page does.
  QString joined = text;
  joined.replace(QRegularExpression(QStringLiteral("\\s*\\n\\s*")), QString());
  EXPECT_EQ(FirstOutOfOrder(text, TextsOf(document)), "");
  EXPECT_NE(Unspaced(text).indexOf(Unspaced(QString::fromStdString(document.pipeline))), -1);
  EXPECT_NE(joined.indexOf(QString::fromStdString(document.files[0].name)), -1)
      << joined.toStdString();

  const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
  for (const char* field :
       {"Title: +坐标转换参数计算报告\n", "Creator: +Torvane\n", "pts \\(A4\\)"}) {
    EXPECT_TRUE(info.contains(QRegularExpression(QString::fromUtf8(field))))
        << field << info.toStdString();
  }

  // pdffonts: name, type, encoding, emb, sub, uni, object; a heading of two lines.
  const QStringList fonts = RunTool(QStringLiteral("pdffonts"), {pdf})
                                .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                .mid(2);
  EXPECT_FALSE(fonts.isEmpty());
  bool chinese = false;
  for (const QString& font : fonts) {
    const QStringList columns = font.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    ASSERT_GE(columns.size(), 7) << font.toStdString();
    EXPECT_EQ(columns[columns.size() - 5].toStdString(), "yes")
        << "not embedded: " << font.toStdString();
    // As pdffonts prints it: WenQuanYi's, the first of the test's fonts
    // (tests/CMakeLists.txt) whose characters read back, Noto Sans CJK's not.
    chinese = chinese || columns[0] == QStringLiteral("WenQuanYiMicroHei");
  }
  EXPECT_TRUE(chinese) << "no WenQuanYiMicroHei";

  const int pages = PageCount(pdf);
  ASSERT_GE(pages, 1);
  // pdftotext leaves out the narrow spaces between Chinese and digits.
  for (int page = 1; page <= pages; ++page) {
    EXPECT_TRUE(PageText(pdf, page)
                    .remove(QLatin1Char(' '))
                    .contains(QStringLiteral("第%1页/共%2页").arg(page).arg(pages)))
        << "page " << page;
  }
  for (const QString& line : text.split(QLatin1Char('\n'))) {
    // The residual table's rows: the coordinates' have the name first.
    if (!line.trimmed().startsWith(QStringLiteral("参与平差"))) continue;
    const bool k4 = line.contains(QStringLiteral(" K4 "));
    EXPECT_EQ(line.contains(QStringLiteral("> 2×RMS")), k4) << line.toStdString();
    EXPECT_EQ(line.contains(QStringLiteral("|w| > 3")), k4) << line.toStdString();
  }
}

// Document: the small site. Expected: the PDF and the HTML say it in the
// same words: each heading, column, note and mark the document holds in
// both, in the same order (once was 长度 on paper and 点位残差 in the
// HTML, 点位分布图 and 点位图, a heading for no warnings in one only); the
// site atop every page of the PDF and of the HTML; the PROJ pipeline whole;
// every figure and cell of the height section.
TEST_F(ReportPdfTest, PdfAndHtmlSayTheSameInTheSameWords) {
  CalibrationDocument document = SmallSite();
  document.words.controller_note = "以施工坐标系原点为旋转中心，α 由北向东为正。";
  const QString pdf = Unspaced(PageText(Write(document, "words.pdf")));
  const QString html = Unspaced(HtmlText(CalibrationHtml(document, CalibrationPlotSvg(document))));
  const QStringList words = WordsOf(document);
  EXPECT_EQ(FirstOutOfOrder(pdf, words), "") << pdf.toStdString();
  EXPECT_EQ(FirstOutOfOrder(html, words), "") << html.toStdString();
  // The height section's every figure and cell, in order, in both.
  QStringList heights;
  for (const ReportFigure& f : document.heights) {
    heights << Unspaced(QString::fromStdString(f.label))
            << Unspaced(QString::fromStdString(f.value));
  }
  for (const ReportHeightRow& h : document.height_rows) {
    for (const std::string* cell :
         {&h.name, &h.role, &h.hs, &h.hc, &h.residual, &h.w, &h.left_out, &h.t, &h.f}) {
      heights << QString::fromStdString(*cell);
    }
  }
  EXPECT_EQ(FirstOutOfOrder(pdf, heights), "");
  EXPECT_EQ(FirstOutOfOrder(html, heights), "");
  // The common points' table: H测 for the one point with a survey height,
  // no H施 column, as no point has a construction height there.
  QString table_head;
  for (const std::string& heading : CoordinateHeadings(document)) {
    EXPECT_NE(heading, document.words.construction_height_column);
    table_head += Unspaced(QString::fromStdString(heading));
  }
  table_head += QString::fromStdString(document.points.front().name);
  for (const QString* text : {&pdf, &html}) {
    EXPECT_NE(text->indexOf(table_head), -1) << table_head.toStdString();
    EXPECT_NE(text->indexOf(Unspaced(QString::fromStdString(document.pipeline))), -1);
    EXPECT_TRUE(text->startsWith(Unspaced(QString::fromStdString(document.header))))
        << text->left(80).toStdString();
  }
}

// Document: 300 points. Expected: the site and the title atop every page,
// the page's number at its foot, and the signature block, with the
// operator's name on 计算's line, at the end of the last page.
TEST_F(ReportPdfTest, EveryPageNamesTheSiteAndTheLastIsSigned) {
  const CalibrationDocument document = LongSite();
  const QString pdf = Write(document, "signed.pdf");
  const int pages = PageCount(pdf);
  ASSERT_GE(pages, 3);
  const QString header = Unspaced(QString::fromStdString(document.header));
  for (int page = 1; page <= pages; ++page) {
    const QString text = Unspaced(PageText(pdf, page));
    EXPECT_TRUE(text.startsWith(header)) << "page " << page << ": " << text.left(60).toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("第%1页/共%2页").arg(page).arg(pages)))
        << "page " << page << ": " << text.right(60).toStdString();
  }
  const QString last = Unspaced(PageText(pdf, pages));
  const qsizetype signed_at =
      last.indexOf(QStringLiteral("签字计算姓名：张工日期：检查姓名：日期：审核姓名：日期："));
  EXPECT_NE(signed_at, -1) << last.toStdString();
  EXPECT_EQ(Unspaced(PageText(pdf)).count(QStringLiteral("签字")), 1);
}

// Document: 300 points. Expected: the table goes over several pages, each
// of them headed by the table's heading again; every point's name there
// once in the table; every page renders.
TEST_F(ReportPdfTest, LongTableGoesOverPagesWithItsHeading) {
  const QString pdf = Write(LongSite(), "long.pdf");
  const int pages = PageCount(pdf);
  ASSERT_GE(pages, 300 / 60 + 1);  // no page holds 60 rows of 9 pt type
  int table_pages = 0;
  QString all;
  for (int page = 1; page <= pages; ++page) {
    const QString text = PageText(pdf, page);
    if (!text.contains(QRegularExpression(QStringLiteral("\\bP\\d{3}\\s+1\\.000")))) continue;
    ++table_pages;
    EXPECT_EQ(text.count(QRegularExpression(QStringLiteral("类别\\s+点名\\s+dX \\(mm\\)"))), 1)
        << "page " << page;
    if (table_pages > 1) {
      EXPECT_TRUE(text.contains(QStringLiteral("公共点残差（续）"))) << "page " << page;
    }
    all += text;
  }
  EXPECT_GE(table_pages, 300 / 60 + 1);
  for (int i = 1; i <= 300; ++i) {
    const QString row = QStringLiteral("参与平差 +P%1 +1\\.000").arg(i, 3, 10, QLatin1Char('0'));
    EXPECT_EQ(all.count(QRegularExpression(row)), 1) << row.toStdString();
  }
  ASSERT_TRUE(QDir().mkpath(folder_.filePath(QStringLiteral("png"))));
  RunTool(QStringLiteral("pdftoppm"),
          {QStringLiteral("-r"), QStringLiteral("20"), QStringLiteral("-png"), pdf,
           folder_.filePath(QStringLiteral("png/page"))});
  EXPECT_EQ(QDir(folder_.filePath(QStringLiteral("png"))).entryList(QDir::Files).size(), pages);
}

// Device: writers of 300 and 2400 dpi. Expected: the same pages and text:
// the layout is in points, not in the device's pixels.
TEST_F(ReportPdfTest, LayoutDoesNotDependOnResolution) {
  QStringList texts;
  for (const int dpi : {300, 2400}) {
    const QString path = folder_.filePath(QStringLiteral("r%1.pdf").arg(dpi));
    {
      QPdfWriter writer(path);
      writer.setResolution(dpi);
      EXPECT_GE(PaintCalibrationPages(writer, LongSite()), 2);
    }
    texts << PageText(path);
  }
  EXPECT_EQ(texts[0].toStdString(), texts[1].toStdString());
}

// State / Action / Expected for the file written all or nothing.
TEST_F(ReportPdfTest, WrittenWholeOrNotAtAll) {
  // An earlier file: replaced by the whole PDF.
  const QString earlier = folder_.filePath(QStringLiteral("报告.pdf"));
  {
    QFile file(earlier);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("earlier");
  }
  ASSERT_TRUE(WriteCalibrationPdf(earlier.toStdString(), SmallSite()));
  QFile written(earlier);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  const QByteArray bytes = written.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF-"));
  EXPECT_TRUE(bytes.trimmed().endsWith("%%EOF"));
  // A folder, and a file in a folder that does not exist: refused naming
  // the path; nothing left behind.
  const struct {
    QString path;
    std::string error;
  } refused[] = {
      {folder_.path(), folder_.path().toStdString() + "：是文件夹，报告未写出"},
      {folder_.filePath(QStringLiteral("无/r.pdf")),
       folder_.filePath(QStringLiteral("无/r.pdf")).toStdString() +
           "：无法写入（No such file or directory），报告未写出"},
  };
  for (const auto& row : refused) {
    const auto result = WriteCalibrationPdf(row.path.toStdString(), SmallSite());
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error(), row.error);
  }
  EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files | QDir::Hidden).join(' ').toStdString(),
            "报告.pdf");
}

// Each row: a ToUnicode map as Qt 6.4 writes it, and the map renamed with
// ⼯ → 工 and ⽇ → 日 (worked by hand): codes in lists and single codes
// renamed, the start of a range of consecutive codes and the glyph ids
// left alone, every length kept.
TEST(RenameGlyphsTest, RenamesCodesInPlace) {
  const QHash<char16_t, char16_t> names = {{0x2F2F, 0x5DE5}, {0x2F47, 0x65E5}};
  const struct {
    QByteArray pdf, renamed;
  } rows[] = {
      {"2 beginbfrange\n<0000> <0000> <0000>\n<0001> <0003> [<2F2F> <7A0B> <2F47> ]\nendbfrange",
       "2 beginbfrange\n<0000> <0000> <0000>\n<0001> <0003> [<5DE5> <7A0B> <65E5> ]\nendbfrange"},
      {"1 beginbfrange\n<0004> <0004> <2F2F>\nendbfrange\n<2F2F>",
       "1 beginbfrange\n<0004> <0004> <5DE5>\nendbfrange\n<2F2F>"},  // outside: kept
      {"1 beginbfrange\n<0005> <000E> <2F2F>\nendbfrange",           // a range: kept
       "1 beginbfrange\n<0005> <000E> <2F2F>\nendbfrange"},
      {"1 beginbfrange\n<2F2F> <2F2F> <0041>\nendbfrange",  // a glyph id: kept
       "1 beginbfrange\n<2F2F> <2F2F> <0041>\nendbfrange"},
  };
  for (const auto& row : rows) {
    QByteArray pdf = row.pdf;
    RenameGlyphs(pdf, names);
    EXPECT_EQ(pdf.toStdString(), row.renamed.toStdString());
  }
}

// Each row: a text, the limit, and what paper shows of it (worked by hand).
TEST(CutForPaperTest, CutsAtTheLimitMarked) {
  const struct {
    std::string text;
    std::size_t limit;
    std::string shown;
  } rows[] = {
      {"K1", 3, "K1"},               // shorter: whole
      {"K12", 3, "K12"},             // as long as the limit: whole
      {"K123", 3, "K1…"},            // longer: limit - 1 characters and the mark
      {"一号楼基坑", 4, "一号楼…"},  // three bytes a character, never split
      {"一号楼基", 4, "一号楼基"},
      {"a\xff\xfe"
       "b",
       3, "a\xff…"},     // bytes that are not UTF-8 count one each
      {"𠀀𠀀", 1, "…"},  // four bytes a character
  };
  for (const auto& row : rows) {
    EXPECT_EQ(CutForPaper(row.text, row.limit), row.shown) << row.text << " " << row.limit;
  }
}

// Document: the small site with a point, the site and the operator named
// with 5 MB (a damaged project; it kept the report busy for most of an
// hour). Expected: written within a few seconds, each name cut at
// kPaperFieldLimit characters and marked.
TEST_F(ReportPdfTest, HugeNamesAreCutInBoundedTime) {
  CalibrationDocument document = SmallSite();
  const std::string huge(5 << 20, 'L');
  document.rows[0].name = huge;
  document.plot.points[0].name = huge;
  document.title_block[0].value = "工" + huge;
  document.title_block[1].value = huge;
  QElapsedTimer timer;
  timer.start();
  const QString pdf = Write(document, "huge.pdf");
  EXPECT_LT(timer.elapsed(), 10000);
  QString joined = PageText(pdf);
  joined.remove(QRegularExpression(QStringLiteral("\\s")));
  const QString cut = QString(kPaperFieldLimit - 1, QLatin1Char('L')) + QStringLiteral("…");
  EXPECT_EQ(joined.count(QStringLiteral("工") + QString(kPaperFieldLimit - 2, QLatin1Char('L')) +
                         QStringLiteral("…")),
            1);
  EXPECT_EQ(joined.count(cut), 1) << joined.left(2000).toStdString();  // the operator
  EXPECT_EQ(joined.count(QString(kPaperFieldLimit, QLatin1Char('L'))), 0);
  // K1's row wraps its cut name over lines, and the plot places it or
  // leaves it out: at most four cut names' letters in all.
  EXPECT_LE(joined.count(QLatin1Char('L')), 4 * (kPaperFieldLimit - 1));
}

// Each row: a face of the tests' fonts (tests/CMakeLists.txt), radicals
// whose glyph an ideograph shares, as read with fontTools (Noto Sans CJK's
// cmap: U+2F2F and U+5DE5 both cid16644, and so on), and characters the
// PDF misnames otherwise; WenQuanYi gives every character its own glyph.
TEST(ReportFontTest, RadicalsAreRenamedAndOtherSharersNamed) {
  const struct {
    const char* family;
    bool bold;
    std::vector<std::pair<char16_t, char16_t>> radicals;
    const char* misnamed;
    const char* named;
  } rows[] = {
      {"Noto Sans CJK SC",
       false,
       {{0x2F2F, u'工'}, {0x2F47, u'日'}, {0x2EDA, u'页'}, {0x2EC6, u'角'}, {0x2F24, u'大'}},
       "〈〉",
       "坐标转换参数计算报告工日页角K0123456789"},
      {"Noto Sans CJK SC", true, {{0x2F2F, u'工'}, {0x2EDA, u'页'}}, "〈〉", "坐标转换工"},
      {"WenQuanYi Micro Hei", false, {}, "", "工日页角大长入十文无用坐标K0123456789〈〉"},
  };
  for (const auto& row : rows) {
    QFont font;
    font.setFamilies({QString::fromUtf8(row.family)});
    font.setBold(row.bold);
    const QRawFont raw = QRawFont::fromFont(font);
    ASSERT_EQ(raw.familyName(), QString::fromUtf8(row.family));
    const QHash<char16_t, char16_t> radicals = RadicalNames(raw);
    for (const auto& [radical, ideograph] : row.radicals) {
      EXPECT_EQ(radicals.value(radical), ideograph) << row.family << " " << int(radical);
    }
    if (row.radicals.empty()) {
      EXPECT_TRUE(radicals.isEmpty()) << row.family;
    }
    const QString misnamed = MisnamedCharacters(raw);
    for (const QChar c : QString::fromUtf8(row.misnamed)) {
      EXPECT_TRUE(misnamed.contains(c)) << row.family << " " << QString(c).toStdString();
    }
    for (const QChar c : QString::fromUtf8(row.named)) {
      EXPECT_FALSE(misnamed.contains(c)) << row.family << " " << QString(c).toStdString();
    }
    if (*row.misnamed == 0) {
      EXPECT_EQ(misnamed.toStdString(), "");
    }
  }
  // With both installed the report takes WenQuanYi, though the window
  // prefers Noto Sans CJK.
  const auto chosen = ChooseReportFont();
  ASSERT_TRUE(chosen) << chosen.error();
  EXPECT_EQ(chosen->family.toStdString(), "WenQuanYi Micro Hei");
  EXPECT_EQ(chosen->warning, "");
}

// Table cells laid out glyph by glyph, against Qt's own layout of the same
// text in the same font (no shaping, no kerning, no hinting, as the
// report's): the same glyphs at the same places, or no glyphs at all where
// Qt would shape, combine or take another font. Each row: a font of the
// tests' set, a text, and whether it is drawn glyph by glyph.
TEST(PlainGlyphsTest, SameGlyphsAndPlacesAsQtsLayout) {
  const struct {
    const char* family;
    const char* text;
    bool plain;
  } rows[] = {
      {"WenQuanYi Micro Hei", "3412586.2000", true},
      {"WenQuanYi Micro Hei", "控制点K12 拟合（不用）", true},
      {"Noto Sans CJK SC", "-0.0042  P1", true},
      {"Noto Sans CJK SC", "工程", true},  // its radicals' glyphs, named by the report's renaming
      {"DejaVu Sans", "Ω-1", false},       // Greek: another script
      {"DejaVu Sans", "工", false},        // not in the face: Qt takes another font's
      {"WenQuanYi Micro Hei", "e\u0301", false},         // a combining accent
      {"WenQuanYi Micro Hei", "a\tb", false},            // a tab
      {"WenQuanYi Micro Hei", "Hoch\u00adhaus", false},  // a soft hyphen, not drawn
      {"WenQuanYi Micro Hei", "", true},
  };
  for (const auto& row : rows) {
    QFont font;
    font.setFamilies({QString::fromUtf8(row.family)});
    font.setPixelSize(9);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferNoShaping);
    font.setKerning(false);
    const QString text = QString::fromUtf8(row.text);
    const PlainGlyphs plain(font);
    ASSERT_EQ(plain.raw().familyName(), QString::fromUtf8(row.family));
    QList<quint32> glyphs = {7};
    QList<QPointF> positions = {QPointF(1, 1)};
    const QPointF origin(10, 20);
    const auto width = plain.Append(text, origin, glyphs, positions);
    EXPECT_EQ(plain.Width(text).has_value(), row.plain) << row.text;
    ASSERT_EQ(width.has_value(), row.plain) << row.text;
    if (!row.plain) {
      EXPECT_EQ(glyphs, QList<quint32>{7}) << row.text;  // nothing appended
      continue;
    }
    EXPECT_DOUBLE_EQ(*width, QFontMetricsF(font).horizontalAdvance(text)) << row.text;
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QList<quint32> qt_glyphs = {7};
    QList<QPointF> qt_positions = {QPointF(1, 1)};
    for (const QGlyphRun& run : layout.glyphRuns()) {
      qt_glyphs += run.glyphIndexes();
      for (const QPointF& p : run.positions()) {
        qt_positions << QPointF(origin.x() + p.x(), origin.y() + p.y() - layout.lineAt(0).ascent());
      }
    }
    EXPECT_EQ(glyphs, qt_glyphs) << row.text;
    EXPECT_EQ(positions, qt_positions) << row.text;
  }
}

}  // namespace
}  // namespace torvane
