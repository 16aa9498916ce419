// Constants of the survey arithmetic. The program works with the ten-decimal
// truncation of pi, not the full value: every bearing, rotation and result
// depends on it in the last printed digits, so it is defined here once.
#pragma once

namespace torvane {

inline constexpr double kPiPrime = 3.1415926535;
inline constexpr double kTwoPiPrime = 6.283185307;
inline constexpr double kThreeHalfPiPrime = 4.71238898025;
inline constexpr double kDegreesPerHalfTurn = 180.0;
inline constexpr double kDegreesPerTurn = 360.0;
inline constexpr double kMinutesPerDegree = 60.0;
inline constexpr double kSecondsPerMinute = 60.0;
inline constexpr double kSecondsPerDegree = 3600.0;  // arc-seconds
inline constexpr double kMillimetresPerMetre = 1000.0;

}  // namespace torvane
