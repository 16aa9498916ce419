// Converts a generated point file of a million points (and the window's
// largest file, 1000 points of four fields) and prints points per second
// and the peak memory of the process.
// Usage: torvane-bench [POINTS] [FOLDER]
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "batch/conversion_run.h"
#include "batch/result_path.h"

namespace {

using Clock = std::chrono::steady_clock;

void Generate(const std::string& path, long points) {
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) {
    std::perror(path.c_str());
    std::exit(1);
  }
  std::mt19937_64 random(2026);
  std::uniform_real_distribution<double> x(3400000, 3500000), y(500000, 600000), h(0, 2000);
  for (long i = 0; i < points; ++i) {
    std::fprintf(out, "P%ld , %.3f , %.3f , %.3f\r\n", i + 1, x(random), y(random), h(random));
  }
  std::fclose(out);
}

double SecondsFor(const torvane::RunRequest& request, const torvane::RunParams& params) {
  const auto start = Clock::now();
  auto run = torvane::ConvertRun(request, params);
  const std::chrono::duration<double> elapsed = Clock::now() - start;
  if (!run) {
    std::fprintf(stderr, "%s\n", torvane::Describe(run.error()).c_str());
    std::exit(1);
  }
  return elapsed.count();
}

}  // namespace

int main(int argc, char** argv) {
  const long points = argc > 1 ? std::atol(argv[1]) : 1000000;
  const std::filesystem::path folder =
      argc > 2 ? std::filesystem::path(argv[2]) : std::filesystem::temp_directory_path();
  const torvane::RunParams params{3450000.123, 550000.456, 0.5280590614494144};

  torvane::RunRequest big;
  big.point_path = (folder / "torvane-bench-points.csv").string();
  big.result_path = torvane::ResultPathFor(big.point_path);
  Generate(big.point_path, points);
  double best = 1e300;
  for (int i = 0; i < 3; ++i) best = std::min(best, SecondsFor(big, params));
  std::printf("file of %ld points: %.0f points/s (best of 3, %.3f s)\n", points, points / best,
              best);

  torvane::RunRequest window = big;
  window.point_path = (folder / "torvane-bench-window.csv").string();
  window.result_path = torvane::ResultPathFor(window.point_path);
  window.field_limit = torvane::kWindowFieldLimit;
  window.require_set_params = true;
  Generate(window.point_path, torvane::kWindowFieldLimit / 4);
  double window_best = 1e300;
  for (int i = 0; i < 20; ++i) window_best = std::min(window_best, SecondsFor(window, params));
  std::printf("window's largest file (1000 points, 4000 fields): %.2f ms (best of 20)\n",
              window_best * 1e3);

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("peak memory: %.1f MiB\n", usage.ru_maxrss / 1024.0);
  for (const auto& r : {big, window}) {
    std::filesystem::remove(r.point_path);
    std::filesystem::remove(r.result_path);
  }
  return 0;
}
