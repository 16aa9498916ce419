// The figures of a site's height fit, each with its label and unit, worded
// once for the workbench's panel and the calibration report. Every number
// is the text `torvane-cli solve --points --height-model` prints for it
// (height_figures.h: mm to 0.001 mm, a0 in metres to six decimals, slopes
// in mm per 100 m and the quadric's terms in mm per km² to three).
#pragma once

#include <string>
#include <vector>

#include "fit/height_fit.h"
#include "report/solve_figures.h"
#include "site/site_heights.h"

namespace torvane {

// The model's name as the workbench's box words it: 不拟合, 常数改正,
// 平面拟合, 曲面拟合.
std::string HeightModelText(HeightModel model);

// Why auto chose fits.recommended, in Chinese, one sentence without its
// full stop, as HeightChoiceReason says it.
std::string HeightChoiceReasonText(const HeightFits& fits);

// Why there is no height fit, for a model chosen that cannot be fitted:
// "高程模型“平面拟合”无法拟合：这 3 个…位于一条直线上"; empty where fitted or
// none is chosen.
std::string HeightFailureText(const SiteHeights& heights);

// 高程模型 (自动：NAME for auto), 选择依据, 高程拟合点数, 重心 X̄, Ȳ (m), then
// the terms: 常数 a0 (m), X 向坡度 and Y 向坡度 (mm/100 m), a3, a4, a5
// (mm/km²). Empty where no model is fitted.
std::vector<ReportFigure> HeightParameterFigures(const SiteHeights& heights);

// 高程中误差, 高程最大残差（NAME） (mm); the blunder test's critical value
// with its level and 高程剔除检验结论 (or 高程剔除检验 saying it cannot be
// made); the F tests of the plane against the offset and of the quadric
// against the plane; the points GB 50026 asks for; with check points
// 高程检核点中误差, 高程检核点最大不符（NAME） (mm) and those outside the
// fit points' coverage. Empty where no model is fitted.
std::vector<ReportFigure> HeightStatisticFigures(const SiteHeights& heights);

}  // namespace torvane
