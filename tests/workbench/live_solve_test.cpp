// The workbench's live solve against `torvane-cli solve --points` on the
// same points and roles: every number the window shows is the command
// line's, digit for digit, on the README's examples and on random sites
// in both models. The command line's report is the independent reference:
// its text is parsed here, not made by the same code path.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "desktop/scripted_platform.h"
#include "number/pattern.h"
#include "workbench/solve_summary.h"
#include "workbench/workbench_window.h"

namespace torvane {
namespace {

struct CliReport {
  int exit_status = 0;
  QByteArray text;
  std::vector<std::string> lines;
  // The residual table: each point's cells after its name.
  std::map<std::string, std::vector<std::string>> residuals;
  // The table of points left out: each fit point's cells after its name.
  std::map<std::string, std::vector<std::string>> left_out;
};

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// Runs the command line on the rows, with the off rows excluded and the
// check rows as check points.
CliReport RunCli(const std::vector<ProjectPoint>& rows, FitModel model, const QString& folder) {
  const QString file = folder + QStringLiteral("/points.csv");
  std::ofstream out(file.toStdString(), std::ios::binary);
  std::string excluded, check;
  for (const ProjectPoint& p : rows) {
    out << p.name << ',' << p.xs << ',' << p.ys << ',' << p.xc << ',' << p.yc << '\n';
    std::string& list = p.role == PointRole::kOff ? excluded : check;
    if (p.role != PointRole::kFit) list += (list.empty() ? "" : ",") + p.name;
  }
  out.close();
  QStringList arguments = {QStringLiteral("solve"), QStringLiteral("--points=") + file};
  if (model == FitModel::kSimilarity) arguments << QStringLiteral("--model=similarity");
  if (!excluded.empty())
    arguments << QStringLiteral("--exclude=") + QString::fromStdString(excluded);
  if (!check.empty())
    arguments << QStringLiteral("--check-points=") + QString::fromStdString(check);
  QProcess cli;
  cli.start(QStringLiteral(TORVANE_CLI), arguments);
  EXPECT_TRUE(cli.waitForFinished(30000)) << TORVANE_CLI;
  CliReport report;
  report.exit_status = cli.exitCode();
  report.text = cli.readAllStandardOutput();
  std::istringstream text(report.text.toStdString());
  std::map<std::string, std::vector<std::string>>* table = nullptr;
  for (std::string line; std::getline(text, line);) {
    report.lines.push_back(line);
    if (line.starts_with("Residuals in the survey grid")) {
      table = &report.residuals;
      std::getline(text, line);  // the heading
    } else if (line.starts_with("Each fit point left out")) {
      table = &report.left_out;
      std::getline(text, line);
    } else if (table && (line.starts_with("RMS ") || line.starts_with("Blunder test "))) {
      report.lines.push_back(line);
      table = nullptr;
    } else if (table) {
      std::vector<std::string> words = Words(line);
      (*table)[words.front()] = {words.begin() + 1, words.end()};
    }
  }
  return report;
}

// The text after `prefix` on the report's line that starts with it, up to `end`.
std::string After(const CliReport& report, const std::string& prefix, const std::string& end) {
  for (const std::string& line : report.lines) {
    if (!line.starts_with(prefix)) continue;
    const std::string rest = line.substr(prefix.size());
    return rest.substr(0, rest.find(end));
  }
  return "(no line " + prefix + ")";
}

// The value the panel shows beside `label`, or "(not shown)".
std::string Shown(const SolveSummary& summary, const std::string& label) {
  for (const auto* figures : {&summary.parameter_figures, &summary.statistics}) {
    for (const ReportFigure& figure : *figures) {
      if (figure.label == label) return figure.value;
    }
  }
  return "(not shown)";
}

// Every number the window shows for `rows` against the command line's
// report, and the report of the project it saves.
void ExpectSameAsCli(WorkbenchWindow& window, const std::vector<ProjectPoint>& rows, FitModel model,
                     const QString& folder, const std::string& site, bool project = true) {
  SCOPED_TRACE(site);
  window.table().SetRows(rows);
  if ((window.CurrentProject().model == FitModel::kSimilarity) !=
      (model == FitModel::kSimilarity)) {
    window.findChild<QComboBox*>(QStringLiteral("model"))
        ->setCurrentIndex(model == FitModel::kSimilarity ? 1 : 0);
    emit window.findChild<QComboBox*>(QStringLiteral("model"))
        ->activated(model == FitModel::kSimilarity ? 1 : 0);
  }
  const CliReport cli = RunCli(rows, model, folder);
  const SolveSummary& s = window.summary();
  if (cli.exit_status != 0) {
    EXPECT_FALSE(s.failure.isEmpty()) << "the command line failed, the window solved";
    return;
  }
  ASSERT_TRUE(s.failure.isEmpty()) << s.failure.toStdString();
  ASSERT_FALSE(cli.lines.empty());
  EXPECT_EQ(s.parameters.toStdString(), cli.lines.front());
  EXPECT_EQ(Shown(s, "旋转角 θ（十进制度）") + "°",
            After(cli, "Rotation: ", " (").substr(After(cli, "Rotation: ", " (").find("= ") + 2));
  const std::string scale = After(cli, "Scale: ", "\n");
  EXPECT_EQ(Shown(s, "尺度 k"),
            model == FitModel::kSimilarity ? scale.substr(0, scale.find(' ')) : "(not shown)");
  if (model == FitModel::kSimilarity) {
    const std::size_t ppm = scale.find("= ") + 2;
    EXPECT_EQ(Shown(s, "尺度 k − 1"), scale.substr(ppm, scale.find(" ppm") - ppm));
    const std::size_t error = scale.find("standard error ");
    EXPECT_EQ(Shown(s, "尺度的标准误差"),
              error == std::string::npos
                  ? "(not shown)"
                  : scale.substr(error + 15, scale.find(' ', error + 15) - error - 15));
  }
  EXPECT_EQ(Shown(s, "中误差"), After(cli, "RMS ", " mm"));
  const std::string check_rms = After(cli, "Check points: RMS ", " mm");
  EXPECT_EQ(Shown(s, "检核点中误差"),
            check_rms.starts_with("(no line") ? "(not shown)" : check_rms);
  // "Largest standardized residual K3 1.23," against 最大标准化残差（K3） 1.23.
  const std::vector<std::string> largest_w =
      Words(After(cli, "Largest standardized residual ", ","));
  EXPECT_EQ(Shown(s, "最大标准化残差（" + largest_w.front() + "）"),
            largest_w.size() == 2 ? largest_w[1] : "(not shown)");
  const std::string f = After(cli, "F = ", ",");
  EXPECT_EQ(Shown(s, "F"), f.starts_with("(no line") ? "(not shown)" : f);
  if (project) {
    // The project the window saves gives the command line the same report.
    const QString file = folder + QStringLiteral("/site.torvane");
    ASSERT_TRUE(window.SaveProjectAs(file));
    QProcess solve;
    solve.start(QStringLiteral(TORVANE_CLI),
                {QStringLiteral("solve"), QStringLiteral("--project=") + file});
    ASSERT_TRUE(solve.waitForFinished(30000));
    EXPECT_EQ(solve.readAllStandardOutput(), cli.text);
  }
  const std::vector<RowResult> results = RowResults(window.solve(), rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto cells = cli.residuals.find(rows[i].name);
    ASSERT_NE(cells, cli.residuals.end()) << rows[i].name;
    const std::vector<std::string>& c = cells->second;
    EXPECT_EQ(results[i].dx.toStdString(), c[0]) << rows[i].name;
    EXPECT_EQ(results[i].dy.toStdString(), c[1]) << rows[i].name;
    EXPECT_EQ(results[i].length.toStdString(), c[2]) << rows[i].name;
    if (rows[i].role == PointRole::kFit && c.size() >= 5) {
      EXPECT_EQ(results[i].wx.toStdString(), c[3]) << rows[i].name;
      EXPECT_EQ(results[i].wy.toStdString(), c[4]) << rows[i].name;
    }
    // Left out: length, tX, tY and F, or "-" for each, and "blunder".
    const auto out = cli.left_out.find(rows[i].name);
    if (rows[i].role != PointRole::kFit || out == cli.left_out.end()) {
      EXPECT_TRUE(results[i].f.isEmpty() || rows[i].role != PointRole::kFit) << rows[i].name;
      continue;
    }
    const std::vector<std::string>& o = out->second;
    EXPECT_EQ(results[i].left_out.toStdString(), o[2]) << rows[i].name;
    EXPECT_EQ(results[i].tx.toStdString(), o[3]) << rows[i].name;
    EXPECT_EQ(results[i].ty.toStdString(), o[4]) << rows[i].name;
    EXPECT_EQ(results[i].f.toStdString(), o[5]) << rows[i].name;
    EXPECT_EQ(results[i].tested_blunder, o.back() == "blunder") << rows[i].name;
  }
  // "Blunder test at 5 % ...: F(2, 7) 12.404, no blunder" against the
  // panel's critical value and verdict.
  const std::string test = After(cli, "Blunder test at ", "\n");
  if (test.starts_with("(no line")) {
    EXPECT_EQ(Shown(s, "剔除检验结论"), "(not shown)");
    return;
  }
  const std::vector<std::string> words = Words(test.substr(test.find("): F(") + 3));
  EXPECT_EQ(Shown(s, "剔除检验 " + words[0] + ' ' + words[1] + " 临界值（5 %，" +
                         std::to_string(cli.left_out.size()) + " 点 Bonferroni 校正）"),
            words[2].substr(0, words[2].size() - 1));
  EXPECT_EQ(Shown(s, "剔除检验结论").starts_with("粗差："), !test.ends_with(", no blunder"));
}

std::string Text(double value, const char* pattern) { return FormatPattern(value, pattern); }

// A random site: 2 to 12 fit points over 50 m to 2 km, some check and off
// points, Gauss–Krüger or local survey coordinates, any rotation, a scale
// within 100 ppm, millimetre noise and now and then a blunder.
std::vector<ProjectPoint> RandomSite(std::mt19937_64& random) {
  std::uniform_real_distribution<double> unit(0, 1);
  const bool gauss_kruger = unit(random) < 0.5;
  const double x0 = gauss_kruger ? 2.5e6 + 3e6 * unit(random) : 5000 * unit(random);
  const double y0 = gauss_kruger ? 3.85e7 + 4e5 * unit(random) : 5000 * unit(random);
  const double theta = 2 * M_PI * unit(random);
  const double scale = 1 + 1e-4 * (unit(random) - 0.5);
  const double extent = 50 + 1950 * unit(random);
  const int fit = 2 + static_cast<int>(unit(random) * 11);
  const int others = static_cast<int>(unit(random) * 4);
  std::normal_distribution<double> noise(0, 0.003);
  std::vector<ProjectPoint> rows;
  for (int i = 0; i < fit + others; ++i) {
    const double xc = extent * unit(random), yc = extent * unit(random);
    double xs = x0 + scale * (xc * std::cos(theta) - yc * std::sin(theta)) + noise(random);
    const double ys = y0 + scale * (xc * std::sin(theta) + yc * std::cos(theta)) + noise(random);
    if (unit(random) < 0.05) xs += 0.05;  // a blunder
    ProjectPoint p;
    p.name = (i % 5 == 4 ? "控制点" : "P") + std::to_string(i + 1);
    p.role = i < fit ? PointRole::kFit : (i % 2 ? PointRole::kCheck : PointRole::kOff);
    p.xs = Text(xs, "0.000");
    p.ys = Text(ys, "0.000");
    p.xc = Text(xc, "0.0000");
    p.yc = Text(yc, "0.0000");
    rows.push_back(p);
  }
  return rows;
}

class SiteSolveTest : public ::testing::Test {
 protected:
  QTemporaryDir folder_;
  ScriptedPlatform platform_;
  WorkbenchWindow window_{platform_, folder_.filePath(QStringLiteral("recent.txt"))};
};

// State: the README's control points, K2 a check point, K5 off.
// Action: solved in each model. Expected: the command line's numbers.
TEST_F(SiteSolveTest, ShowsTheCommandLinesNumbersForTheExamples) {
  std::vector<ProjectPoint> rows;
  std::ifstream in(std::string(TORVANE_EXAMPLES) + "/control-points.csv");
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> cells;
    std::istringstream fields(line);
    for (std::string cell; std::getline(fields, cell, ',');) {
      cells.push_back(cell.substr(cell.find_first_not_of(' ')));
    }
    rows.push_back({cells[0], PointRole::kFit, cells[1], cells[2], cells[3], cells[4]});
  }
  ASSERT_GE(rows.size(), 5u);
  rows[1].role = PointRole::kCheck;
  rows[4].role = PointRole::kOff;
  for (FitModel model : {FitModel::kRigid, FitModel::kSimilarity}) {
    ExpectSameAsCli(window_, rows, model, folder_.path(), "control-points.csv");
  }
}

// State: 200 random sites (seed fixed). Action: each solved rigid and
// with four parameters. Expected: the command line's numbers, every one;
// every fifth site's saved project gives the command line the same report.
TEST_F(SiteSolveTest, ShowsTheCommandLinesNumbersOnRandomSites) {
  std::mt19937_64 random(20261209);
  for (int site = 0; site < 200; ++site) {
    const std::vector<ProjectPoint> rows = RandomSite(random);
    for (FitModel model : {FitModel::kRigid, FitModel::kSimilarity}) {
      ExpectSameAsCli(window_, rows, model, folder_.path(), "random site " + std::to_string(site),
                      site % 5 == 0);
    }
    if (HasFailure()) break;
  }
}

bool WarnsSwapped(const SolveSummary& summary) {
  for (const QString& warning : summary.warnings) {
    if (warning.contains(QStringLiteral("对调"))) return true;
  }
  return false;
}

// State: random sites of three fit points or more, the construction grid's
// X and Y exchanged. Expected: warned, naming the grid where the survey
// grid is Gauss–Krüger. State: 1,000 ordinary random sites. Expected: none
// warned.
TEST_F(SiteSolveTest, WarnsOfSwappedAxesOnlyWhereTheyAre) {
  std::mt19937_64 random(777);
  int swapped = 0;
  while (swapped < 50) {
    std::vector<ProjectPoint> rows = RandomSite(random);
    if (rows.size() < 3 || rows[2].role != PointRole::kFit) continue;
    for (ProjectPoint& p : rows) std::swap(p.xc, p.yc);
    window_.table().SetRows(rows);
    const SolveSummary& s = window_.summary();
    EXPECT_TRUE(WarnsSwapped(s)) << "swapped site " << swapped << ": "
                                 << s.warnings.join(QStringLiteral(" | ")).toStdString();
    if (rows[0].ys.size() > 9) {  // Gauss–Krüger, zone number in front: north first
      EXPECT_TRUE(s.warnings.join(QString()).contains(QStringLiteral("施工坐标的 X、Y")));
    }
    ++swapped;
  }
  for (int site = 0; site < 1000; ++site) {
    window_.table().SetRows(RandomSite(random));
    EXPECT_FALSE(WarnsSwapped(window_.summary())) << "ordinary site " << site;
  }
}

}  // namespace
}  // namespace torvane

namespace torvane {
namespace {

// The value the panel shows for the heights beside `label`, or "(not shown)".
std::string ShownHeight(const SolveSummary& summary, const std::string& label) {
  for (const auto* figures : {&summary.height_parameters, &summary.height_statistics}) {
    for (const ReportFigure& figure : *figures) {
      if (figure.label == label) return figure.value;
    }
  }
  return "(not shown)";
}

void ChooseHeights(WorkbenchWindow& window, HeightChoice choice) {
  auto* box = window.findChild<QComboBox*>(QStringLiteral("heightModel"));
  box->setCurrentIndex(static_cast<int>(choice));
  emit box->activated(static_cast<int>(choice));
}

// State: the command line's worked heights (solve_points.yaml): A to E fit
// points whose d = Hs − Hc is the plane 1.5 + 0.0002·(X − 1050) −
// 0.0001·(Y − 2050) m but for E 3.2 mm off it, F a check point 50 m beyond
// their hull, G a fit point without heights. Action: each height model
// chosen. Expected: the worked figures, as the command line prints them;
// G named as taking no part.
TEST_F(SiteSolveTest, HeightFiguresOfEachModel) {
  const std::vector<ProjectPoint> rows = {
      {"A", PointRole::kFit, "1000", "2000", "0", "0", "10.000", "8.505"},
      {"B", PointRole::kFit, "1100", "2000", "100", "0", "10.000", "8.485"},
      {"C", PointRole::kFit, "1000", "2100", "0", "100", "10.000", "8.515"},
      {"D", PointRole::kFit, "1100", "2100", "100", "100", "10.000", "8.495"},
      {"E", PointRole::kFit, "1050", "2050", "50", "50", "10.000", "8.496"},
      {"F", PointRole::kCheck, "1050", "2150", "50", "150", "10.000", "8.508"},
      {"G", PointRole::kFit, "1000", "2050", "0", "50", "", ""}};
  window_.table().SetRows(rows);
  const struct {
    HeightChoice choice;
    std::string label, value;  // "(not shown)" for a figure not shown
  } expected[] = {
      {HeightChoice::kNone, "高程模型", "(not shown)"},
      // auto: the plane, its F test against the offset significant.
      {HeightChoice::kAuto, "高程模型", "自动：平面拟合"},
      {HeightChoice::kAuto, "选择依据",
       "坡度相对常数改正显著，且 5 个点多于平面 3 个参数的 1.5 倍"},
      {HeightChoice::kAuto, "重心 X̄", "1050.0000"},
      {HeightChoice::kAuto, "常数 a0", "1.500800"},
      {HeightChoice::kAuto, "X 向坡度", "20.000"},
      {HeightChoice::kAuto, "Y 向坡度", "-10.000"},
      {HeightChoice::kAuto, "高程中误差", "2.530"},
      {HeightChoice::kAuto, "高程最大残差（E）", "3.200"},
      {HeightChoice::kAuto, "高程剔除检验 F(1, 1) 临界值（5 %，5 点 Bonferroni 校正）", "4052.181"},
      {HeightChoice::kAuto, "高程剔除检验结论", "粗差：E"},
      {HeightChoice::kAuto, "平面对常数改正 F 检验",
       "F = 39.06，F(2, 2) 的 95 % 分位数 19.000：坡度显著"},
      {HeightChoice::kAuto, "曲面对平面 F 检验", "点数太少，未检验"},
      {HeightChoice::kAuto, "高程检核点最大不符（F）", "1.200"},
      {HeightChoice::kAuto, "超出拟合点范围的检核点", "F 50.0000 m"},
      // The plane chosen: the same fit, chosen by hand.
      {HeightChoice::kPlane, "高程模型", "平面拟合"},
      {HeightChoice::kPlane, "选择依据", "手工选择"},
      {HeightChoice::kPlane, "高程最大残差（E）", "3.200"},
      // The offset: a0 the mean 7.504/5 m, C's −15.8 mm the largest, F
      // 1.492 − 1.5008 m; no slopes.
      {HeightChoice::kOffset, "常数 a0", "1.500800"},
      {HeightChoice::kOffset, "X 向坡度", "(not shown)"},
      {HeightChoice::kOffset, "高程最大残差（C）", "-15.800"},
      {HeightChoice::kOffset, "高程检核点最大不符（F）", "-8.800"},
      // The quadric: 5 points for its 6 terms.
      {HeightChoice::kQuadric, "高程模型", "(not shown)"},
  };
  // The panel's grid, its labels kept from one solve to the next: a label
  // and its value for each figure, and the 高程 heading, nothing left over.
  const auto panel_labels = [&] {
    std::vector<std::string> texts;
    for (const QLabel* label :
         window_.findChild<QWidget*>(QStringLiteral("figures"))->findChildren<QLabel*>()) {
      texts.push_back(label->text().toStdString());
    }
    return texts;
  };
  for (const auto& row : expected) {
    ChooseHeights(window_, row.choice);
    SCOPED_TRACE(static_cast<int>(row.choice));
    const SolveSummary& s = window_.summary();
    EXPECT_EQ(ShownHeight(s, row.label), row.value) << row.label;
    const std::vector<std::string> texts = panel_labels();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), row.label), row.value != "(not shown)")
        << row.label;
    const std::size_t figures = s.parameter_figures.size() + s.statistics.size() +
                                s.height_parameters.size() + s.height_statistics.size();
    EXPECT_EQ(texts.size(), 2 * figures + !s.height_parameters.empty());
  }
  const struct {
    HeightChoice choice;
    std::string failure, without;
  } remarks[] = {
      {HeightChoice::kNone, "", ""},
      {HeightChoice::kOffset, "", "第 7 行缺少两套高程，不参与高程拟合"},
      {HeightChoice::kQuadric,
       "高程模型“曲面拟合”无法拟合：需要至少 6 个两套高程都有的参与平差点，现有 5 个",
       "第 7 行缺少两套高程，不参与高程拟合"},
  };
  for (const auto& row : remarks) {
    ChooseHeights(window_, row.choice);
    EXPECT_EQ(window_.summary().height_failure.toStdString(), row.failure);
    EXPECT_EQ(window_.summary().rows_without_heights.toStdString(), row.without);
  }
  // The plane's figures are those without heights.
  EXPECT_EQ(Shown(window_.summary(), "中误差"), "0.000");
  // Converting: the model fitted goes with the settings, with the fit
  // points' hull (A to D, the corners); none where none is fitted; H0 typed
  // beside a model chosen is refused, said in a message.
  const struct {
    HeightChoice choice;
    const char* h0;
    bool converts;
    std::optional<HeightModel> model;
    std::size_t hull = 0;
  } converting[] = {
      {HeightChoice::kNone, "", true, std::nullopt},
      {HeightChoice::kPlane, "", true, HeightModel::kPlane, 4},
      {HeightChoice::kAuto, "", true, HeightModel::kPlane, 4},
      {HeightChoice::kQuadric, "", true, std::nullopt},
      {HeightChoice::kPlane, "45.3", false, std::nullopt},
      {HeightChoice::kNone, "45.3", true, std::nullopt},
  };
  auto* h0 = window_.findChild<QLineEdit*>(QStringLiteral("heightOffset"));
  for (const auto& row : converting) {
    SCOPED_TRACE(static_cast<int>(row.choice));
    ChooseHeights(window_, row.choice);
    h0->setText(QString::fromUtf8(row.h0));
    emit h0->editingFinished();
    const std::size_t messages = platform_.CallsOf(ScriptedPlatform::CallKind::kMessage).size();
    const std::optional<ConvertSettings> settings = window_.CurrentConvertSettings();
    ASSERT_EQ(settings.has_value(), row.converts);
    EXPECT_EQ(platform_.CallsOf(ScriptedPlatform::CallKind::kMessage).size(),
              messages + (row.converts ? 0 : 1));
    if (!settings) continue;
    const auto& model = settings->conversion.height_model;
    EXPECT_EQ(model ? std::optional(model->model) : std::nullopt, row.model);
    EXPECT_EQ(settings->conversion.height_hull.size(), row.hull);
  }
  h0->clear();
  emit h0->editingFinished();
  // The report's height section, auto's figures and every height point's
  // row: name, role, Hs, Hc, residual, w, miss left out, t, F, mark.
  ChooseHeights(window_, HeightChoice::kAuto);
  const QString html = folder_.filePath(QStringLiteral("heights.html"));
  ASSERT_TRUE(window_.ExportReport(html, ReportFormat::kHtml));
  QFile file(html);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const std::string page = file.readAll().toStdString();
  for (const char* held :
       {"<th class=\"label\">高程剔除检验结论</th><td class=\"value\">粗差：E</td>",
        "<td class=\"name\">E</td><td class=\"role\">参与平差</td><td class=\"hs\">10</td>"
        "<td class=\"hc\">8.496</td><td class=\"dh\">3.200</td><td class=\"w\">1.41</td>"
        "<td class=\"left-out\">4.000</td><td class=\"t\">7155.42</td>"
        "<td class=\"f\">51200000.00</td><td class=\"mark\">粗差</td>",
        "<td class=\"name\">F</td><td class=\"role\">检核</td><td class=\"hs\">10</td>"
        "<td class=\"hc\">8.508</td><td class=\"dh\">1.200</td><td class=\"w\">-</td>",
        "按拟合的高程模型（平面拟合）"}) {
    EXPECT_NE(page.find(held), std::string::npos) << held;
  }
}

// State: the README's control points with heights. Action: auto, then each
// model. Expected: the terms, RMS and F tests the command line prints for
// the same points and model, digit for digit.
TEST_F(SiteSolveTest, HeightFiguresAreTheCommandLines) {
  std::vector<ProjectPoint> rows;
  std::ifstream in(std::string(TORVANE_EXAMPLES) + "/control-heights.csv");
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> cells;
    std::istringstream fields(line);
    for (std::string cell; std::getline(fields, cell, ',');) {
      cells.push_back(cell.substr(cell.find_first_not_of(' ')));
    }
    rows.push_back(
        {cells[0], PointRole::kFit, cells[1], cells[2], cells[4], cells[5], cells[3], cells[6]});
  }
  ASSERT_GE(rows.size(), 10u);
  window_.table().SetRows(rows);
  const QString file =
      QString::fromStdString(std::string(TORVANE_EXAMPLES) + "/control-heights.csv");
  for (const auto& [choice, option] :
       {std::pair{HeightChoice::kAuto, "auto"}, std::pair{HeightChoice::kOffset, "offset"},
        std::pair{HeightChoice::kPlane, "plane"}, std::pair{HeightChoice::kQuadric, "quadric"}}) {
    SCOPED_TRACE(option);
    ChooseHeights(window_, choice);
    QProcess cli;
    cli.start(QStringLiteral(TORVANE_CLI),
              {QStringLiteral("solve"), QStringLiteral("--points=") + file,
               QStringLiteral("--columns=name,xs,ys,hs,xc,yc,hc"),
               QStringLiteral("--height-model=") + QString::fromLatin1(option)});
    ASSERT_TRUE(cli.waitForFinished(30000));
    CliReport report;
    std::istringstream text(cli.readAllStandardOutput().toStdString());
    // The height section only: from its first line on.
    bool heights = false;
    for (std::string line; std::getline(text, line);) {
      heights = heights || line.starts_with("Heights: ");
      if (heights) report.lines.push_back(line);
    }
    const SolveSummary& s = window_.summary();
    // "Terms about the centroid X 3475.3346, Y 5308.4320 m: a0 2.110 m, ..."
    const std::string terms = After(report, "Terms about the centroid X ", "\n");
    ASSERT_FALSE(terms.starts_with("(no line"));
    EXPECT_EQ(ShownHeight(s, "重心 X̄"), terms.substr(0, terms.find(',')));
    const std::string a0 = terms.substr(terms.find("a0 ") + 3);
    EXPECT_EQ(ShownHeight(s, "常数 a0"), a0.substr(0, a0.find(' ')));
    if (terms.find("slope X ") != std::string::npos) {
      const std::string slope = terms.substr(terms.find("slope X ") + 8);
      EXPECT_EQ(ShownHeight(s, "X 向坡度"), slope.substr(0, slope.find(' ')));
    }
    // "RMS 1.234 mm (over 8 redundant), largest K5 -2.000 mm"
    const std::string rms = After(report, "RMS ", " mm");
    EXPECT_EQ(ShownHeight(s, "高程中误差"), rms);
    const std::vector<std::string> largest =
        Words(After(report, "RMS ", "\n").substr(After(report, "RMS ", "\n").find("largest ") + 8));
    EXPECT_EQ(ShownHeight(s, "高程最大残差（" + largest[0] + "）"), largest[1]);
    const std::string f = After(report, "Plane against offset: F = ", ",");
    EXPECT_EQ(ShownHeight(s, "平面对常数改正 F 检验").substr(4, f.size()), f);
  }
}

}  // namespace
}  // namespace torvane
