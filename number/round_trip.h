// Numbers written in full, for other programs to read back exactly.
#pragma once

#include <string>

namespace torvane {

// The shortest decimal text that reads back as `value` ("-1000.000161",
// "0.785398163375", "1e-07"), any unit; "inf", "-inf" or "nan" for those.
std::string RoundTripText(double value);

}  // namespace torvane
