// What the Chinese reports of a solve say in words, the same in the
// workbench's panel and in the calibration report: the RMS limit, the F
// test's verdict, the blunder test's and the site's warnings.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "fit/common_point.h"
#include "fit/fit_report.h"
#include "fit/site_warnings.h"

namespace torvane {

// The limit surveyors hold each fit point's residual to: twice the RMS.
inline constexpr double kRmsLimitFactor = 2.0;

// The fit points whose residual length, as reported to 0.001 mm, is beyond
// kRmsLimitFactor times the RMS; in their order.
std::vector<std::size_t> BeyondRmsLimit(const FitReport& report);

// "2 倍中误差": the limit's name, from kRmsLimitFactor.
std::string RmsLimitText();

// "3.0": the standardized residual beyond which a point is suspect
// (kBlunderLimit).
std::string BlunderLimitText();

// The verdict on the largest standardized residual `largest`, of the fit
// point `name`: "超过 3.0：请检查点 K3 是否有粗差", or "未超过 3.0".
std::string BlunderVerdictText(double largest, const std::string& name);

// The blunder test's verdict on `fitted`, the points it was made from:
// "未发现粗差", or each point named with its miss when left out,
// "粗差：K4（剔除后不符 46.912 mm）、K7（剔除后不符 20.004 mm）".
std::string LeftOutVerdictText(const BlunderTest& test, std::span<const CommonPoint> fitted);

// Why a fit of fewer than kBlunderTestFrom points has no blunder test.
std::string NoBlunderTestText();

// The F test's verdict: "尺度显著，应采用四参数" or "尺度不显著，刚体转换即可";
// with `warnings` that say the site is not one transformation
// (NotOneTransformation), no model: "不作结论：公共点有问题，见“警告”".
std::string ScaleVerdictText(bool significant, const SiteWarnings& warnings);

// Each warning of `warnings` as a sentence, UTF-8; `fitted` the fit points
// the warnings were made from, whose names the coincident pairs give.
std::vector<std::string> SiteWarningTexts(const SiteWarnings& warnings,
                                          std::span<const CommonPoint> fitted);

}  // namespace torvane
