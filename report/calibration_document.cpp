#include "report/calibration_document.h"

#include <array>
#include <cassert>
#include <cmath>
#include <iterator>

#include "fit/proj_pipeline.h"
#include "fit/site_warnings.h"
#include "number/number_text.h"
#include "params/dms.h"
#include "params/millimetre_text.h"
#include "report/fit_figures.h"
#include "report/site_wording.h"
#include "site/point_role.h"

namespace torvane {
namespace {

constexpr std::string_view kRigidName = "刚体（尺度 1）", kSimilarityName = "四参数（相似变换）";

std::string ModelName(FitModel model) {
  return std::string(model == FitModel::kSimilarity ? kSimilarityName : kRigidName);
}

// A coordinate as read, metres: the shortest text of at most 15
// significant digits, as a number typed with them reads back.
std::string CoordinateFigure(double metres) {
  return (std::signbit(metres) && metres != 0 ? "-" : "") + PlainDecimal15(std::fabs(metres));
}

// The model, why it is the model, and how heights are taken.
std::vector<ReportFigure> ModelFigures(const ReportSource& source, const FitReport& report,
                                       const SiteWarnings& warnings) {
  std::string why;
  if (report.scale_test) {
    const ScaleTest& test = *report.scale_test;
    why = "F 检验：F = " + FText(test) + "，F(1, " + std::to_string(test.freedom) + ") 的 " +
          ScaleTestLevelText() + " % 分位数 " + QuantileText(test) + "；" +
          ScaleVerdictText(test.significant, warnings);
  } else if (report.model == FitModel::kSimilarity) {
    why = "按所选模型；两个点恰好定出四参数，没有多余观测，不作 F 检验";
  } else {
    why = "按所选模型；刚体转换不求尺度，不作 F 检验（F 检验见四参数的报告）";
  }
  std::vector<ReportFigure> figures = {{"模型", ModelName(report.model), ""},
                                       {"模型依据", why, ""}};
  if (source.height_offset) {
    figures.push_back(
        {"高程基准 H0（±0.000 的测图高程）", *source.height_offset, std::string(kMetres)});
    figures.push_back(
        {"高程处理", "施工 H = 测图 H − H0，测图 H = 施工 H + H0；平面转换不改变高程", ""});
  } else {
    figures.push_back({"高程基准 H0（±0.000 的测图高程）", "未设", ""});
    figures.push_back({"高程处理", "高程原样写出，不作改动；平面转换不改变高程", ""});
  }
  figures.push_back({"公共点高程", "公共点只有平面坐标，高程不参与计算", ""});
  return figures;
}

// The four parameters as a field controller takes them: the survey point
// of a construction point c is (ΔN, ΔE) + (1 + ppm·10⁻⁶)·R(α)·c, the
// conversion's X0 + k·R(θ)·c read with X north: ΔN = X0, ΔE = Y0, α the
// turn the conversion makes (not the box's angle read with π′), and ppm
// the scale's (k − 1)·10⁶.
std::vector<ReportFigure> ControllerFigures(const FitReport& report) {
  return {{"北向平移 ΔN", report.texts.x_offset, std::string(kMetres)},
          {"东向平移 ΔE", report.texts.y_offset, std::string(kMetres)},
          {"旋转角 α（度分秒）", FormatDmsSymbols(report.degrees), ""},
          {"尺度 (k − 1)·10⁶", PpmText(report.model == FitModel::kSimilarity ? report.ppm : 0),
           std::string(kPpm)}};
}

constexpr std::string_view kControllerNote =
    "以施工坐标系原点为旋转中心：N测 = ΔN + (1 + ppm×10⁻⁶)·(N施·cosα − E施·sinα)，"
    "E测 = ΔE + (1 + ppm×10⁻⁶)·(N施·sinα + E施·cosα)；X 为北（N）、Y 为东（E），α 由北向东为正，"
    "由施工坐标转换为测图坐标。α 取换算实际转过的角（“转换参数”中的实际转角）。";

std::vector<ReportFigure> TitleBlock(const ReportSource& source, FitModel model) {
  std::vector<ReportFigure> block = {{"工程", source.site, ""},
                                     {"操作员", source.operator_name, ""},
                                     {"日期时间", source.made_at, ""},
                                     {"Torvane 版本", source.version, ""},
                                     {"模型", ModelName(model), ""}};
  if (!source.project.empty()) block.push_back({"工程文件", source.project, ""});
  return block;
}

// Both directions as Transform computes them, with the parameters' texts.
std::vector<std::string> Formulas(const FitReport& report) {
  const bool scaled = report.model == FitModel::kSimilarity;
  const std::string& x0 = report.texts.x_offset;
  const std::string& y0 = report.texts.y_offset;
  const std::string xc = scaled ? "(k·X施)" : "X施", yc = scaled ? "(k·Y施)" : "Y施";
  const std::string over_k = scaled ? " / k" : "";
  std::vector<std::string> lines = {
      "θ = " + DegreesText(report.degrees) + "°（π 取 " + TurnPiText() + "）" +
          (scaled ? "，k = " + report.scale_text : std::string()),
      "施工 → 测图：X测 = " + x0 + " + " + xc + "·cosθ − " + yc + "·sinθ",
      "施工 → 测图：Y测 = " + y0 + " + " + xc + "·sinθ + " + yc + "·cosθ",
      "测图 → 施工：X施 = [cosθ·(X测 − " + x0 + ") + sinθ·(Y测 − " + y0 + ")]" + over_k,
      "测图 → 施工：Y施 = [cosθ·(Y测 − " + y0 + ") − sinθ·(X测 − " + x0 + ")]" + over_k};
  return lines;
}

std::vector<ReportFigure> Inverse(const FitReport& report) {
  std::vector<ReportFigure> figures = {
      {"X0′（测图坐标系原点的施工 X）", report.inverse.x_offset, std::string(kMetres)},
      {"Y0′（测图坐标系原点的施工 Y）", report.inverse.y_offset, std::string(kMetres)},
      {"旋转角 −θ", report.inverse.angle, std::string(kDms)}};
  if (report.model == FitModel::kSimilarity) {
    figures.push_back({"尺度 1/k", report.inverse_scale_text, ""});
  }
  return figures;
}

ReportRow Row(std::string role, const std::string& name, const PointResidual& r) {
  ReportRow row;
  row.role = std::move(role);
  row.name = name;
  row.dx = MillimetreText(r.dx);
  row.dy = MillimetreText(r.dy);
  row.length = MillimetreText(r.length);
  return row;
}

std::vector<ReportRow> Rows(const FitReport& report, std::span<const CommonPoint> fitted,
                            std::span<const CommonPoint> excluded,
                            std::span<const CommonPoint> check) {
  // Standardized residuals where the fit has them; a point out of the fit
  // has none, shown "-" as the command line shows it.
  const bool columns = !report.standardized.empty();
  std::vector<ReportRow> rows;
  for (std::size_t i = 0; i < fitted.size(); ++i) {
    rows.push_back(Row(RoleText(PointRole::kFit), fitted[i].name, report.residuals[i]));
    if (columns) {
      const StandardizedResidual& w = report.standardized[i];
      rows.back().wx = StandardizedText(w.wx);
      rows.back().wy = StandardizedText(w.wy);
      rows.back().blunder = LargerOf(w) > kBlunderLimit;
    }
    if (report.blunder_test) {
      ReportRow& row = rows.back();
      row.left_out = row.tx = row.ty = row.f = "-";
      if (const std::optional<LeftOutPoint>& out = report.blunder_test->points[i]) {
        row.left_out = MillimetreText(out->misses.length);
        row.tx = StandardizedText(out->tx);
        row.ty = StandardizedText(out->ty);
        row.f = LeftOutFText(out->f);
        row.tested_blunder = out->blunder;
      }
    }
  }
  for (std::size_t i : BeyondRmsLimit(report)) rows[i].beyond_limit = true;
  const auto others = [&](const char* role, std::span<const CommonPoint> points,
                          const std::vector<PointResidual>& residuals) {
    for (std::size_t i = 0; i < points.size(); ++i) {
      rows.push_back(Row(role, points[i].name, residuals[i]));
      if (columns) rows.back().wx = rows.back().wy = "-";
      if (report.blunder_test) {
        rows.back().left_out = rows.back().tx = rows.back().ty = rows.back().f = "-";
      }
    }
  };
  others(RoleText(PointRole::kCheck), check, report.check_residuals);
  others(RoleText(PointRole::kOff), excluded, report.excluded_residuals);
  return rows;
}

}  // namespace

std::vector<std::string> ResidualHeadings(const CalibrationDocument& document) {
  const ReportWording& words = document.words;
  bool standardized = false, left_out = false;
  for (const ReportRow& row : document.rows) {
    standardized = standardized || !row.wx.empty();
    left_out = left_out || !row.f.empty();
  }
  std::vector<std::string> headings = words.residual_columns;
  if (standardized) {
    headings.insert(headings.end(), words.standardized_columns.begin(),
                    words.standardized_columns.end());
  }
  if (left_out) {
    headings.insert(headings.end(), words.left_out_columns.begin(), words.left_out_columns.end());
  }
  headings.push_back(words.mark_column);
  return headings;
}

namespace {

// Whether some point of the table has a survey height, and a construction one.
std::pair<bool, bool> HeightsShown(const CalibrationDocument& document) {
  bool survey = false, construction = false;
  for (const ReportPointRow& row : document.points) {
    survey = survey || !row.hs.empty();
    construction = construction || !row.hc.empty();
  }
  return {survey, construction};
}

}  // namespace

std::vector<std::string> CoordinateHeadings(const CalibrationDocument& document) {
  const ReportWording& words = document.words;
  const auto [survey, construction] = HeightsShown(document);
  std::vector<std::string> headings = words.coordinate_columns;
  // Each after its grid's Y: 点名, 类别, X测, Y测, [H测], X施, Y施, [H施].
  if (construction) headings.push_back(words.construction_height_column);
  if (survey) headings.insert(headings.begin() + 4, words.survey_height_column);
  return headings;
}

std::vector<std::vector<std::pair<std::string, std::string>>> PointCells(
    const CalibrationDocument& document) {
  const auto [survey, construction] = HeightsShown(document);
  const auto height = [](const std::string& text) { return text.empty() ? "-" : text; };
  std::vector<std::vector<std::pair<std::string, std::string>>> rows;
  rows.reserve(document.points.size());
  for (const ReportPointRow& row : document.points) {
    auto& cells = rows.emplace_back();
    cells = {{"name", row.name}, {"role", row.role}, {"xs", row.xs}, {"ys", row.ys}};
    if (survey) cells.emplace_back("hs", height(row.hs));
    cells.insert(cells.end(), {{"xc", row.xc}, {"yc", row.yc}});
    if (construction) cells.emplace_back("hc", height(row.hc));
  }
  return rows;
}

std::string MarkText(const ReportWording& words, const ReportRow& row) {
  std::string text;
  for (const auto& [on, mark] : {std::pair{row.beyond_limit, &words.beyond_mark},
                                 std::pair{row.blunder, &words.blunder_mark},
                                 std::pair{row.tested_blunder, &words.tested_mark}}) {
    if (on) text += (text.empty() ? "" : " ") + *mark;
  }
  return text;
}

CalibrationDocument MakeCalibrationDocument(const ReportSource& source, const FitReport& report,
                                            std::span<const CommonPoint> fitted,
                                            std::span<const CommonPoint> excluded,
                                            std::span<const CommonPoint> check) {
  assert(fitted.size() == report.residuals.size());
  assert(excluded.size() == report.excluded_residuals.size());
  assert(check.size() == report.check_residuals.size());
  CalibrationDocument document;
  document.title = "坐标转换参数计算报告";
  document.header =
      source.site.empty() ? document.title : "工程：" + source.site + "　" + document.title;
  document.words.blunder_mark = "|w| > " + BlunderLimitText();
  document.words.controller_note = std::string(kControllerNote);
  const SiteWarnings warnings = WarnSite(fitted, report.model, report.rms);
  document.title_block = TitleBlock(source, report.model);
  document.model = ModelFigures(source, report, warnings);
  document.parameters = ParameterFigures(report);
  document.formulas = Formulas(report);
  document.inverse = Inverse(report);
  document.controller = ControllerFigures(report);
  document.pipeline = ProjPipeline(report.params);
  // Xs, Ys, Xc, Yc, Hs, Hc as written, where the text is the one the
  // value was read from; a height only where the point has it.
  const auto figures = [&](const CommonPoint& p) {
    const auto found = source.written.find(p.name);
    const std::optional<double> values[] = {p.survey.x,       p.survey.y, p.construction.x,
                                            p.construction.y, p.survey_h, p.construction_h};
    std::array<std::string, std::size(values)> texts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
      if (!values[i]) continue;
      const std::string* written = found == source.written.end() ? nullptr : &found->second[i];
      bool same = false;
      if (written) {
        const auto read = ParseDecimal(*written);
        same = read && *read == *values[i];
      }
      texts[i] = same ? *written : CoordinateFigure(*values[i]);
    }
    return texts;
  };
  const auto point_rows = [&](PointRole role, std::span<const CommonPoint> points) {
    for (const CommonPoint& p : points) {
      auto t = figures(p);
      document.points.push_back({p.name, RoleText(role), std::move(t[0]), std::move(t[1]),
                                 std::move(t[2]), std::move(t[3]), std::move(t[4]),
                                 std::move(t[5])});
    }
  };
  point_rows(PointRole::kFit, fitted);
  point_rows(PointRole::kOff, excluded);
  document.rows = Rows(report, fitted, excluded, check);
  for (std::size_t i = 0; i < check.size(); ++i) {
    const CommonPoint& p = check[i];
    const PointResidual& r = report.check_residuals[i];
    auto t = figures(p);
    document.checks.push_back({p.name, std::move(t[0]), std::move(t[1]), std::move(t[2]),
                               std::move(t[3]), MillimetreText(r.dx), MillimetreText(r.dy),
                               MillimetreText(r.length)});
  }
  for (const CommonPoint& p : excluded) {
    document.left_out.push_back(p.name + "：标为不用，不参与平差（其残差见“" +
                                document.words.residuals + "”）");
  }
  document.left_out.insert(document.left_out.end(), source.rows_left_out.begin(),
                           source.rows_left_out.end());
  document.signatures = {{"计算", source.operator_name}, {"检查", ""}, {"审核", ""}};
  document.statistics = StatisticFigures(report, fitted, check, warnings);
  document.warnings = SiteWarningTexts(warnings, fitted);
  document.plot = MakeSitePlot(report, fitted, excluded, check);
  document.files = source.files;
  return document;
}

}  // namespace torvane
