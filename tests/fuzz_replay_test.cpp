// Replays the fuzz targets' seed corpus and every input that once made a
// target fail. A failing property aborts the test program.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz/fuzz_targets.h"

namespace torvane::fuzz {
namespace {

namespace fs = std::filesystem;

using Target = void (*)(const std::uint8_t*, std::size_t);

// Runs the target on every file under corpus/NAME and regressions/NAME;
// returns how many there were.
int Replay(const std::string& name, Target target) {
  int inputs = 0;
  for (const char* kind : {"corpus", "regressions"}) {
    const fs::path folder = fs::path(TORVANE_FUZZ_DIR) / kind / name;
    if (!fs::is_directory(folder)) continue;
    for (const auto& entry : fs::directory_iterator(folder)) {
      std::ifstream in(entry.path(), std::ios::binary);
      const std::string bytes(std::istreambuf_iterator<char>(in), {});
      SCOPED_TRACE(entry.path().string());
      target(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
      ++inputs;
    }
  }
  return inputs;
}

// Each target, by the name of its folders.
TEST(FuzzReplay, EveryTarget) {
  const struct {
    const char* name;
    Target target;
  } rows[] = {
      {"PointFile", PointFile},
      {"LeadingNumber", LeadingNumber},
      {"Dms", Dms},
      {"Pattern", Pattern},
      {"Drawing", Drawing},
      {"Project", Project},
  };
  for (const auto& row : rows) EXPECT_GT(Replay(row.name, row.target), 0) << row.name;
}

}  // namespace
}  // namespace torvane::fuzz
