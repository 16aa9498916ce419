// The calibration report that a site's conversion is handed in with, as
// data: every figure already written as text, digit for digit as
// `torvane-cli solve --points` prints it, with its unit; the plot as the
// site's points. The PDF and printer layout (desktop/) and the HTML writer
// (report/) only place it on a page.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "fit/common_point.h"
#include "fit/fit_report.h"
#include "report/site_plot.h"
#include "report/solve_figures.h"
#include "site/common_points.h"

namespace torvane {

// An input file as the report ties the result to it: the size and SHA-256
// of the bytes read for the fit, not of the file read again.
struct ReportFile {
  std::string name;        // as the user gave it, UTF-8; kStandardInputName for "-"
  std::uint64_t size = 0;  // bytes
  std::string sha256;      // 64 lower-case hexadecimal digits
};

// What the report names points read from standard input by, which has no
// file name: in parentheses, as no file a user names is.
inline constexpr const char* kStandardInputName = "（标准输入）";

// The name the report gives the input `path`, "-" for standard input.
inline std::string ReportFileName(const std::string& path) {
  return path == "-" ? kStandardInputName : path;
}

// What the report says of where it came from; the caller fills it in.
struct ReportSource {
  std::string site;               // the site's name (工程); may be empty
  std::string operator_name;      // who made it (操作员); may be empty
  std::string made_at;            // local date and time, "2026-12-09 16:40:12"
  std::string version;            // Torvane's version, "0.1.0"
  std::string project;            // the project file's name; empty when points came from a file
  std::vector<ReportFile> files;  // every input file read
  // H0, the elevation of the site's ±0.000 in metres, as the project keeps
  // it (a decimal number in full); none: heights are converted unchanged.
  std::optional<std::string> height_offset;
  // The rows of the points' table that took no part, each saying which and
  // why in a sentence ("第 3 行 测图X “12a.5” 不是数字"); the points marked
  // 不用 are the document's own.
  std::vector<std::string> rows_left_out;
  // The points' coordinates and heights as their file or table writes them
  // (site/site_points.h's WrittenCoordinates), by name: the points' tables
  // show them so, "250.000" as "250.000". A point not here, or a text left
  // empty, is shown by its value, in the fewest digits that give it.
  std::map<std::string, CoordinateTexts> written{};
};

// Every word the report's writers place that is not a figure: headings,
// column headings, notes, marks, the foot of a page. The PDF and the HTML
// take them all from here, so that both say the same in the same words.
struct ReportWording {
  std::string model = "模型与高程";
  std::string parameters = "转换参数";
  std::string formulas = "转换公式";
  std::string inverse = "反算参数";
  std::string controller = "测量控制器参数（四参数）";
  std::string pipeline = "PROJ 转换管道";
  std::string coordinates = "公共点坐标";
  std::string residuals = "公共点残差";
  std::string checks = "检核点";
  std::string left_out = "未参与计算的点和行";
  std::string statistics = "精度统计";
  std::string heights = "高程拟合";  // the section of a fitted height model, when there is one
  std::string warnings = "警告";
  std::string plot = "点位分布图";
  std::string files = "输入文件";
  std::string signatures = "签字";
  std::string continued = "（续）";  // after a heading repeated on the next page
  std::string none = "无";           // a section with nothing in it
  std::vector<std::string> figure_columns = {"项目", "数值", "单位"};
  std::vector<std::string> coordinate_columns = {"点名",    "类别",    "X测 (m)",
                                                 "Y测 (m)", "X施 (m)", "Y施 (m)"};
  // After each grid's Y where some point has that grid's height.
  std::string survey_height_column = "H测 (m)", construction_height_column = "H施 (m)";
  // 类别, 点名, dX, dY, 点位残差, then wX, wY when there are standardized
  // residuals, then 剔除后不符, tX, tY, F with the blunder test, then 标记.
  std::vector<std::string> residual_columns = {"类别", "点名", "dX (mm)", "dY (mm)",
                                               "点位残差 (mm)"};
  std::vector<std::string> standardized_columns = {"wX", "wY"};
  std::vector<std::string> left_out_columns = {"剔除后不符 (mm)", "tX", "tY", "F"};
  std::string mark_column = "标记";
  std::vector<std::string> check_columns = {"点名",    "X测 (m)", "Y测 (m)", "X施 (m)",
                                            "Y施 (m)", "dX (mm)", "dY (mm)", "点位残差 (mm)"};
  std::vector<std::string> file_columns = {"文件", "大小 (字节)", "SHA-256"};
  std::vector<std::string> height_columns = {
      "点名", "类别", "H测 (m)", "H施 (m)", "残差 (mm)", "w", "剔除后不符 (mm)", "t", "F", "标记"};
  std::string height_note =
      "d = H测 − H施，施工高程 = 测图高程 − d(X, Y)，d 取点的测图 X、Y 处。残差为 H测 的已知值"
      "减去 H施 + d；w 为标准化残差；剔除后不符为该点不参与拟合时的残差，t 为其外部学生化残差，F "
      "为其粗差检验统计量；检核点不参与拟合，其残差为不符值。";
  std::string beyond_mark = "> 2×RMS", blunder_mark = "|w| > 3.0", tested_mark = "粗差";
  std::string residual_note =
      "残差为测图坐标的已知值减去由施工坐标换算的值；wX、wY 为标准化残差（无单位）；"
      "剔除后不符为该点不参与平差时由其余点所得参数换算的残差，tX、tY 为其外部学生化残差，"
      "F 为其粗差检验统计量。";
  std::string check_note =
      "检核点不参与平差；其残差（不符值）为测图坐标的已知值减去由所得参数换算的值。";
  std::string controller_note;  // the convention, made with the document
  std::string pipeline_note =
      "PROJ 的 cct 等程序按此管道由测图坐标算施工坐标（北、东顺序），cct -I 反向；高程不变。";
  std::vector<std::string> signature_columns = {"", "姓名", "日期"};
  std::vector<std::string> signature_roles = {"计算", "检查", "审核"};
  // The foot of every page: "第 1 页 / 共 3 页", the numbers between.
  std::string page_before = "第 ", page_between = " 页 / 共 ", page_after = " 页";
};

// A common point's coordinates and heights as read, metres: each the
// shortest text with at most 15 significant digits that reads back as the
// number used; a height empty where the point has none.
struct ReportPointRow {
  std::string name, role;  // role: RoleText
  std::string xs, ys, xc, yc;
  std::string hs{}, hc{};  // a row written without them has none
};

// A check point: its coordinates and its misclosure (mm, as the command
// line prints it).
struct ReportCheckRow {
  std::string name;
  std::string xs, ys, xc, yc;
  std::string dx, dy, length;
};

// One common point's row of the residual table.
struct ReportRow {
  std::string role;  // RoleText
  std::string name;
  std::string dx, dy;  // mm, as the command line prints them
  std::string length;  // mm
  std::string wx, wy;  // standardized residuals, "-" where a point has none (as
                       // printed); empty when the fit has none (under four points)
  // Left out, the others fitted without it: its miss (mm), tX, tY and F;
  // "-" where a point has none, empty when the fit has no blunder test.
  std::string left_out, tx, ty, f;
  bool beyond_limit = false;    // a fit point beyond 2×RMS
  bool blunder = false;         // |w| beyond kBlunderLimit
  bool tested_blunder = false;  // named by the blunder test
};

// A point of the height fit or its check: the heights as read (m), the
// residual or misclosure (mm, as the command line prints it), and for a
// fit point w, the miss left out (mm), t and F ("-" where it has none).
struct ReportHeightRow {
  std::string name, role;  // role: RoleText
  std::string hs, hc;
  std::string residual;
  std::string w, left_out, t, f;
  bool blunder = false;  // named by the height fit's blunder test
};

struct CalibrationDocument {
  std::string title;   // "坐标转换参数计算报告"
  std::string header;  // atop every page: the site's name and the title
  ReportWording words;
  std::vector<ReportFigure> title_block;  // 工程, 操作员, 日期时间, Torvane 版本, 模型, 工程文件
  std::vector<ReportFigure> model;  // the model, why, H0 and the heights
  std::vector<ReportFigure>
      parameters;                     // X0, Y0 (m), rotation (ddd.mmss, °), scale, ppm, its error
  std::vector<std::string> formulas;  // both directions as used, each a line with the numbers
  std::vector<ReportFigure> inverse;  // the inverse parameters
  // The parameters as a field controller's four parameters take them:
  // ΔN, ΔE (m), the rotation in degrees, minutes and seconds, the scale in ppm.
  std::vector<ReportFigure> controller;
  std::string pipeline;                // ProjPipeline of the parameters, north-east
  std::vector<ReportPointRow> points;  // every fit point, then every point marked 不用
  std::vector<ReportRow> rows;         // every common point: fit, then check, then off
  std::vector<ReportCheckRow> checks;  // every check point
  std::vector<std::string> left_out;   // the points and rows that took no part, and why
  std::vector<ReportFigure>
      statistics;  // RMS, 2×RMS, beyond it, largest w and 3.0, F test, check RMS
  std::vector<std::string> warnings;  // the site's warnings, each a sentence (site_wording.h)
  // The fitted height model (calibration_heights.h): its figures and its
  // points; both empty, and the section left out, where none is fitted.
  std::vector<ReportFigure> heights;
  std::vector<ReportHeightRow> height_rows;
  SitePlot plot;                  // the points, their residuals, the construction grid
  std::vector<ReportFile> files;  // every input file: name, size, SHA-256
  // 计算, 检查, 审核, each with the name written in (the operator's for 计算)
  // or empty for a line to sign on.
  std::vector<std::pair<std::string, std::string>> signatures;
};

// The marks of a residual row, as the writers put them in its last column:
// words.beyond_mark, words.blunder_mark, words.tested_mark, those that
// apply, separated by spaces; empty for none.
std::string MarkText(const ReportWording& words, const ReportRow& row);

// The residual table's headings, as both writers put them: residual_columns,
// standardized_columns where a row has wX, left_out_columns where a row has
// F, then mark_column.
std::vector<std::string> ResidualHeadings(const CalibrationDocument& document);

// The table of the common points' headings, as both writers put them:
// coordinate_columns, with survey_height_column after Y测 where some point
// has a survey height and construction_height_column after Y施 where some
// has a construction height.
std::vector<std::string> CoordinateHeadings(const CalibrationDocument& document);

// The rows of that table under those headings, one per point: each cell's
// name for the HTML ("name", "role", "xs", "ys", "hs", "xc", "yc", "hc")
// and its text, "-" for a height the point has not in a column that
// others' fill.
std::vector<std::vector<std::pair<std::string, std::string>>> PointCells(
    const CalibrationDocument& document);

// The document for a solve: `report` made by ReportFit from `fitted`,
// `excluded` and `check`. Labels, in order:
// - header: "工程：SITE　坐标转换参数计算报告", the title alone without a site;
// - title_block: 工程, 操作员, 日期时间, Torvane 版本, 模型 ("刚体（尺度 1）" or
//   "四参数（相似变换）"), and 工程文件 when source.project is not empty;
// - model: 模型, 模型依据 (the F test's figures and ScaleVerdictText, or why
//   there is no test), 高程基准 H0 (m, or 未设), 高程处理, 公共点高程;
// - parameters: ParameterFigures;
// - controller: 北向平移 ΔN = X0, 东向平移 ΔE = Y0 (m), 旋转角 α (the turn the
//   conversion makes, report.degrees, in degrees, minutes and seconds),
//   尺度 (ppm, (k − 1)·10⁶; 0.000 for the rigid model), and the convention
//   in words.controller_note: survey = (ΔN, ΔE) + (1 + ppm·10⁻⁶)·R(α)·
//   construction about the construction grid's origin, α from north
//   towards east;
// - pipeline: ProjPipeline(report.params), north first;
// - points: the coordinates and heights of every fit point, then of every
//   point 不用;
// - checks: every check point's coordinates and misclosure;
// - left_out: each point 不用 ("K4：标为不用，不参与平差"), then
//   source.rows_left_out;
// - signatures: 计算 (the operator's name), 检查, 审核;
// - formulas: θ and k, then construction to survey (X测, Y测) and survey to
//   construction (X施, Y施) in the order Transform computes them;
// - inverse: X0′, Y0′ (m), 旋转角 −θ (ddd.mmss), four parameters 尺度 1/k;
// - statistics: StatisticFigures;
// - warnings: those WarnSite gives for the fitted points;
// - plot: MakeSitePlot of the solve.
CalibrationDocument MakeCalibrationDocument(const ReportSource& source, const FitReport& report,
                                            std::span<const CommonPoint> fitted,
                                            std::span<const CommonPoint> excluded,
                                            std::span<const CommonPoint> check);

}  // namespace torvane
