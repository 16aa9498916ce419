// The exit status of torvane-cli and of each of its commands.
#pragma once

namespace torvane::cli {

inline constexpr int kExitOk = 0;
// A file that cannot be read or converted, or a fit that fails or misses its limit.
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

}  // namespace torvane::cli
