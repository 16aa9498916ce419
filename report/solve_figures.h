// The figures of a solve, each with its label and unit, worded once for
// every place a solve is shown: the workbench's panel, the calibration
// report's PDF and HTML. Every value is the text `torvane-cli solve`
// prints for the same figure (mm to 0.001 mm, parameters as the boxes show
// them), but for the few it does not print: twice the RMS, the fit points
// beyond it, the blunder limit and the verdicts in words.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fit/common_point.h"
#include "fit/fit_report.h"
#include "fit/site_warnings.h"
#include "params/param_texts.h"

namespace torvane {

// The units figures are given in.
inline constexpr std::string_view kMetres = "m", kMillimetres = "mm", kDms = "ddd.mmss",
                                  kDegrees = "°", kPpm = "ppm";

// A figure with its label and unit: {"X0", "1000.000161", "m"}.
struct ReportFigure {
  std::string label;
  std::string value;
  std::string unit;    // may be empty (a count, a verdict)
  bool alarm = false;  // a figure the surveyor must act on: points beyond 2×RMS, a blunder
};

// X0, Y0 (m), 旋转角 θ (ddd.mmss), 旋转角 θ（度分秒）, 旋转角 θ（十进制度）
// (°), 实际转角（π 取 3.1415926535） (°: the turn the conversion makes);
// four parameters: 尺度 k, 尺度 k − 1 (ppm) and, from three points,
// 尺度的标准误差 (ppm).
std::vector<ReportFigure> ParameterFigures(const FitReport& report);

// The parameters a conversion uses, as ParameterFigures words them, each
// value its text as given: X0, Y0 (m), 旋转角 θ (ddd.mmss), and 尺度 k when
// there is a scale (four parameters, or parameters typed by hand).
std::vector<ReportFigure> ConversionParameterFigures(const ParamTexts& texts,
                                                     const std::optional<std::string>& scale);

// 中误差, 最大残差（NAME）, 2 倍中误差 (mm), 超过 2 倍中误差的点 ("K1、K3",
// "无" for none); from four points 最大标准化残差（NAME）, 粗差限值,
// 粗差判断; each point left out in turn, its test's critical value and
// 剔除检验结论 (LeftOutVerdictText), or under four points 剔除检验 saying no
// blunder can be found; the F test's 刚体转换中误差（同一组点） (mm), F,
// F(1, n) 的 95 % 分位数, F 检验结论; with check points 检核点中误差 and
// 检核点最大残差（NAME） (mm). `report` is ReportFit's of `fitted` and
// `check`; `warnings` WarnSite's of `fitted`, which the F test's verdict
// heeds (ScaleVerdictText).
std::vector<ReportFigure> StatisticFigures(const FitReport& report,
                                           std::span<const CommonPoint> fitted,
                                           std::span<const CommonPoint> check,
                                           const SiteWarnings& warnings);

}  // namespace torvane
