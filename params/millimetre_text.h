// Lengths in millimetres as the reports show them.
#pragma once

#include <string>

namespace torvane {

// Metres -> millimetres to three decimals, as reported: 0.0012344 gives
// "1.234", -0.0125 gives "-12.500". Non-finite values give "nan", "inf".
std::string MillimetreText(double metres);

// The size of what MillimetreText shows, read back, in millimetres: 1.234
// for 0.0012344 and for -0.0012344; infinity where the millimetres are not
// finite.
double ShownMillimetres(double metres);

}  // namespace torvane
