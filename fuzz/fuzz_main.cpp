// The libFuzzer entry point; TORVANE_FUZZ_TARGET names the target.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  torvane::fuzz::TORVANE_FUZZ_TARGET(data, size);
  return 0;
}
