// The fit report's figures each as one text, the same wherever the report
// is shown: on the command line, in the calibration report, in the
// workbench. Each is the text of one number, without its unit.
#pragma once

#include <optional>
#include <string>

#include "fit/fit_report.h"

namespace torvane {

// The rotation box's angle in degrees, minutes and seconds with their
// symbols: "30°00′05.074″".
std::string RotationDmsText(const FitReport& report);
// Decimal degrees to ten decimals, without the sign "°": "30.0014093056".
std::string DegreesText(double degrees);
// pi as the conversion turns with it: "3.1415926535".
std::string TurnPiText();
// Parts per million to three decimals: the scale's (k − 1) and its standard error.
std::string PpmText(double ppm);
// A standardized residual to two decimals; "-" for none.
std::string StandardizedText(const std::optional<double>& w);
// The F statistic to two decimals; "infinite" for an exact similarity fit.
std::string FText(const ScaleTest& test);
// The F distribution's quantile to three decimals.
std::string QuantileText(const ScaleTest& test);
// The F test's level in percent: "95".
std::string ScaleTestLevelText();

// A point's F of the blunder test to two decimals.
std::string LeftOutFText(double f);
// The blunder test's distribution: "F(2, 10)".
std::string BlunderTestName(const BlunderTest& test);
// Its critical value to three decimals.
std::string BlunderCriticalText(const BlunderTest& test);
// Its level for all the fit points together, in percent: "5".
std::string BlunderTestLevelText();

}  // namespace torvane
