#include "report/fit_figures.h"

#include <cmath>

#include "fit/report_patterns.h"
#include "number/number_text.h"
#include "number/pattern.h"
#include "params/constants.h"
#include "params/dms.h"

namespace torvane {

std::string RotationDmsText(const FitReport& report) {
  return FormatDmsSymbols(report.box_degrees);
}

std::string DegreesText(double degrees) { return FormatPattern(degrees, kDegreePattern); }

std::string TurnPiText() { return PlainDecimal15(kPiPrime); }

std::string PpmText(double ppm) { return FormatPattern(ppm, kPpmPattern); }

std::string StandardizedText(const std::optional<double>& w) {
  return w ? FormatPattern(*w, kStandardizedPattern) : "-";
}

std::string FText(const ScaleTest& test) {
  return std::isinf(test.f) ? std::string("infinite") : FormatPattern(test.f, kFPattern);
}

std::string QuantileText(const ScaleTest& test) {
  return FormatPattern(test.quantile, kQuantilePattern);
}

namespace {
constexpr double kPercent = 100.0;
}

std::string ScaleTestLevelText() { return FormatPattern(kScaleTestLevel * kPercent, "0"); }

std::string LeftOutFText(double f) { return FormatPattern(f, kFPattern); }

std::string BlunderTestName(const BlunderTest& test) {
  return "F(2, " + std::to_string(test.freedom) + ")";
}

std::string BlunderCriticalText(const BlunderTest& test) {
  return FormatPattern(test.critical, kQuantilePattern);
}

std::string BlunderTestLevelText() { return FormatPattern(kBlunderTestLevel * kPercent, "0"); }

}  // namespace torvane
