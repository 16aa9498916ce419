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

TEST(FuzzReplay, PointFile) { EXPECT_GT(Replay("PointFile", PointFile), 0); }
TEST(FuzzReplay, LeadingNumber) { EXPECT_GT(Replay("LeadingNumber", LeadingNumber), 0); }
TEST(FuzzReplay, Dms) { EXPECT_GT(Replay("Dms", Dms), 0); }
TEST(FuzzReplay, Pattern) { EXPECT_GT(Replay("Pattern", Pattern), 0); }

}  // namespace
}  // namespace torvane::fuzz
