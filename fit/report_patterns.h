// How the fit report shows its numbers, in its text and its JSON alike: the
// FormatPattern patterns of each kind of value.
#pragma once

#include <string_view>

namespace torvane {

inline constexpr std::string_view kDegreePattern = "0.0000000000";  // the rotation, degrees
inline constexpr std::string_view kDistancePattern = "0.0000";      // metres
inline constexpr std::string_view kScalePattern = "0.000000000";    // the scale's nine decimals
inline constexpr std::string_view kPpmPattern = "0.000";            // parts per million
inline constexpr std::string_view kStandardizedPattern = "0.00";    // residual / its sigma
inline constexpr std::string_view kFPattern = "0.00";               // the F statistic
inline constexpr std::string_view kQuantilePattern = "0.000";       // its quantile

}  // namespace torvane
