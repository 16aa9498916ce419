// Converting point files from the workbench's dialog, as the user meets it:
// State / Action / Expected. The results are checked against those of
// torvane-cli convert, run on the same files with the same options.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStringList>
#include <QTextDocument>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "desktop/scripted_platform.h"
#include "temp_dir.h"
#include "workbench/convert_dialog.h"
#include "workbench/convert_job.h"

namespace torvane {
namespace {

using testing::ReadBytes;
using testing::TempDir;

// Comma-separated lines with `delimiter` between the fields instead.
std::string Delimited(std::string bytes, char delimiter) {
  for (char& c : bytes) {
    if (c == ',') c = delimiter;
  }
  return bytes;
}

// The help example's points.
std::string HelpExample(char delimiter) {
  return Delimited(
      "III11,755.500,740.800,1215.101\r\nIII12,761.500,782.300,1211.210\r\n"
      "III13,750.000,651.350,1215.471\r\nIII14,691.500,757.150,1270.221\r\n",
      delimiter);
}

// The result torvane-cli convert writes for `point_file` with `options`,
// into a folder of its own: the same run on the command line.
std::string CliResult(const TempDir& dir, const std::string& point_file, QStringList options,
                      const std::string& result_name) {
  std::filesystem::create_directory(PathFromUtf8(dir / "cli"));
  options << QStringLiteral("--dx=500") << QStringLiteral("--dy=600")
          << QStringLiteral("--angle=30.1520") << QStringLiteral("-o")
          << QString::fromStdString(dir / "cli/") << QString::fromStdString(point_file);
  QProcess cli;
  cli.start(QStringLiteral(TORVANE_CLI), QStringList{QStringLiteral("convert")} + options);
  EXPECT_TRUE(cli.waitForFinished(60000));
  EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit) << cli.errorString().toStdString();
  EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
  return ReadBytes(dir / ("cli/" + result_name));
}

// The dialog over the scripted desktop, with the help example's parameters.
class ConvertDialogTest : public ::testing::Test {
 protected:
  void Open(const ConvertSettings& settings) {
    dialog_ = std::make_unique<ConvertDialog>(platform_, settings);
  }
  ConvertSettings Settings() const {
    ConvertSettings settings;
    settings.conversion.params = *RunParamsFromValues(500, 600, 30.1520);
    return settings;
  }
  template <class Widget>
  Widget* Find(const char* name) const {
    auto* widget = dialog_->findChild<Widget*>(QString::fromUtf8(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  void Choose(const char* box, int value) const {
    auto* combo = Find<QComboBox>(box);
    combo->setCurrentIndex(combo->findData(value));
  }
  void AddFiles(const std::vector<std::string>& paths) {
    QStringList chosen;
    for (const std::string& path : paths) chosen << QString::fromStdString(path);
    platform_.ChooseNextPaths(chosen);
    Find<QPushButton>("add")->click();
  }
  // Clicks 开始转换 and waits for the summary.
  QString ConvertAll() {
    QSignalSpy finished(dialog_->findChild<ConvertJob*>(), &ConvertJob::Finished);
    Find<QPushButton>("start")->click();
    EXPECT_TRUE(finished.wait(120000));
    return Find<QPlainTextEdit>("summary")->toPlainText();
  }

  TempDir dir_;
  ScriptedPlatform platform_;
  std::unique_ptr<ConvertDialog> dialog_;
};

// State: a good point file and a bad one (X "abc" on line 2) whose earlier
// result is on disk; the format, decimals, layout, H0 and folder of a row.
// Action: both added, 开始转换. Expected: the summary names both; the good
// file's result byte for byte torvane-cli convert's with the same options;
// the bad one's earlier result as it was; in a chosen folder, nothing
// beside the point files.
TEST_F(ConvertDialogTest, GoodFileConvertedAsTheCommandLineDoesBadOneKeepsItsResult) {
  const struct {
    ResultFormat format;
    int decimals;
    char delimiter;
    const char* height_offset;  // none: heights as written
    bool into_folder;
    QStringList cli_options;
    const char* extension;
  } rows[] = {
      {ResultFormat::kTable, 5, ',', nullptr, false, {}, ".txt"},
      {ResultFormat::kCsv,
       3,
       ',',
       "1200",
       false,
       {"--format=csv", "--decimals=3", "--dh=1200"},
       ".csv"},
      {ResultFormat::kJson,
       8,
       ' ',
       nullptr,
       true,
       {"--format=json", "--decimals=8", "--delimiter=whitespace"},
       ".json"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.extension);
    const std::string good = dir_.Write("a.csv", HelpExample(row.delimiter));
    const std::string bad =
        dir_.Write("b.csv", Delimited("B1,1,2,3\r\nB2,abc,2,3\r\n", row.delimiter));
    std::filesystem::create_directory(PathFromUtf8(dir_ / "out"));
    const std::string folder = row.into_folder ? "out/" : "";
    const std::string good_result = dir_ / (folder + "a转化后成果表" + row.extension);
    const std::string bad_result =
        dir_.Write(folder + "b转化后成果表" + row.extension, "earlier result\r\n");

    ConvertSettings settings = Settings();
    if (row.height_offset) settings.conversion.height_offset = row.height_offset;
    Open(settings);
    AddFiles({good, bad});
    Choose("format", static_cast<int>(row.format));
    Find<QSpinBox>("decimals")->setValue(row.decimals);
    if (row.delimiter == ' ') Choose("delimiter", static_cast<int>(FieldDelimiter::kWhitespace));
    if (row.into_folder) {
      platform_.ChooseNextPaths({QString::fromStdString(dir_ / "out")});
      Find<QPushButton>("choose_folder")->click();
    }
    EXPECT_EQ(ConvertAll().toStdString(), "a.csv：转换 4 点 → " + good_result +
                                              "\nb.csv：坐标文件“" + bad +
                                              "”第 2 行的 X 坐标“abc”不是数字。未写出成果表。");
    EXPECT_EQ(ReadBytes(good_result),
              CliResult(dir_, good, row.cli_options, "a转化后成果表" + std::string(row.extension)));
    EXPECT_EQ(ReadBytes(bad_result), "earlier result\r\n");
    // What was written, for the window to say where.
    EXPECT_EQ(dialog_->written(), std::vector<std::string>{good_result});
    // The dialog hands back what was chosen, for the project to keep.
    const ConvertSettings chosen = dialog_->settings();
    EXPECT_EQ(chosen.format, row.format);
    EXPECT_EQ(chosen.decimals, row.decimals);
    EXPECT_EQ(chosen.conversion.layout.delimiter,
              row.delimiter == ' ' ? FieldDelimiter::kWhitespace : FieldDelimiter::kComma);
    EXPECT_EQ(chosen.output_folder.has_value(), row.into_folder);
    std::filesystem::remove_all(PathFromUtf8(dir_ / "out"));
    std::filesystem::remove_all(PathFromUtf8(dir_ / "cli"));
    for (const std::string& name : dir_.Files()) {
      if (name != "a.csv" && name != "b.csv") std::filesystem::remove(PathFromUtf8(dir_ / name));
    }
  }
  // In a chosen folder, the results went there alone: nothing was left
  // beside the point files.
  EXPECT_EQ(dir_.Files(), (std::vector<std::string>{"a.csv", "b.csv"}));
}

// State: the parameters the window gives, solved or typed. Expected: the
// dialog shows them before anything is chosen, as given: the source with
// the model, then each figure with its unit, two to a row (the first half
// of them down the left).
TEST_F(ConvertDialogTest, ShowsTheParametersBeforeConverting) {
  const struct {
    const char* source;
    std::vector<ReportFigure> figures;
    const char* shown;
  } rows[] = {
      {"模型：刚体转换（平移、旋转），由 2 个参与平差的点解算",
       {{"X0", "1000.000161", "m"}, {"Y0", "2000.000161", "m"}, {"旋转角 θ", "45.", "ddd.mmss"}},
       "模型：刚体转换（平移、旋转），由 2 个参与平差的点解算 | X0 | 1000.000161 m | 旋转角 θ | "
       "45. ddd.mmss | Y0 | 2000.000161 m"},
      {"手工输入的参数",
       {{"X0", "500", "m"},
        {"Y0", "600", "m"},
        {"旋转角 θ", "30.1520", "ddd.mmss"},
        {"尺度 k", "1.0001", ""}},
       "手工输入的参数 | X0 | 500 m | 旋转角 θ | 30.1520 ddd.mmss | Y0 | 600 m | 尺度 k | 1.0001"},
  };
  for (const auto& row : rows) {
    ConvertSettings settings = Settings();
    settings.parameters_source = QString::fromUtf8(row.source);
    settings.parameter_figures = row.figures;
    Open(settings);
    QTextDocument shown;
    shown.setHtml(Find<QLabel>("parameters")->text());
    // Each paragraph and cell, row by row, the empty ones left out.
    QStringList texts = shown.toPlainText().split(u'\n');
    texts.removeAll(QString());
    EXPECT_EQ(texts.join(QStringLiteral(" | ")).toStdString(), row.shown);
  }
}

// State: a drawing (its result due beside it) and a drawing with an entity
// that is not converted, whose earlier result is on disk. Action: both
// added, 开始转换. Expected: the first's result byte for byte torvane-cli
// convert's; the second named by entity, handle and line, its earlier
// result as it was.
TEST_F(ConvertDialogTest, DrawingConvertedAsTheCommandLineDoes) {
  const std::string drawing = dir_.Write(
      "d.dxf",
      "0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\nTEXT\r\n5\r\n1F\r\n10\r\n740.8\r\n20\r\n755."
      "5\r\n40\r\n2.5\r\n50\r\n30\r\n1\r\n测量\r\n0\r\nENDSEC\r\n0\r\nEOF\r\n");
  const std::string refused =
      dir_.Write("m.dxf", "0\nSECTION\n2\nENTITIES\n0\nMESH\n5\n2F\n0\nENDSEC\n0\nEOF\n");
  const std::string earlier = dir_.Write("m转化后.dxf", "earlier result\r\n");
  Open(Settings());
  AddFiles({drawing, refused});
  EXPECT_EQ(ConvertAll().toStdString(),
            "d.dxf：转换 1 个实体 → " + (dir_ / "d转化后.dxf") + "\nm.dxf：图形“" + refused +
                "”第 5 行：实体 MESH（句柄 2F）无法转换。请在 CAD "
                "中将它分解（或删除）后再转换图形。未写出转换后的图形。");
  EXPECT_EQ(ReadBytes(dir_ / "d转化后.dxf"), CliResult(dir_, drawing, {}, "d转化后.dxf"));
  EXPECT_NE(ReadBytes(dir_ / "d转化后.dxf"), ReadBytes(drawing));
  EXPECT_EQ(ReadBytes(earlier), "earlier result\r\n");
}

// State: a drawing, the dialog opened with the project's axis. Action:
// 图形坐标轴 left or changed, 开始转换. Expected: the result byte for byte
// convert's with that --axis (north-first drawings were once converted
// east-north whatever was chosen); the axis chosen is what the dialog
// gives back for the project to keep.
TEST_F(ConvertDialogTest, DrawingAxesAsChosen) {
  const std::string drawing =
      dir_.Write("d.dxf",
                 "0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\nLINE\r\n10\r\n740.8\r\n20\r\n755."
                 "5\r\n0\r\nENDSEC\r\n0\r\nEOF\r\n");
  const struct {
    DrawingAxis given, chosen;
    const char* option;
  } rows[] = {{DrawingAxis::kNorthEast, DrawingAxis::kNorthEast, "--axis=north-east"},
              {DrawingAxis::kEastNorth, DrawingAxis::kNorthEast, "--axis=north-east"},
              {DrawingAxis::kNorthEast, DrawingAxis::kEastNorth, "--axis=east-north"}};
  for (const auto& row : rows) {
    ConvertSettings settings = Settings();
    settings.conversion.axis = row.given;
    Open(settings);
    Choose("axis", static_cast<int>(row.chosen));
    AddFiles({drawing});
    ConvertAll();
    EXPECT_EQ(ReadBytes(dir_ / "d转化后.dxf"),
              CliResult(dir_, drawing, {QString::fromUtf8(row.option)}, "d转化后.dxf"))
        << row.option;
    EXPECT_EQ(dialog_->settings().conversion.axis, row.chosen);
  }
}

// State: H0 1200.5, a drawing with heights and a plan drawing (every z 0),
// the project's choice for drawings' heights. Action: 图形的高程也按 H0 改正
// ticked or not, 开始转换. Expected: the results byte for byte convert's
// with --dh and, when ticked, --drawing-heights=move; the plan never
// lifted to z = -1200.5 (the fault); the summary says of each drawing
// what became of its heights; the choice given back for the project.
TEST_F(ConvertDialogTest, DrawingHeightsAsAsked) {
  const std::string raised = dir_.Write(
      "r.dxf",
      "0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\nLINE\r\n10\r\n740.8\r\n20\r\n755.5\r\n30\r\n"
      "1215.101\r\n11\r\n740.8\r\n21\r\n782.3\r\n31\r\n1211.21\r\n0\r\nENDSEC\r\n0\r\nEOF\r\n");
  const std::string plan = dir_.Write(
      "p.dxf",
      "0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\nLINE\r\n10\r\n740.8\r\n20\r\n755.5\r\n30\r\n"
      "0\r\n11\r\n740.8\r\n21\r\n782.3\r\n31\r\n0."
      "0\r\n0\r\nLWPOLYLINE\r\n90\r\n1\r\n70\r\n0\r\n10\r\n"
      "740.8\r\n20\r\n755.5\r\n0\r\nENDSEC\r\n0\r\nEOF\r\n");
  const struct {
    DrawingHeights given;
    bool ticked;
    const char* raised_said;
  } rows[] = {
      {DrawingHeights::kKept, false, "（图形高程未改正：未勾选“图形的高程也按 H0 改正”）"},
      {DrawingHeights::kKept, true, "（高程已按 H0 改正）"},
      {DrawingHeights::kMoved, false, "（图形高程未改正：未勾选“图形的高程也按 H0 改正”）"},
      {DrawingHeights::kMoved, true, "（高程已按 H0 改正）"},
  };
  for (const auto& row : rows) {
    ConvertSettings settings = Settings();
    settings.conversion.height_offset = "1200.5";
    settings.conversion.drawing_heights = row.given;
    Open(settings);
    auto* box = Find<QCheckBox>("drawingHeights");
    EXPECT_EQ(box->isChecked(), row.given == DrawingHeights::kMoved);
    box->setChecked(row.ticked);
    AddFiles({raised, plan});
    const std::string plan_said = row.ticked ? "（平面图，所有 z 和标高为 0：高程未改正）"
                                             : "（图形高程未改正：未勾选“图形的高程也按 H0 改正”）";
    EXPECT_EQ(ConvertAll().toStdString(), "r.dxf：转换 1 个实体 → " + (dir_ / "r转化后.dxf") +
                                              row.raised_said + "\np.dxf：转换 2 个实体 → " +
                                              (dir_ / "p转化后.dxf") + plan_said);
    QStringList options{QStringLiteral("--dh=1200.5")};
    if (row.ticked) options << QStringLiteral("--drawing-heights=move");
    EXPECT_EQ(ReadBytes(dir_ / "r转化后.dxf"), CliResult(dir_, raised, options, "r转化后.dxf"));
    EXPECT_EQ(ReadBytes(dir_ / "p转化后.dxf"), CliResult(dir_, plan, options, "p转化后.dxf"));
    EXPECT_EQ(ReadBytes(dir_ / "p转化后.dxf").find("1200.5"), std::string::npos);
    EXPECT_EQ(ReadBytes(dir_ / "r转化后.dxf").find("14.601") != std::string::npos, row.ticked);
    EXPECT_EQ(dialog_->settings().conversion.drawing_heights,
              row.ticked ? DrawingHeights::kMoved : DrawingHeights::kKept);
  }
}

// State: a file of 300,000 points and a small one after it. Action: 开始转换,
// then 取消 while the first file is part way. Expected: the progress bar
// shown and 取消 usable while running; no result and no temporary file;
// the summary says which file was cancelled and which never started.
TEST_F(ConvertDialogTest, CancelPartWayLeavesNothing) {
  std::string many;
  char line[64];
  for (int i = 0; i < 300000; ++i) {
    std::snprintf(line, sizeof line, "P%d,%d.125,%d.5,12.5\r\n", i, 1000 + i % 977, 2000 + i % 53);
    many += line;
  }
  const std::string big = dir_.Write("big.csv", many);
  const std::string small = dir_.Write("c.csv", HelpExample(','));
  Open(Settings());
  AddFiles({big, small});
  auto* job = dialog_->findChild<ConvertJob*>();
  auto* cancel = Find<QPushButton>("cancel");
  auto* progress = Find<QProgressBar>("progress");
  bool shown_while_running = false;
  double cancelled_at = -1;
  // The job's thread waits while the window answers its first report part way.
  QObject::connect(
      job, &ConvertJob::Progress, cancel,
      [&](double share, const QString&) {
        if (share <= 0 || cancelled_at >= 0) return;
        cancelled_at = share;
        shown_while_running = !progress->isHidden() && cancel->isEnabled();
        cancel->click();
      },
      Qt::BlockingQueuedConnection);
  EXPECT_EQ(ConvertAll().toStdString(), "已取消：big.csv（未写出成果表），c.csv 未开始");
  EXPECT_GT(cancelled_at, 0);
  EXPECT_LT(cancelled_at, 0.5);  // part way through the first of two files
  EXPECT_TRUE(shown_while_running);
  EXPECT_EQ(dir_.Files(), (std::vector<std::string>{"big.csv", "c.csv"}));
  EXPECT_FALSE(cancel->isEnabled());
  EXPECT_TRUE(Find<QPushButton>("start")->isEnabled());
}

// State: no file listed; then a column list without y. Action: 开始转换.
// Expected: a message in Chinese each time, and nothing converted.
TEST_F(ConvertDialogTest, NothingToConvertOrColumnsUnreadable) {
  Open(Settings());
  Find<QPushButton>("start")->click();
  AddFiles({dir_.Write("a.csv", HelpExample(','))});
  Find<QComboBox>("columns")->setEditText(QStringLiteral("name,x,h"));
  Find<QPushButton>("start")->click();
  const auto messages = platform_.CallsOf(ScriptedPlatform::CallKind::kMessage);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].prompt, QStringLiteral("请先添加要转换的点文件。"));
  EXPECT_TRUE(messages[1].prompt.startsWith(QStringLiteral("列的顺序“name,x,h”无法识别")));
  EXPECT_EQ(dir_.Files(), std::vector<std::string>{"a.csv"});
}

// A point file read as UTF-8 though valid GBK too, its names not telling
// which: the summary says so and where to choose GBK (as the command line
// notes it).
TEST(ConvertSummaryText, SaysWhenNamesDoNotTellTheEncoding) {
  FileOutcome file;
  file.state = FileOutcome::kConverted;
  file.point_path = "cafe.csv";
  file.result_path = "cafe转化后成果表.txt";
  file.points = 1;
  file.encoding_undecided = true;
  EXPECT_EQ(ConvertSummaryText({file}).toStdString(),
            "cafe.csv：转换 1 点 → cafe转化后成果表.txt（此文件按 UTF-8 和 GBK 都能读，点名看不出"
            "是哪种，已按 UTF-8 读；如点名不对，请把编码选为 GBK 再转换）");
}

// A point file converted by a height model, with points beyond its fit
// points' coverage: each row the count and names the run gives, and the
// line said.
TEST(ConvertSummaryText, NamesPointsBeyondTheHeightModelsCoverage) {
  const struct {
    std::size_t outside;
    std::vector<std::string> names;
    const char* said;
  } rows[] = {
      {0, {}, "a.csv：转换 12 点 → b.txt"},
      {2,
       {"P7", "P9"},
       "a.csv：转换 12 点 → b.txt（2 点超出高程拟合点的范围，高程为外推：P7、P9）"},
      // Beyond the names the run keeps (kOutsideNamed), the count.
      {12,
       {"P1", "P2"},
       "a.csv：转换 12 点 → b.txt（12 点超出高程拟合点的范围，高程为外推：P1、P2 等 12 点）"},
  };
  for (const auto& row : rows) {
    FileOutcome file;
    file.state = FileOutcome::kConverted;
    file.point_path = "a.csv";
    file.result_path = "b.txt";
    file.points = 12;
    file.outside_coverage = row.outside;
    file.outside_names = row.names;
    EXPECT_EQ(ConvertSummaryText({file}).toStdString(), row.said);
  }
}

}  // namespace
}  // namespace torvane
