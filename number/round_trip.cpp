#include "number/round_trip.h"

#include <charconv>

namespace torvane {
namespace {

// Enough for the longest shortest text of a double, "-2.2250738585072014e-308".
constexpr std::size_t kBufferSize = 32;

}  // namespace

std::string RoundTripText(double value) {
  char buffer[kBufferSize];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  (void)ec;
  return std::string(buffer, end);
}

}  // namespace torvane
