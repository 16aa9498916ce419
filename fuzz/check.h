// A property check for the fuzz targets: prints what failed and aborts, so
// that libFuzzer keeps the input and the test suite reports it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace torvane::fuzz {

inline void Check(bool holds, const std::string& what) {
  if (holds) return;
  std::fprintf(stderr, "property failed: %s\n", what.c_str());
  std::abort();
}

}  // namespace torvane::fuzz
