// The calibration report that a site's conversion is handed in with, as
// data: every figure already written as text, digit for digit as
// `torvane-cli solve --points` prints it, with its unit; the plot as the
// site's points. The PDF and printer layout (desktop/) and the HTML writer
// (report/) only place it on a page.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "fit/common_point.h"
#include "fit/fit_report.h"
#include "report/site_plot.h"
#include "report/solve_figures.h"

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

struct CalibrationDocument {
  std::string title;                      // "坐标转换参数计算报告"
  std::vector<ReportFigure> title_block;  // 工程, 操作员, 日期时间, Torvane 版本, 模型, 工程文件
  std::vector<ReportFigure>
      parameters;                     // X0, Y0 (m), rotation (ddd.mmss, °), scale, ppm, its error
  std::vector<std::string> formulas;  // both directions as used, each a line with the numbers
  std::vector<ReportFigure> inverse;  // the inverse parameters
  std::vector<ReportRow> rows;        // every common point: fit, then check, then off
  std::vector<ReportFigure>
      statistics;  // RMS, 2×RMS, beyond it, largest w and 3.0, F test, check RMS
  std::vector<std::string> warnings;  // the site's warnings, each a sentence (site_wording.h)
  SitePlot plot;                      // the points, their residuals, the construction grid
  std::vector<ReportFile> files;      // every input file: name, size, SHA-256
};

// The document for a solve: `report` made by ReportFit from `fitted`,
// `excluded` and `check`. Labels, in order:
// - title_block: 工程, 操作员, 日期时间, Torvane 版本, 模型 ("刚体（尺度 1）" or
//   "四参数（相似变换）"), and 工程文件 when source.project is not empty;
// - parameters: ParameterFigures;
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
