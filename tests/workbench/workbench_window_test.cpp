// The workbench window as the user meets it, on the scripted desktop:
// projects opened, changed, saved and reopened, reports exported and
// printed (read back with poppler's pdftotext); State / Action / Expected.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <optional>
#include <random>
#include <string>

#include "desktop/scripted_platform.h"
#include "number/pattern.h"
#include "os/user_session.h"
#include "workbench/convert_job.h"
#include "workbench/plot_view.h"
#include "workbench/solve_panel.h"
#include "workbench/typed_params_dialog.h"
#include "workbench/workbench_window.h"
#include "workbench/written_note.h"

namespace torvane {
namespace {

using CallKind = ScriptedPlatform::CallKind;

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

// The text of the PDF at `path` as poppler's pdftotext reads it.
std::string PdfText(const QString& path) {
  QProcess pdftotext;
  pdftotext.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), path, QStringLiteral("-")});
  if (!pdftotext.waitForFinished() || pdftotext.exitCode() != 0) return "(pdftotext failed)";
  return QString::fromUtf8(pdftotext.readAllStandardOutput()).toStdString();
}

class WorkbenchTest : public ::testing::Test {
 protected:
  QString Path(const char* name) const { return folder_.filePath(QString::fromUtf8(name)); }
  std::string Title() const { return window_.windowTitle().toStdString(); }
  void TypeInto(const char* box, const QString& text) {
    auto* edit = window_.findChild<QLineEdit*>(QString::fromUtf8(box));
    edit->setText(text);
    emit edit->editingFinished();
  }
  // A project of three points saved as site.torvane, then opened afresh.
  void OpenSavedSite() {
    window_.table().SetRows({{"A", PointRole::kFit, "1000", "2000", "0", "0"},
                             {"B", PointRole::kFit, "1070.711", "2070.711", "100", "0"},
                             {"C", PointRole::kCheck, "1000.001", "2141.421", "100", "100"}});
    platform_.ChooseNextPaths({Path("site")});
    ASSERT_TRUE(window_.SaveProjectDialog());
    ASSERT_TRUE(window_.OpenProject(Path("site.torvane")));
    platform_.ClearCalls();
  }

  QTemporaryDir folder_;
  ScriptedPlatform platform_;
  WorkbenchWindow window_{platform_, folder_.filePath(QStringLiteral("recent.txt"))};
};

// State: started. Expected: an untitled project, unchanged, nothing solved.
TEST_F(WorkbenchTest, StartsUntitledAndUnchanged) {
  EXPECT_EQ(Title(), "未命名[*] - 坐标转换工作台");
  EXPECT_FALSE(window_.isWindowModified());
  EXPECT_EQ(window_.summary().failure.toStdString(), "参与平差的点不足两个，无法计算参数。");
}

// State: a saved project opened. Action: one edit, undone, redone.
// Expected: the caption marks the change until it is undone; the file's
// name is the caption's.
TEST_F(WorkbenchTest, CaptionShowsNameAndChange) {
  OpenSavedSite();
  EXPECT_EQ(Title(), "site[*] - 坐标转换工作台");
  EXPECT_FALSE(window_.isWindowModified());
  TypeInto("site", QStringLiteral("一号楼"));
  EXPECT_TRUE(window_.isWindowModified());
  window_.undo_stack().undo();
  EXPECT_FALSE(window_.isWindowModified());
  EXPECT_EQ(window_.findChild<QLineEdit*>(QStringLiteral("site"))->text().toStdString(), "");
  window_.undo_stack().redo();
  EXPECT_EQ(window_.findChild<QLineEdit*>(QStringLiteral("site"))->text().toStdString(), "一号楼");
}

// State: a changed project. Action: 新建, answered 取消 / 不保存 / 保存.
// Expected: 取消 keeps everything; 不保存 drops the change; 保存 writes it first.
TEST_F(WorkbenchTest, AsksBeforeChangesAreLost) {
  struct Row {
    MessageAnswer answer;
    bool kept;     // the change still shown afterwards
    bool written;  // the file holds the change
  } rows[] = {{MessageAnswer::kCancel, true, false},
              {MessageAnswer::kDiscard, false, false},
              {MessageAnswer::kOk, false, true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.answer));
    if (window_.isWindowModified()) platform_.AnswerNextMessage(MessageAnswer::kDiscard);
    window_.NewProject();
    OpenSavedSite();
    TypeInto("heightOffset", QStringLiteral("12.5"));
    platform_.AnswerNextMessage(row.answer);
    window_.NewProject();
    ASSERT_EQ(platform_.CallsOf(CallKind::kMessage).size(), 1u);
    EXPECT_EQ(platform_.CallsOf(CallKind::kMessage)[0].prompt.toStdString(),
              "项目“site”已修改，是否保存？");
    EXPECT_EQ(window_.CurrentProject().height_offset == std::optional<std::string>("12.5"),
              row.kept);
    EXPECT_EQ(Bytes(Path("site.torvane")).contains("\"height_offset\": \"12.5\""), row.written);
  }
}

// State: a new project. Action: a block copied from a spreadsheet pasted
// (with a header row, Chinese names, CR LF), then undone and redone.
// Expected: the rows solved at once; undo empties the table and the solve,
// redo brings both back; a second paste without a header adds its rows.
TEST_F(WorkbenchTest, PastesSolvesUndoesAndRedoes) {
  QApplication::clipboard()->setText(
      QStringLiteral("点名\t测图X\t测图Y\t施工X\t施工Y\r\n"
                     "控制点一\t1000\t2000\t0\t0\r\n"
                     "控制点二\t1070.711\t2070.711\t100\t0\r\n"));
  window_.PastePoints();
  ASSERT_EQ(window_.table().rows().size(), 2u);
  EXPECT_EQ(window_.table().rows()[1].name, "控制点二");
  // The worked example: the parameters the classic window shows for it.
  EXPECT_EQ(window_.summary().parameters.toStdString(), "1000.000161 2000.000161 45.");
  EXPECT_TRUE(window_.isWindowModified());
  window_.undo_stack().undo();
  EXPECT_TRUE(window_.table().rows().empty());
  EXPECT_FALSE(window_.summary().failure.isEmpty());
  EXPECT_FALSE(window_.isWindowModified());
  window_.undo_stack().redo();
  EXPECT_EQ(window_.summary().parameters.toStdString(), "1000.000161 2000.000161 45.");
  QApplication::clipboard()->setText(QStringLiteral("K3\t1000\t2141.421\t100\t100\n"));
  window_.PastePoints();
  EXPECT_EQ(window_.table().rows().size(), 3u);
  EXPECT_EQ(window_.solve().points.fit.size(), 3u);
}

// State: a new project. Action: a block pasted, the question (if any)
// answered. Expected: a header's placement shown before the paste is taken
// and the columns taken by it (construction first solves as survey first,
// a fixed fault: it was solved as the inverse transformation); a header
// that places not every column, and columns that look exchanged, asked
// about; 取消 takes nothing, 确定 one undo step.
TEST_F(WorkbenchTest, PastesByTheHeaderOnceShown) {
  const struct {
    const char* clipboard;
    MessageAnswer answer;
    const char* question;    // the start of the question asked; empty: none
    const char* parameters;  // the solve after it; empty: nothing pasted
  } rows[] = {
      {"点名\tX施\tY施\tX测\tY测\r\nA\t0\t0\t1000\t2000\r\nB\t100\t0\t1070.711\t2070.711\r\n",
       MessageAnswer::kOk,
       "按第一行的表头放置各列：\n点名 ← 第 1 列“点名”\n测图X ← 第 4 列“X测”\n"
       "测图Y ← 第 5 列“Y测”\n施工X ← 第 2 列“X施”\n施工Y ← 第 3 列“Y施”\n\n粘贴 2 个点吗？",
       "1000.000161 2000.000161 45."},
      {"点名\tX施\tY施\tX测\tY测\nA\t0\t0\t1000\t2000\nB\t100\t0\t1070.711\t2070.711\n",
       MessageAnswer::kCancel, "按第一行的表头放置各列：", ""},
      {"名称\t测图X\t测图Y\tA\tB\nA\t1000\t2000\t0\t0\nB\t1070.711\t2070.711\t100\t0\n",
       MessageAnswer::kOk, "第一行是表头，但无法全部识别：", "1000.000161 2000.000161 45."},
      {"A\t0\t0\t3400000\t500000\nB\t100\t0\t3400070.711\t500070.711\n", MessageAnswer::kCancel,
       "施工坐标列的数值像是测图坐标", ""},
      {"A\t1000\t2000\t0\t0\nB\t1070.711\t2070.711\t100\t0\n", MessageAnswer::kOk, "",
       "1000.000161 2000.000161 45."},
      // Heights: the plane solve as without them.
      {"点名\tX测\tY测\tH\tX施\tY施\tH\r\nA\t1000\t2000\t12.5\t0\t0\t-0.5\r\n"
       "B\t1070.711\t2070.711\t12.6\t100\t0\t-0.4\r\n",
       MessageAnswer::kOk,
       "按第一行的表头放置各列：\n点名 ← 第 1 列“点名”\n测图X ← 第 2 列“X测”\n"
       "测图Y ← 第 3 列“Y测”\n测图H ← 第 4 列“H”\n施工X ← 第 5 列“X施”\n施工Y ← 第 6 列“Y施”\n"
       "施工H ← 第 7 列“H”\n\n粘贴 2 个点吗？",
       "1000.000161 2000.000161 45."},
      {"A\t1000\t2000\t12.5\t0\t0\t-0.5\nB\t1070.711\t2070.711\t\t100\t0\t\n", MessageAnswer::kOk,
       "没有表头，每行至少 7 列：按表格的顺序（点名、测图X、测图Y、测图H、施工X、施工Y、施工H）"
       "放置各列，第 8 列为角色。\n\n粘贴 2 个点吗？",
       "1000.000161 2000.000161 45."},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.clipboard);
    if (window_.isWindowModified()) platform_.AnswerNextMessage(MessageAnswer::kDiscard);
    window_.NewProject();
    platform_.ClearCalls();
    QApplication::clipboard()->setText(QString::fromUtf8(row.clipboard));
    if (*row.question != 0) platform_.AnswerNextMessage(row.answer);
    window_.PastePoints();
    const auto asked = platform_.CallsOf(CallKind::kMessage);
    if (*row.question == 0) {
      EXPECT_TRUE(asked.empty());
    } else {
      ASSERT_EQ(asked.size(), 1u);
      EXPECT_TRUE(asked[0].prompt.toStdString().starts_with(row.question))
          << asked[0].prompt.toStdString();
    }
    EXPECT_EQ(window_.summary().parameters.toStdString(), row.parameters);
    EXPECT_EQ(window_.undo_stack().count(), *row.parameters == 0 ? 0 : 1);
  }
}

// State: random projects. Action: saved, opened, saved again.
// Expected: the two files byte for byte the same, and the solve the same.
TEST_F(WorkbenchTest, ProjectsRoundTripByteForByte) {
  std::mt19937_64 random(9122026);
  std::uniform_real_distribution<double> unit(0, 1);
  for (int round = 0; round < 20; ++round) {
    std::vector<ProjectPoint> rows;
    const int n = 1 + static_cast<int>(unit(random) * 8);
    for (int i = 0; i < n; ++i) {
      rows.push_back({"点" + std::to_string(i), static_cast<PointRole>(i % 3),
                      FormatPattern(3.4e6 * unit(random), "0.000###"),
                      FormatPattern(5e5 * unit(random), "0.0000"),
                      FormatPattern(1e3 * unit(random), "0.000"),
                      FormatPattern(-1e3 * unit(random), "0.0"),
                      i % 2 ? FormatPattern(50 * unit(random), "0.000") : "",
                      i % 3 ? FormatPattern(-5 * unit(random), "0.00#") : ""});
    }
    window_.NewProject();
    window_.table().SetRows(rows);
    TypeInto("site", QString::fromStdString("工地 " + std::to_string(round)));
    TypeInto("heightOffset", round % 2 ? QStringLiteral("45.300") : QString());
    window_.findChild<QPlainTextEdit*>(QStringLiteral("notes"))
        ->setPlainText(QStringLiteral("第一行\n第二行"));
    ASSERT_TRUE(window_.SaveProjectAs(Path("first.torvane")));
    ASSERT_TRUE(window_.OpenProject(Path("first.torvane")));
    EXPECT_FALSE(window_.isWindowModified());
    EXPECT_EQ(window_.table().rows(), rows);
    ASSERT_TRUE(window_.SaveProjectAs(Path("second.torvane")));
    EXPECT_EQ(Bytes(Path("first.torvane")), Bytes(Path("second.torvane"))) << "round " << round;
  }
}

// State: a damaged file, a foreign one, a newer project, ones too large.
// Action: each opened; then the shown project saved over it. Expected: refused with the
// file's name and why, the window as it was, the file untouched.
TEST_F(WorkbenchTest, RefusesDamagedAndForeignFiles) {
  OpenSavedSite();
  struct Row {
    const char* file;
    QByteArray bytes;
    const char* said;  // after 项目文件“PATH”
  } rows[] = {
      {"damaged.torvane", "{\"format\": \"torvane-project\", \"vers",
       "已损坏：第 36 字节处不是正确的 JSON。"},
      {"foreign.torvane", "{\"type\": \"FeatureCollection\"}\n", "不是 Torvane 项目文件。"},
      {"newer.torvane", "{\"format\": \"torvane-project\", \"version\": 7}\n",
       "由较新版本的 Torvane 保存（项目版本 7），本版本只能读取版本 2。"},
      // A number beyond doubles in a member the workbench ignores;
      // a site's name of 20 MB, beyond the 4 MiB a project may hold;
      // one of 1025 bytes, beyond the 1024 a text may hold.
      {"beyond.torvane", "{\"format\": \"torvane-project\", \"version\": 1, \"x\": -1e400}\n",
       "的内容有误：damaged JSON: a number is beyond the range of doubles"},
      {"huge.torvane",
       "{\"format\": \"torvane-project\", \"version\": 1, \"site\": \"" +
           QByteArray(20 << 20, 'x') + "\"}\n",
       "太大，不是项目文件：项目文件最多 4194304 字节。"},
      {"long.torvane",
       "{\"format\": \"torvane-project\", \"version\": 1, \"site\": \"" + QByteArray(1025, 'x') +
           "\"}\n",
       "的内容有误：site \"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx... "
       "(1025 bytes)\" is longer than 1024 bytes"}};
  for (const Row& row : rows) {
    QFile file(Path(row.file));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(row.bytes);
    file.close();
    EXPECT_FALSE(window_.OpenProject(Path(row.file)));
    const auto messages = platform_.CallsOf(CallKind::kMessage);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().prompt,
              QStringLiteral("项目文件“%1”").arg(QDir::toNativeSeparators(Path(row.file))) +
                  QString::fromUtf8(row.said));
    EXPECT_EQ(Title(), "site[*] - 坐标转换工作台");
    EXPECT_FALSE(window_.SaveProjectAs(Path(row.file)));
    EXPECT_TRUE(platform_.CallsOf(CallKind::kMessage)
                    .back()
                    .prompt.startsWith(
                        QStringLiteral("项目未保存：\n%1: not replaced").arg(Path(row.file))));
    EXPECT_EQ(Bytes(Path(row.file)), row.bytes);
  }
}

// Converts the example points with what the window would convert with now,
// the result beside them; returns the result's bytes.
QByteArray ConvertExample(WorkbenchWindow& window, const QString& folder) {
  const std::optional<ConvertSettings> settings = window.CurrentConvertSettings();
  if (!settings) return "(no settings)";
  auto plan = PlanConvert({(folder + QStringLiteral("/points.csv")).toStdString()}, std::nullopt,
                          settings->conversion, ResultFormat::kTable, kDefaultResultDecimals);
  if (!plan) return "(not planned)";
  ConvertJob job;
  QSignalSpy finished(&job, &ConvertJob::Finished);
  job.Start(*plan);
  if (!finished.wait(60000) || job.outcomes().front().state != FileOutcome::kConverted) {
    return "(not converted)";
  }
  return Bytes(QString::fromStdString(job.outcomes().front().result_path));
}

// State: a four-parameter site with H0 45.3 and a check point. Action: the
// example points converted; the project saved and opened again, converted
// again; the command line's convert --project on the saved file.
// Expected: the three tables byte for byte the same, heights shifted.
TEST_F(WorkbenchTest, ConvertsAlikeBeforeAndAfterReopeningAndAsTheCommandLine) {
  ASSERT_TRUE(QFile::copy(QStringLiteral(TORVANE_EXAMPLES "/points.csv"), Path("points.csv")));
  window_.table().SetRows({{"A", PointRole::kFit, "1000", "2000", "0", "0"},
                           {"B", PointRole::kFit, "1070.712", "2070.710", "100", "0"},
                           {"C", PointRole::kFit, "1000.002", "2141.420", "100", "100"},
                           {"D", PointRole::kCheck, "929.290", "2070.712", "0", "100"}});
  auto* model = window_.findChild<QComboBox*>(QStringLiteral("model"));
  model->setCurrentIndex(1);
  emit model->activated(1);
  TypeInto("heightOffset", QStringLiteral("45.3"));
  const QByteArray before = ConvertExample(window_, folder_.path());
  // III11's H 1215.101 less H0.
  ASSERT_TRUE(before.startsWith("III11") && before.contains(" 1169.8010\r\n"))
      << before.left(200).toStdString();
  ASSERT_TRUE(window_.SaveProjectAs(Path("site.torvane")));
  window_.NewProject();
  ASSERT_TRUE(window_.OpenProject(Path("site.torvane")));
  EXPECT_EQ(ConvertExample(window_, folder_.path()), before);
  QProcess cli;
  cli.start(QStringLiteral(TORVANE_CLI),
            {QStringLiteral("convert"), QStringLiteral("--project=") + Path("site.torvane"),
             QStringLiteral("-o"), Path("cli.txt"), Path("points.csv")});
  ASSERT_TRUE(cli.waitForFinished(30000));
  EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
  EXPECT_EQ(Bytes(Path("cli.txt")), before);
}

// State: a new project, no common points. Action: the help example's
// parameters typed by hand; undone, redone; saved and opened again.
// Expected: the example points convert to the table the classic window
// writes for them; undone, nothing to convert with; the reopened project
// keeps them as typed and converts alike.
TEST_F(WorkbenchTest, ParametersTypedByHandConvertAndStayWithTheProject) {
  ASSERT_TRUE(QFile::copy(QStringLiteral(TORVANE_EXAMPLES "/points.csv"), Path("points.csv")));
  const QByteArray expected = Bytes(QStringLiteral(TORVANE_EXAMPLES "/points-construction.txt"));
  ProjectParams typed;
  typed.texts = {"500", "600", "30.1520"};
  typed.source = ParamSource::kTyped;
  window_.SetTypedParams(typed);
  EXPECT_EQ(ConvertExample(window_, folder_.path()), expected);
  window_.undo_stack().undo();
  EXPECT_EQ(ConvertExample(window_, folder_.path()), "(no settings)");
  window_.undo_stack().redo();
  ASSERT_TRUE(window_.SaveProjectAs(Path("typed.torvane")));
  ASSERT_TRUE(window_.OpenProject(Path("typed.torvane")));
  EXPECT_EQ(window_.CurrentProject().parameters, typed);
  EXPECT_EQ(ConvertExample(window_, folder_.path()), expected);
}

// State: a coordinate and a height that are not numbers; then an empty row
// being typed. Action: saved, each cell typed right in turn. Expected:
// refused, naming the cell, nothing written; once put right, saved without
// the empty row, the height typed in full width kept as the number read.
TEST_F(WorkbenchTest, SavesWholePointsOnly) {
  window_.table().SetRows({{"A", PointRole::kFit, "12a.5", "2000", "0", "0", "", "1o"}, {}});
  const struct {
    int column;
    const char* typed;
    const char* refusal;  // empty: saved
  } rows[] = {
      {kHsColumn, "３．５", "第 1 行 测图X “12a.5” 不是数字"},
      {kXsColumn, "12.5", "第 1 行 施工H “1o” 不是数字"},
      {kHcColumn, "10", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.typed);
    platform_.ClearCalls();
    window_.table().setData(window_.table().index(0, row.column), QString::fromUtf8(row.typed),
                            Qt::EditRole);
    if (*row.refusal == 0) break;
    EXPECT_FALSE(window_.SaveProjectAs(Path("bad.torvane")));
    ASSERT_EQ(platform_.CallsOf(CallKind::kMessage).size(), 1u);
    EXPECT_EQ(platform_.CallsOf(CallKind::kMessage)[0].prompt.toStdString(),
              std::string(row.refusal) + "\n项目只保存完整的点，请先改正。\n项目未保存。");
    EXPECT_FALSE(QFile::exists(Path("bad.torvane")));
  }
  ASSERT_TRUE(window_.SaveProjectAs(Path("bad.torvane")));
  ASSERT_TRUE(window_.OpenProject(Path("bad.torvane")));
  EXPECT_EQ(
      window_.table().rows(),
      (std::vector<ProjectPoint>{{"A", PointRole::kFit, "12.5", "2000", "0", "0", "3.5", "10"}}));
}

// State: a site of four points. Action: 12o3.45%3 typed into a cell, the
// panel's link followed, 转换 and 导出报告 asked for (cancelled, then
// accepted). Expected: the row that drops out of the solve is said in the
// panel and the status bar, its link selects the cell, and 转换 and the
// report ask before using the parameters of the other points; the report
// names the row.
TEST_F(WorkbenchTest, RowsKeptOutOfTheSolveAreSaid) {
  window_.table().SetRows({{"A", PointRole::kFit, "1000", "2000", "0", "0"},
                           {"B", PointRole::kFit, "1070.711", "2070.711", "100", "0"},
                           {"C", PointRole::kFit, "1000.001", "2141.421", "100", "100"},
                           {"D", PointRole::kCheck, "929.290", "2070.712", "0", "100"}});
  auto* status = window_.findChild<QLabel*>(QStringLiteral("leftOut"));
  EXPECT_EQ(status->text().toStdString(), "");
  window_.table().setData(window_.table().index(2, kXcColumn), QStringLiteral("12o3.45%3"),
                          Qt::EditRole);
  EXPECT_EQ(status->text().toStdString(), "1 行不参与计算");
  ASSERT_EQ(window_.summary().left_out.size(), 1u);
  // A "%3" typed is shown as typed, never taken for a place of the message.
  const std::string cell = "第 3 行 施工X “12o3.45%3” 不是数字";
  EXPECT_EQ(window_.summary().left_out[0].message, cell);
  EXPECT_EQ(window_.solve().points.fit.size(), 2u);
  auto* panel = window_.findChild<QLabel*>(QStringLiteral("solution"));
  EXPECT_TRUE(panel->text().contains(QString::fromStdString(cell)));
  emit panel->linkActivated(QStringLiteral("cell:2:%1").arg(kXcColumn));
  auto* table = window_.findChild<QTableView*>(QStringLiteral("points"));
  EXPECT_EQ(table->currentIndex(), window_.table().index(2, kXcColumn));

  const std::string question =
      "1 行不参与计算：\n" + cell + "\n参数只由其余 2 个参与平差的点算得。仍要转换吗？";
  platform_.AnswerNextMessage(MessageAnswer::kCancel);
  EXPECT_FALSE(window_.CurrentConvertSettings().has_value());
  platform_.AnswerNextMessage(MessageAnswer::kOk);
  EXPECT_TRUE(window_.CurrentConvertSettings().has_value());
  const auto asked = platform_.CallsOf(CallKind::kMessage);
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0].prompt.toStdString(), question);
  platform_.AnswerNextMessage(MessageAnswer::kOk);
  ASSERT_TRUE(window_.ExportReport(Path("r.html"), ReportFormat::kHtml));
  QFile html(Path("r.html"));
  ASSERT_TRUE(html.open(QIODevice::ReadOnly));
  EXPECT_TRUE(QString::fromUtf8(html.readAll()).contains(QString::fromStdString(cell)));
}

// State: a solved site. Action: H0 typed, then the project saved and 转换
// asked for. Expected: one rule for the box's colour, saving and
// converting (a "." that the box once marked as no number was saved and
// converted as 0): each either takes the H0 the command line's --dh takes,
// or refuses it with the same words.
TEST_F(WorkbenchTest, OneRuleForH0) {
  // A long text is quoted by its first 60 bytes and its length, as --dh's.
  const std::string long_text(128, 'y'), long_decimals = "0." + std::string(401, '1');
  const struct {
    std::string typed;
    const char* taken;  // nullptr: refused
    std::string refusal;
  } rows[] = {
      {"12.5", "12.5", ""},
      {".", "0", ""},
      // As an input method in full-width mode types it, and grouped in
      // thousands: the number read; a comma out of place: refused as typed.
      {"１２００．５", "1200.5", ""},
      {"1,200.5", "1200.5", ""},
      {"1,2005", nullptr, "±0.000 高程 H0“1,2005”不是数字。"},
      {"", nullptr, ""},
      {"12a", nullptr, "±0.000 高程 H0“12a”不是数字。"},
      {long_text, nullptr, "±0.000 高程 H0“" + std::string(60, 'y') + "... (128 bytes)”不是数字。"},
      {long_decimals, nullptr,
       "±0.000 高程 H0“0." + std::string(58, '1') + "... (403 bytes)”的小数位超过 400 位。"}};
  OpenSavedSite();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.typed);
    platform_.ClearCalls();
    TypeInto("heightOffset", QString::fromStdString(row.typed));
    const bool refused = !row.refusal.empty();
    auto* box = window_.findChild<QLineEdit*>(QStringLiteral("heightOffset"));
    EXPECT_EQ(box->styleSheet().isEmpty(), !refused);
    EXPECT_EQ(window_.SaveProjectAs(Path("h0.torvane")), !refused);
    const std::optional<ConvertSettings> settings = window_.CurrentConvertSettings();
    EXPECT_EQ(settings.has_value(), !refused);
    if (settings) {
      EXPECT_EQ(settings->conversion.height_offset,
                row.taken ? std::optional<std::string>(row.taken) : std::nullopt);
      continue;
    }
    const auto messages = platform_.CallsOf(CallKind::kMessage);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].prompt.toStdString(), row.refusal + "\n项目未保存。");
    EXPECT_EQ(messages[1].prompt.toStdString(), row.refusal + "\n未进行转换。");
  }
}

// State: a site of a fit, a check and an off point. Action: each point
// clicked on the plot. Expected: its row selected (the plot lists fit
// points first, then check, then off ones).
TEST_F(WorkbenchTest, ClickingAPointSelectsItsRow) {
  window_.table().SetRows({{"C", PointRole::kCheck, "1000.001", "2141.421", "100", "100"},
                           {"A", PointRole::kFit, "1000", "2000", "0", "0"},
                           {"D", PointRole::kOff, "929.290", "2070.712", "0", "100"},
                           {"B", PointRole::kFit, "1070.711", "2070.711", "100", "0"}});
  auto* plot = window_.findChild<SitePlotView*>(QStringLiteral("plot"));
  auto* table = window_.findChild<QTableView*>(QStringLiteral("points"));
  const int rows[] = {1, 3, 0, 2};  // the table row of plotted points 0 to 3
  for (std::size_t point = 0; point < 4; ++point) {
    emit plot->PointClicked(point);
    EXPECT_EQ(table->currentIndex().row(), rows[point]) << "point " << point;
  }
}

// State: two projects saved. Expected: the recent list newest first, kept
// in its file for the next start.
TEST_F(WorkbenchTest, RemembersRecentProjects) {
  OpenSavedSite();
  ASSERT_TRUE(window_.SaveProjectAs(Path("other.torvane")));
  const QStringList expected = {QFileInfo(Path("other.torvane")).absoluteFilePath(),
                                QFileInfo(Path("site.torvane")).absoluteFilePath()};
  EXPECT_EQ(window_.recent().paths(), expected);
  EXPECT_EQ(RecentProjects(folder_.filePath(QStringLiteral("recent.txt"))).paths(), expected);
}

// State: the saved site, solved. Action: 导出报告(PDF) through its dialog,
// 导出报告(HTML), 打印报告 to a PDF file, 打印报告 cancelled; then the site's
// name changed and the PDF exported again. Expected: the reports hold the
// panel's RMS; the saved project is their input file until it is changed;
// the printer is chosen through the desktop's print dialog.
TEST_F(WorkbenchTest, ReportsTheSolveShown) {
  OpenSavedSite();
  const std::vector<ReportFigure>& figures = window_.summary().statistics;
  const auto rms = std::find_if(figures.begin(), figures.end(),
                                [](const ReportFigure& f) { return f.label == "中误差"; });
  ASSERT_NE(rms, figures.end());
  const std::string rms_text = rms->value;

  platform_.ChooseNextPaths({Path("r.pdf")});
  window_.ExportReportDialog(ReportFormat::kPdf);
  const auto dialogs = platform_.CallsOf(CallKind::kFileDialog);
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].file_dialog.kind, FileDialogKind::kSave);
  EXPECT_EQ(QFileInfo(dialogs[0].file_dialog.start).fileName().toStdString(),
            "site坐标转换报告.pdf");
  EXPECT_NE(PdfText(Path("r.pdf")).find(rms_text), std::string::npos) << rms_text;
  EXPECT_NE(PdfText(Path("r.pdf")).find("site.torvane"), std::string::npos) << "site.torvane";

  ASSERT_TRUE(window_.ExportReport(Path("r.html"), ReportFormat::kHtml));
  EXPECT_NE(Bytes(Path("r.html")).toStdString().find(rms_text), std::string::npos) << rms_text;

  // The project changed on disk after it was opened: the report stands for
  // the bytes the points came from, sha256sum's of them as opened (a fixed
  // fault: the file was read again and its new bytes hashed).
  const QByteArray opened = Bytes(Path("site.torvane"));
  const std::string opened_sha256 =
      QCryptographicHash::hash(opened, QCryptographicHash::Sha256).toHex().toStdString();
  {
    QFile file(Path("site.torvane"));
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("\n");
  }
  ASSERT_TRUE(window_.ExportReport(Path("later.html"), ReportFormat::kHtml));
  EXPECT_NE(Bytes(Path("later.html")).toStdString().find(opened_sha256), std::string::npos)
      << opened_sha256;

  platform_.PrintNextTo(Path("printed.pdf"));
  window_.PrintReport();
  platform_.PrintNextTo(std::nullopt);
  window_.PrintReport();
  const auto prints = platform_.CallsOf(CallKind::kPrintDialog);
  ASSERT_EQ(prints.size(), 2u);
  EXPECT_TRUE(prints[0].printed);
  EXPECT_FALSE(prints[1].printed);
  // Printed to a file, its text is what is drawn, as an exported PDF's is:
  // with Noto Sans CJK, Qt names 工 by the radical ⼯ it shares a glyph with.
  for (const std::string& drawn : {rms_text, std::string("施工坐标")}) {
    EXPECT_NE(PdfText(Path("printed.pdf")).find(drawn), std::string::npos) << drawn;
  }

  TypeInto("site", QStringLiteral("一号楼"));
  ASSERT_TRUE(window_.ExportReport(Path("changed.pdf"), ReportFormat::kPdf));
  EXPECT_NE(PdfText(Path("changed.pdf")).find("一号楼"), std::string::npos) << "一号楼";
  EXPECT_EQ(PdfText(Path("changed.pdf")).find("site.torvane"), std::string::npos);
  EXPECT_TRUE(platform_.CallsOf(CallKind::kMessage).empty());
}

// State: a saved site. Action: each row's operator typed into 操作员, the
// report exported, the project saved and opened again; then undone.
// Expected: the report names the operator in the title block and on 计算's
// signature line (the login name for an empty box, as before there was a
// box: `root` in a container); the project keeps it, and only when there
// is one (a project without it is byte for byte as before); undo takes it
// back.
TEST_F(WorkbenchTest, OperatorIsTheProjectsAndTheReports) {
  OpenSavedSite();
  const QByteArray before = Bytes(Path("site.torvane"));
  ASSERT_FALSE(before.contains("\"operator\""));
  const struct {
    QString typed;
    std::string shown;  // in the report
    const char* kept;   // in the project file; nullptr: no member
  } rows[] = {{QStringLiteral("李工"), "李工", "\"operator\": \"李工\""},
              {QStringLiteral("  王 五  "), "王 五", "\"operator\": \"王 五\""},
              {QString(), LoginName(), nullptr}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.shown);
    TypeInto("operator", row.typed);
    ASSERT_TRUE(window_.ExportReport(Path("op.html"), ReportFormat::kHtml));
    const std::string html = Bytes(Path("op.html")).toStdString();
    EXPECT_NE(
        html.find("<th class=\"label\">操作员</th><td class=\"value\">" + row.shown + "</td>"),
        std::string::npos);
    EXPECT_NE(html.find("<th class=\"role\">计算</th><td class=\"signer\">" + row.shown + "</td>"),
              std::string::npos);
    ASSERT_TRUE(window_.SaveProjectAs(Path("op.torvane")));
    const QByteArray saved = Bytes(Path("op.torvane"));
    EXPECT_EQ(saved.contains("\"operator\""), row.kept != nullptr);
    if (row.kept) {
      EXPECT_TRUE(saved.contains(row.kept)) << saved.toStdString();
    } else {
      EXPECT_EQ(saved, before);
    }
    ASSERT_TRUE(window_.OpenProject(Path("op.torvane")));
    EXPECT_EQ(window_.findChild<QLineEdit*>(QStringLiteral("operator"))->text().toStdString(),
              row.kept ? row.shown : "");
  }
  TypeInto("operator", QStringLiteral("李工"));
  window_.undo_stack().undo();
  EXPECT_EQ(window_.findChild<QLineEdit*>(QStringLiteral("operator"))->text().toStdString(), "");
}

// State: one fit point, nothing solved. Action: each report command.
// Expected: refused, saying why; no dialog shown, no file written.
TEST_F(WorkbenchTest, RefusesReportsWhenNothingIsSolved) {
  window_.table().SetRows({{"A", PointRole::kFit, "1000", "2000", "0", "0"}});
  platform_.ChooseNextPaths({Path("r.pdf")});
  platform_.PrintNextTo(Path("printed.pdf"));
  const std::function<void()> actions[] = {
      [&] { window_.ExportReportDialog(ReportFormat::kPdf); },
      [&] { window_.ExportReportDialog(ReportFormat::kHtml); },
      [&] { EXPECT_FALSE(window_.ExportReport(Path("r.pdf"), ReportFormat::kPdf)); },
      [&] { window_.PrintReport(); }};
  for (const auto& action : actions) {
    platform_.ClearCalls();
    action();
    ASSERT_EQ(platform_.calls().size(), 1u);
    EXPECT_EQ(platform_.calls()[0].prompt.toStdString(),
              "还没有解算结果，无法生成报告：参与平差的点不足两个，无法计算参数。");
  }
  EXPECT_FALSE(QFile::exists(Path("r.pdf")));
  EXPECT_FALSE(QFile::exists(Path("printed.pdf")));
}

// State: a new project; a workbook chosen in 导入公共点文件's file dialog,
// whose first filter lists workbooks. Action: the import. Expected: how to
// bring the workbook in is shown, before any layout is asked or anything
// read (it was refused as a file to save as CSV 后再转换); the table stays
// empty.
TEST_F(WorkbenchTest, ImportAnswersAWorkbookWithHowToBringItIn) {
  platform_.ChooseNextPaths({Path("控制点.xlsx")});
  window_.ImportPoints();
  const auto dialogs = platform_.CallsOf(CallKind::kFileDialog);
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].file_dialog.title.toStdString(), "导入公共点文件");
  EXPECT_EQ(dialogs[0].file_dialog.filters.value(0).toStdString(),
            "公共点文件 (*.csv *.txt *.dat *.xlsx *.xls *.ods)");
  const auto messages = platform_.CallsOf(CallKind::kMessage);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].prompt.toStdString(),
            "“" + QDir::toNativeSeparators(Path("控制点.xlsx")).toStdString() +
                "”是电子表格工作簿，不能直接导入。请在电子表格软件中选中公共点的单元格复制，"
                "再用“粘贴公共点”（Ctrl+V）粘贴到公共点表中；或把工作簿另存为“CSV (逗号分隔)”或"
                "“Unicode 文本”后导入该文件（Unicode 文本以制表符分隔）。\n未导入公共点。");
  EXPECT_TRUE(window_.table().rows().empty());
}

// The A-B site of the worked example, pasted as a spreadsheet copies it.
constexpr const char* kWorkedExample =
    "A\t1000\t2000\t0\t0\r\n"
    "B\t1070.711\t2070.711\t100\t0\r\n";

// State: started, the window shown and active, a block copied from a
// spreadsheet. Action: Ctrl+V, what a newcomer presses first. Expected: the
// points in the table, 工程 left empty (a fixed fault: the first text box
// held the focus and took the whole block as the site's name).
TEST_F(WorkbenchTest, CtrlVAtStartPastesThePoints) {
  window_.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
  QApplication::clipboard()->setText(QString::fromUtf8(kWorkedExample));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(window_.table().rows().size(), 2u);
  EXPECT_EQ(window_.findChild<QLineEdit*>(QStringLiteral("site"))->text().toStdString(), "");
}

// State: started empty; then each change of the rows. Expected: the
// table's place says how to begin, each way a button that runs the menu's
// own action, until the table has a row; it comes back when the last row
// goes (undo, 新建).
TEST_F(WorkbenchTest, EmptyTableSaysHowToBegin) {
  EXPECT_TRUE(window_.ShowsStartPage());
  auto* page = window_.findChild<QWidget*>(QStringLiteral("startPage"));
  ASSERT_NE(page, nullptr);
  std::vector<QAction*> offered;
  for (auto* button : page->findChildren<QToolButton*>())
    offered.push_back(button->defaultAction());
  const char* menu_actions[] = {"paste", "import", "open", "addRow"};
  ASSERT_EQ(offered.size(), std::size(menu_actions));
  for (std::size_t i = 0; i < offered.size(); ++i) {
    EXPECT_EQ(offered[i], window_.findChild<QAction*>(QString::fromUtf8(menu_actions[i])))
        << menu_actions[i];
  }
  const struct {
    const char* action;
    std::function<void()> act;
    bool start_page;
  } rows[] = {
      {"paste",
       [&] {
         QApplication::clipboard()->setText(QString::fromUtf8(kWorkedExample));
         window_.PastePoints();
       },
       false},
      {"undo the paste", [&] { window_.undo_stack().undo(); }, true},
      {"redo it", [&] { window_.undo_stack().redo(); }, false},
      {"delete both rows",
       [&] {
         window_.table().DeleteRows({0, 1});
       },
       true},
      {"the page's 添加点", [&] { offered[3]->trigger(); }, false},
      {"新建, not saved",
       [&] {
         platform_.AnswerNextMessage(MessageAnswer::kDiscard);
         window_.NewProject();
       },
       true},
  };
  for (const auto& row : rows) {
    row.act();
    EXPECT_EQ(window_.ShowsStartPage(), row.start_page) << row.action;
    EXPECT_EQ(window_.findChild<QTableView*>(QStringLiteral("points"))->isVisibleTo(&window_),
              !row.start_page)
        << row.action;
  }
  OpenSavedSite();
  EXPECT_FALSE(window_.ShowsStartPage());
}

// State: started. Expected: the toolbar holds the main actions, the menus'
// own, by the names a newcomer looks for, each with a tip in Chinese that
// gives its shortcut; 导出报告 offers PDF and HTML.
TEST_F(WorkbenchTest, ToolbarRunsTheMenusActions) {
  auto* tools = window_.findChild<QToolBar*>(QStringLiteral("mainToolBar"));
  ASSERT_NE(tools, nullptr);
  const struct {
    const char* name;
    const char* text;
    const char* tip;
  } rows[] = {
      {"new", "新建", "新建项目（Ctrl+N）"},
      {"open", "打开", "打开项目文件（.torvane）（Ctrl+O）"},
      {"save", "保存", "保存项目（Ctrl+S）"},
      {"paste", "粘贴",
       "粘贴从 Excel 或 WPS 表格复制的公共点：点名、测图X、测图Y、施工X、施工Y（Ctrl+V）"},
      {"import", "导入", "导入公共点文件（CSV 或文本）（Ctrl+I）"},
      {"convertFiles", "转换点文件", "用当前参数转换点文件或 DXF 图形（Ctrl+T）"},
      {"exportPdf", "导出报告", "导出计算报告（PDF）；按右边的箭头可选 HTML"},
  };
  std::vector<QAction*> shown;
  for (QAction* action : tools->actions()) {
    if (action->isSeparator()) continue;
    auto* button = qobject_cast<QToolButton*>(tools->widgetForAction(action));
    shown.push_back(button && button->defaultAction() ? button->defaultAction() : action);
  }
  ASSERT_EQ(shown.size(), std::size(rows));
  for (std::size_t i = 0; i < shown.size(); ++i) {
    SCOPED_TRACE(rows[i].name);
    EXPECT_EQ(shown[i], window_.findChild<QAction*>(QString::fromUtf8(rows[i].name)));
    EXPECT_EQ(shown[i]->iconText().toStdString(), rows[i].text);
    EXPECT_EQ(shown[i]->toolTip().toStdString(), rows[i].tip);
  }
  auto* report = window_.findChild<QToolButton*>(QStringLiteral("exportReport"));
  ASSERT_NE(report, nullptr);
  ASSERT_NE(report->menu(), nullptr);
  EXPECT_EQ(report->menu()->actions(),
            (QList<QAction*>{window_.findChild<QAction*>(QStringLiteral("exportPdf")),
                             window_.findChild<QAction*>(QStringLiteral("exportHtml"))}));
}

// State: started. Action: 帮助 > 使用说明, 帮助 > 关于. Expected: the guide is
// workbench/guide.txt as it stands, which the Windows users' guide made by
// the build holds too, indented, with CR LF, in its part on the workbench;
// 关于 names the program and its version in a box of the platform.
TEST_F(WorkbenchTest, HelpShowsTheGuideOfTheWindowsUsersGuide) {
  const QByteArray guide = Bytes(QStringLiteral(TORVANE_WORKBENCH_GUIDE));
  window_.findChild<QAction*>(QStringLiteral("guide"))->trigger();
  auto* dialog = window_.findChild<QDialog*>(QStringLiteral("guideDialog"));
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->findChild<QPlainTextEdit*>()->toPlainText().toUtf8(), guide);

  const QByteArray users = Bytes(QStringLiteral(TORVANE_USERS_GUIDE));
  QByteArray indented;
  for (const QByteArray& line : guide.chopped(1).split('\n')) indented += "  " + line + "\r\n";
  const qsizetype at = users.indexOf(indented);
  ASSERT_GE(at, 0) << users.toStdString();
  EXPECT_LT(users.indexOf("三、坐标转换工作台"), at);
  EXPECT_EQ(users.indexOf("四、其他"), at + indented.size() + 2);  // after a blank line

  window_.findChild<QAction*>(QStringLiteral("about"))->trigger();
  const auto boxes = platform_.CallsOf(CallKind::kMessage);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title.toStdString(), "关于坐标转换工作台");
  EXPECT_EQ(boxes[0].icon, MessageIcon::kInformation);
  EXPECT_TRUE(
      boxes[0].prompt.startsWith(QStringLiteral("坐标转换工作台\nTorvane " TORVANE_VERSION "\n")))
      << boxes[0].prompt.toStdString();
}

// State: a window the program has told how to open the classic window, and
// one it has not (as in these tests). Action: 窗口 > 经典转换窗口, twice.
// Expected: the program's opener runs each time; without one, no 窗口 menu.
TEST_F(WorkbenchTest, MenuOpensTheClassicWindow) {
  auto* classic = window_.findChild<QAction*>(QStringLiteral("classicWindow"));
  ASSERT_NE(classic, nullptr);
  QMenu* menu = nullptr;
  for (QAction* item : window_.menuBar()->actions()) {
    if (item->menu() && item->menu()->actions().contains(classic)) menu = item->menu();
  }
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->title().toStdString(), "窗口(&W)");
  EXPECT_FALSE(menu->menuAction()->isVisible());
  int opened = 0;
  window_.SetClassicWindow([&opened] { ++opened; });
  EXPECT_TRUE(menu->menuAction()->isVisible());
  classic->trigger();
  classic->trigger();
  EXPECT_EQ(opened, 2);
}

// The parameters' source and figures as ConvertSettings carries them.
std::vector<std::string> ShownParameters(const ConvertSettings& settings) {
  std::vector<std::string> shown = {settings.parameters_source.toStdString()};
  for (const ReportFigure& f : settings.parameter_figures) {
    shown.push_back(f.label + " " + f.value + (f.unit.empty() ? "" : " " + f.unit));
  }
  return shown;
}

// State: the worked example solved, rigid, then four parameters; then
// parameters typed by hand. Action: 转换点文件. Expected: the dialog is
// given the parameters it will use, worded, and with the digits, of the
// panel's figures (the worked example's: the classic window's boxes).
TEST_F(WorkbenchTest, ConvertingShowsTheParametersItUses) {
  QApplication::clipboard()->setText(QString::fromUtf8(kWorkedExample));
  window_.PastePoints();
  std::optional<ConvertSettings> settings = window_.CurrentConvertSettings();
  ASSERT_TRUE(settings);
  EXPECT_EQ(
      ShownParameters(*settings),
      (std::vector<std::string>{"模型：刚体转换（平移、旋转），由 2 个参与平差的点解算",
                                "X0 1000.000161 m", "Y0 2000.000161 m", "旋转角 θ 45. ddd.mmss"}));
  // Each figure as the panel shows the same figure.
  for (const ReportFigure& shown : settings->parameter_figures) {
    const auto& panel = window_.summary().parameter_figures;
    const auto same = std::find_if(panel.begin(), panel.end(),
                                   [&](const ReportFigure& f) { return f.label == shown.label; });
    ASSERT_NE(same, panel.end()) << shown.label;
    EXPECT_EQ(same->value, shown.value) << shown.label;
    EXPECT_EQ(same->unit, shown.unit) << shown.label;
  }
  auto* model = window_.findChild<QComboBox*>(QStringLiteral("model"));
  model->setCurrentIndex(1);
  emit model->activated(1);
  settings = window_.CurrentConvertSettings();
  ASSERT_TRUE(settings);
  const std::vector<std::string> four = ShownParameters(*settings);
  ASSERT_EQ(four.size(), 5u);
  EXPECT_EQ(four[0], "模型：四参数（平移、旋转、尺度），由 2 个参与平差的点解算");
  const auto& panel = window_.summary().parameter_figures;
  const auto scale = std::find_if(panel.begin(), panel.end(),
                                  [](const ReportFigure& f) { return f.label == "尺度 k"; });
  ASSERT_NE(scale, panel.end());
  EXPECT_EQ(four[4], "尺度 k " + scale->value);

  window_.table().SetRows({});
  ProjectParams typed;
  typed.texts = {"500", "600", "30.1520"};
  typed.scale = "1.0001";
  typed.source = ParamSource::kTyped;
  window_.SetTypedParams(typed);
  settings = window_.CurrentConvertSettings();
  ASSERT_TRUE(settings);
  EXPECT_EQ(ShownParameters(*settings),
            (std::vector<std::string>{"手工输入的参数", "X0 500 m", "Y0 600 m",
                                      "旋转角 θ 30.1520 ddd.mmss", "尺度 k 1.0001"}));
}

// State: a site. Action: the project saved, a report exported. Expected:
// the status bar says where each went; its link shows the folder through
// the platform, which records it (no file manager opens in a test).
TEST_F(WorkbenchTest, ExportsSayWhereTheyWrote) {
  OpenSavedSite();
  auto* note = window_.findChild<WrittenNote*>(QStringLiteral("written"));
  ASSERT_NE(note, nullptr);
  const QString folder = QDir::toNativeSeparators(folder_.path());
  const struct {
    const char* action;
    std::function<bool()> act;
    QString said;
  } rows[] = {
      {"保存", [&] { return window_.SaveProject(); },
       QStringLiteral("项目已写到 %1").arg(QDir::toNativeSeparators(Path("site.torvane")))},
      {"导出报告", [&] { return window_.ExportReport(Path("r.html"), ReportFormat::kHtml); },
       QStringLiteral("报告已写到 %1").arg(QDir::toNativeSeparators(Path("r.html")))},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.action);
    platform_.ClearCalls();
    ASSERT_TRUE(row.act());
    QTextDocument shown;
    shown.setHtml(note->text());
    EXPECT_EQ(shown.toPlainText(), row.said + QStringLiteral(" 打开文件夹"));
    emit note->linkActivated(QStringLiteral("0"));
    const auto opened = platform_.CallsOf(CallKind::kOpenFolder);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].path, folder);
  }
}

// A note of files written: one, several in one folder, several in two;
// none leaves the note as it was. Expected texts worked out by hand, as the
// label renders them (its ideographic spaces read back as plain ones).
TEST(WrittenNote, SaysWhatWentWhere) {
  ScriptedPlatform platform;
  WrittenNote note(platform);
  const struct {
    std::vector<std::string> files;
    const char* said;
    QStringList folders;
  } rows[] = {
      {{"/d/site/a转化后成果表.txt"},
       "成果表已写到 /d/site/a转化后成果表.txt 打开文件夹",
       {"/d/site"}},
      {{"/d/site/a.txt", "/d/site/b.txt"}, "2 个成果表已写到 /d/site 打开文件夹", {"/d/site"}},
      {{"/d/a/x.txt", "/d/b/y.txt", "/d/a/z.txt"},
       "3 个成果表已写到 2 个文件夹 打开“/d/a” 打开“/d/b”",
       {"/d/a", "/d/b"}},
      {{}, "3 个成果表已写到 2 个文件夹 打开“/d/a” 打开“/d/b”", {"/d/a", "/d/b"}},
  };
  for (const auto& row : rows) {
    note.ShowWritten(QStringLiteral("成果表"), row.files);
    QTextDocument shown;
    shown.setHtml(note.text());
    EXPECT_EQ(shown.toPlainText().toStdString(), row.said);
    EXPECT_EQ(note.folders(), row.folders);
  }
  emit note.linkActivated(QStringLiteral("1"));
  emit note.linkActivated(QStringLiteral("2"));  // no such link
  const auto opened = platform.CallsOf(ScriptedPlatform::CallKind::kOpenFolder);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].path.toStdString(), "/d/b");
}

// State: the worked example pasted in full width, as an input method in
// full-width mode types it, with thousands separators. Expected: the cells
// show the numbers read, and the site solves to the worked example's
// parameters.
TEST_F(WorkbenchTest, FullWidthAndGroupedNumbersSolveAsTyped) {
  QApplication::clipboard()->setText(
      QStringLiteral("Ａ\t１０００\t２，０００\t０\t０\r\n"
                     "Ｂ\t1,070.711\t２０７０．７１１\t１００\t－０\r\n"));
  window_.PastePoints();
  ASSERT_EQ(window_.table().rows().size(), 2u);
  EXPECT_EQ(window_.table().rows()[0],
            (ProjectPoint{"Ａ", PointRole::kFit, "1000", "2000", "0", "0"}));
  EXPECT_EQ(window_.table().rows()[1],
            (ProjectPoint{"Ｂ", PointRole::kFit, "1070.711", "2070.711", "100", "-0"}));
  EXPECT_EQ(window_.summary().parameters.toStdString(), "1000.000161 2000.000161 45.");
}

// State: 手工输入参数's boxes as typed. Expected: the texts read, full
// width and thousands grouping as in the table's cells; anything else as
// typed, for TypedRunParams to refuse.
TEST(TypedParamsDialog, ReadsNumbersAsTyped) {
  const struct {
    const char *x, *y, *angle, *scale;
    std::array<std::string, 4> read;
  } rows[] = {
      {"３，３８０，０００．１２３",
       "600",
       "３０．１５２０",
       "１",
       {"3380000.123", "600", "30.1520", "1"}},
      {" －500 ", "600,0", "30.1520", ".", {"-500", "600,0", "30.1520", "."}},
  };
  for (const auto& row : rows) {
    TypedParamsDialog dialog(std::nullopt);
    const std::pair<const char*, const char*> boxes[] = {
        {"x_offset", row.x}, {"y_offset", row.y}, {"angle", row.angle}, {"scale", row.scale}};
    for (const auto& [name, text] : boxes) {
      dialog.findChild<QLineEdit*>(QString::fromUtf8(name))->setText(QString::fromUtf8(text));
    }
    const ProjectParams params = dialog.Params();
    EXPECT_EQ((std::array<std::string, 4>{params.texts.x_offset, params.texts.y_offset,
                                          params.texts.angle, params.scale}),
              row.read)
        << row.x;
  }
}

// A Gauss–Krüger site of `count` points, the eastings with their zone
// number (38), the construction grid turned 30° from it; every coordinate
// to the millimetre, `noise_mm` of scatter (a fixed seed), and point
// `blunder` (where given) 16.418 m off in construction X.
std::vector<ProjectPoint> GaussKrugerSite(int count, double noise_mm,
                                          std::optional<int> blunder = std::nullopt) {
  std::mt19937 random(20261209);
  std::normal_distribution<double> scatter(0, noise_mm / 1000);
  const auto fixed = [](double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.3f", value);
    return std::string(text);
  };
  std::vector<ProjectPoint> points;
  const int side = static_cast<int>(std::ceil(std::sqrt(count)));
  for (int i = 0; i < count; ++i) {
    const double north = 3412345.678 + 37.5 * (i / side), east = 38512345.678 + 41.25 * (i % side);
    const double dn = north - 3412000, de = east - 38512000;
    double xc = dn * std::cos(0.5235987756) + de * std::sin(0.5235987756) + scatter(random);
    const double yc = -dn * std::sin(0.5235987756) + de * std::cos(0.5235987756) + scatter(random);
    if (blunder && i == *blunder) xc += 16.418;
    points.push_back({"GK" + std::to_string(i + 1), PointRole::kFit, fixed(north), fixed(east),
                      fixed(xc), fixed(yc)});
  }
  return points;
}

// State: a Gauss–Krüger site of 12 points, one 16 m off (long numbers in
// every column), at the font of 100 %, 125 % and 150 % scaling. Action:
// solved. Expected: nothing elided; every column at least as wide as its
// widest cell (every row measured) and as its heading with room for the
// sort arrow beside the text; the role's editor as wide as it needs; a
// column widened by hand keeps its width over the next solve, one narrowed
// below its content springs back.
TEST_F(WorkbenchTest, EveryColumnShowsItsWidestCellWhole) {
  auto* table = window_.findChild<QTableView*>(QStringLiteral("points"));
  ASSERT_NE(table, nullptr);
  const QAbstractItemView* view = table;                      // where sizeHintForColumn is public
  table->horizontalHeader()->setResizeContentsPrecision(-1);  // every row, for sizeHintForColumn
  table->verticalHeader()->setResizeContentsPrecision(-1);
  const QFont normal = table->font();
  for (const double scale : {1.0, 1.25, 1.5}) {
    SCOPED_TRACE(scale);
    QFont font = normal;
    font.setPointSizeF(normal.pointSizeF() * scale);
    table->setFont(font);
    window_.table().SetRows(GaussKrugerSite(12, 3, 5));
    ASSERT_TRUE(window_.solve().report);
    EXPECT_EQ(table->textElideMode(), Qt::ElideNone);
    QHeaderView* header = table->horizontalHeader();
    ASSERT_TRUE(header->isSortIndicatorShown());
    const int arrow = header->style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, header);
    for (int column = 0; column < kPointColumnCount; ++column) {
      const std::string caption = ColumnCaption(column);
      EXPECT_GE(table->columnWidth(column), view->sizeHintForColumn(column)) << caption;
      const int heading =
          header->fontMetrics().horizontalAdvance(QString::fromUtf8(caption.c_str())) + arrow;
      EXPECT_GT(table->columnWidth(column), heading) << caption;
      EXPECT_GE(table->columnWidth(column), header->sectionSizeHint(column)) << caption;
    }
    // The 16 m miss: its text longer than the coordinate columns' widths
    // were once set for, and shown whole.
    const QString miss = window_.table().index(5, kLeftOutColumn).data().toString();
    EXPECT_GE(miss.size(), 8) << miss.toStdString();
    EXPECT_GT(table->columnWidth(kLeftOutColumn), table->fontMetrics().horizontalAdvance(miss));

    const QModelIndex role = window_.table().index(0, kRoleColumn);
    table->edit(role);
    auto* box = table->viewport()->findChild<QComboBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_GE(box->width(), box->sizeHint().width());
    EXPECT_GE(box->height(), box->sizeHint().height());
    delete box;  // the editor closed

    const int content = table->columnWidth(kNameColumn);
    header->resizeSection(kNameColumn, content + 40);  // as a drag would
    window_.table().setData(window_.table().index(0, kXsColumn), QStringLiteral("3412345.679"),
                            Qt::EditRole);
    EXPECT_EQ(table->columnWidth(kNameColumn), content + 40);
    const int coordinate = table->columnWidth(kXsColumn);
    header->resizeSection(kXsColumn, 10);
    EXPECT_EQ(table->columnWidth(kXsColumn), coordinate);
    header->resizeSection(kNameColumn, content);  // as it was, for the next scale
  }
  table->setFont(normal);
}

// State: the window as it opens. Expected: it fits the screen it is on,
// and its least size fits a 1280 x 800 screen at 150 % (853 x 533 units
// of the window, less a title bar of 30).
TEST_F(WorkbenchTest, FitsASmallScaledScreen) {
  const QRect free = window_.screen()->availableGeometry();
  EXPECT_LE(window_.width(), free.width());
  EXPECT_LE(window_.height(), free.height());
  const QSize least = window_.minimumSizeHint();
  EXPECT_LE(least.width(), 1280 * 2 / 3) << least.width();
  EXPECT_LE(least.height(), 800 * 2 / 3 - 30) << least.height();
}

// State: a site of 10,000 points, a few beyond three times the RMS (their
// names listed above the blunder lines). Action: solved, the window shown.
// Expected: the results panel scrolled so that 粗差判断 and 剔除检验结论
// are in view, whole; and again after a sort solves anew.
TEST_F(WorkbenchTest, BlunderLinesInViewAtTenThousandPoints) {
  window_.show();
  window_.table().SetRows(GaussKrugerSite(10000, 5));
  ASSERT_TRUE(window_.solve().report);
  auto* panel = window_.findChild<QScrollArea*>(QStringLiteral("solutionPanel"));
  ASSERT_NE(panel, nullptr);
  // Solved again, as a sort does: the panel's lines made anew, in view
  // again without waiting for the events queued.
  for (const char* action : {"solved", "sorted by name"}) {
    if (std::string(action) == "sorted by name")
      window_.table().sort(kNameColumn, Qt::DescendingOrder);
    const std::vector<QLabel*> lines = static_cast<SolvePanel*>(panel)->BlunderLines();
    ASSERT_EQ(lines.size(), 2u) << action;
    EXPECT_GT(panel->verticalScrollBar()->value(), 0) << action;  // below the first view
    for (QLabel* line : lines) {
      const QRect at(line->mapTo(panel->viewport(), QPoint(0, 0)), line->size());
      EXPECT_TRUE(line->isVisible()) << action;
      EXPECT_TRUE(panel->viewport()->rect().contains(at))
          << action << ": " << line->text().toStdString() << " at " << at.y() << "+" << at.height()
          << " of " << panel->viewport()->height();
    }
  }
  // A row that takes no part: its note, atop the panel, comes first.
  window_.table().setData(window_.table().index(2, kXsColumn), QStringLiteral("12o3.45"),
                          Qt::EditRole);
  EXPECT_EQ(panel->verticalScrollBar()->value(), 0);
  window_.hide();
}

}  // namespace
}  // namespace torvane
