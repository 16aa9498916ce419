// Lengths in millimetres as the reports show them.
#pragma once

#include <string>

namespace torvane {

// Metres -> millimetres to three decimals, as reported: 0.0012344 gives
// "1.234", -0.0125 gives "-12.500". Non-finite values give "nan", "inf".
std::string MillimetreText(double metres);

}  // namespace torvane
