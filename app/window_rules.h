// The window's own rules for a conversion run, which the command line does
// not have. Kept free of Qt, so that the core's tests and benchmarks run
// as the window does.
#pragma once

#include <cstddef>

#include "batch/conversion_run.h"

namespace torvane {

// The most fields the window reads from one point file.
inline constexpr std::size_t kWindowFieldLimit = 4000;

// Sets `request` to the window's rules: at most kWindowFieldLimit fields in
// the point file, and parameters that are not all non-zero refused once
// the whole file has been read and checked.
inline void ApplyWindowRules(RunRequest& request) {
  request.field_limit = kWindowFieldLimit;
  request.refuse_unset_params = true;
}

}  // namespace torvane
