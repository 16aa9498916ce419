// Side-by-side benchmark of torvane-cli convert and PROJ's cct on the same
// million points, and of the window's largest file in the core.
//
// Usage: torvane-bench TORVANE_CLI CCT [POINTS] [ROUNDS] [FOLDER]
//
// Generates a point file and its whitespace twin for cct, runs the two
// programs alternately ROUNDS times each (single-threaded processes),
// checks that X and Y agree on every point to one unit of the fifth
// decimal, and prints points per second of the best round of each, their
// ratio and the peak memory of each program.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/window_rules.h"
#include "batch/conversion_run.h"
#include "batch/result_path.h"
#include "params/dms.h"
#include "report/result_table.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

// The run's parameters: a site grid in the middle of a Gauss-Krüger zone.
constexpr const char* kXOffset = "3450000.123";
constexpr const char* kYOffset = "550000.456";
constexpr const char* kAngle = "30.1520";
constexpr double kPi = 3.14159265358979323846;
constexpr double kArcSecondsPerRadian = 180.0 * 3600.0 / kPi;

[[noreturn]] void Die(const std::string& message) {
  std::fprintf(stderr, "torvane-bench: %s\n", message.c_str());
  std::exit(1);
}

// The point file ("P1 , X , Y , H" lines, CR LF) and its twin for cct
// ("X Y H P1" lines).
void Generate(long points, const fs::path& csv, const fs::path& twin) {
  std::FILE* a = std::fopen(csv.c_str(), "wb");
  std::FILE* b = std::fopen(twin.c_str(), "wb");
  if (a == nullptr || b == nullptr) Die("cannot write " + csv.string());
  std::mt19937_64 random(2026);
  std::uniform_int_distribution<long> x(3400000000, 3500000000), y(500000000, 600000000),
      h(0, 2000000);
  for (long i = 1; i <= points; ++i) {
    const long xs = x(random), ys = y(random), hs = h(random);  // millimetres
    std::fprintf(a, "P%ld , %ld.%03ld , %ld.%03ld , %ld.%03ld\r\n", i, xs / 1000, xs % 1000,
                 ys / 1000, ys % 1000, hs / 1000, hs % 1000);
    std::fprintf(b, "%ld.%03ld %ld.%03ld %ld.%03ld P%ld\n", xs / 1000, xs % 1000, ys / 1000,
                 ys % 1000, hs / 1000, hs % 1000, i);
  }
  if (std::fclose(a) != 0 || std::fclose(b) != 0) Die("cannot write " + csv.string());
}

struct Timing {
  double seconds;
  long peak_kib;
};

// Runs programs side by side to their end: the wall time until the last
// one ends and the largest peak resident memory among them.
Timing RunTogether(const std::vector<std::vector<std::string>>& commands) {
  const auto start = Clock::now();
  std::vector<pid_t> pids;
  for (const auto& args : commands) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
      Die("cannot start " + args[0]);
    }
    pids.push_back(pid);
  }
  long peak = 0;
  for (const pid_t pid : pids) {
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) Die("lost a program");
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) Die("a program failed");
    peak = std::max(peak, usage.ru_maxrss);
  }
  const std::chrono::duration<double> elapsed = Clock::now() - start;
  return {elapsed.count(), peak};
}

Timing Run(const std::vector<std::string>& args) { return RunTogether({args}); }

// The command with every argument equal to `from` replaced by `to`.
std::vector<std::string> Replaced(std::vector<std::string> args, const std::string& from,
                                  const std::string& to) {
  for (auto& a : args) {
    if (a == from) a = to;
  }
  return args;
}

// "12345.67891" as 1234567891, in units of the fifth decimal.
bool ReadUnits(const std::string& text, long long* units) {
  const std::size_t point = text.find('.');
  if (point == std::string::npos || text.size() - point - 1 != 5) return false;
  std::string digits = text.substr(0, point) + text.substr(point + 1);
  const bool negative = !digits.empty() && digits[0] == '-';
  if (negative) digits.erase(0, 1);
  if (digits.empty()) return false;
  char* end = nullptr;
  *units = std::strtoll(digits.c_str(), &end, 10);
  if (*end != '\0') return false;
  if (negative) *units = -*units;
  return true;
}

struct Agreement {
  long long largest = 0;  // the largest difference in X or Y, in units of the fifth decimal
  long differing = 0;     // points whose X or Y differ at all
};

// Compares the result table with cct's output point by point.
Agreement Compare(const fs::path& table, const fs::path& cct_out, long points) {
  std::ifstream a(table), b(cct_out);
  Agreement agreement;
  long count = 0;
  std::string name_a, xa, ya, ha, xb, yb, zb, tb, name_b;
  while (a >> name_a >> xa >> ya >> ha) {
    if (!(b >> xb >> yb >> zb >> tb >> name_b)) Die("cct wrote fewer points");
    if (name_a != name_b) Die("point " + name_a + " meets " + name_b + " in cct's output");
    long long ua, va, ub, vb;
    if (!ReadUnits(xa, &ua) || !ReadUnits(ya, &va) || !ReadUnits(xb, &ub) || !ReadUnits(yb, &vb)) {
      Die("unreadable coordinates at point " + name_a);
    }
    const long long difference = std::max(std::llabs(ua - ub), std::llabs(va - vb));
    agreement.largest = std::max(agreement.largest, difference);
    agreement.differing += difference != 0;
    ++count;
  }
  if (count != points) Die("the result table has " + std::to_string(count) + " points");
  return agreement;
}

double WindowMilliseconds(const fs::path& folder) {
  const torvane::RunParams params = torvane::RunParamsFromTexts(kXOffset, kYOffset, kAngle).value();
  torvane::RunRequest window;
  window.point_path = (folder / "window.csv").string();
  window.result_path = torvane::ResultPathFor(window.point_path);
  torvane::ApplyWindowRules(window);
  const std::unique_ptr<torvane::ResultWriter> table = torvane::MakeTableWriter();
  Generate(torvane::kWindowFieldLimit / 4, window.point_path, folder / "window.txt");
  double best = 1e300;
  for (int i = 0; i < 50; ++i) {
    const auto start = Clock::now();
    auto run = torvane::ConvertRun(window, params, *table);
    const std::chrono::duration<double> elapsed = Clock::now() - start;
    if (!run) Die(torvane::Describe(run.error()));
    best = std::min(best, elapsed.count());
  }
  return best * 1e3;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) Die("usage: torvane-bench TORVANE_CLI CCT [POINTS] [ROUNDS] [FOLDER]");
  const std::string cli = argv[1], cct = argv[2];
  const long points = argc > 3 ? std::atol(argv[3]) : 1000000;
  const int rounds = argc > 4 ? std::atoi(argv[4]) : 5;
  const fs::path folder = argc > 5 ? fs::path(argv[5]) : fs::temp_directory_path();
  const fs::path csv = folder / "million.csv", twin = folder / "million.txt";
  const fs::path table = folder / "table.txt", cct_out = folder / "cct.txt";

  // cct's pipeline for the same rotation as the conversion's: θ in radians
  // as the run derives it, given to helmert in arc-seconds with the full π.
  const double theta = torvane::RunParamsFromTexts(kXOffset, kYOffset, kAngle).value().theta;
  char rotation[64];
  std::snprintf(rotation, sizeof rotation, "+theta=%.17g", theta * kArcSecondsPerRadian);
  const std::vector<std::string> cct_args = {cct,
                                             "-d",
                                             "5",
                                             "-t",
                                             "0",
                                             "-o",
                                             cct_out.string(),
                                             "+proj=pipeline",
                                             "+step",
                                             "+proj=helmert",
                                             "+theta=0",
                                             std::string("+x=-") + kXOffset,
                                             std::string("+y=-") + kYOffset,
                                             "+step",
                                             "+proj=helmert",
                                             rotation,
                                             twin.string()};
  const std::vector<std::string> cli_args = {cli,
                                             "convert",
                                             std::string("--dx=") + kXOffset,
                                             std::string("--dy=") + kYOffset,
                                             std::string("--angle=") + kAngle,
                                             "-o",
                                             table.string(),
                                             csv.string()};

  Generate(points, csv, twin);
  std::printf("%ld points, %d rounds each, alternating\n", points, rounds);
  Timing best_cli{1e300, 0}, best_cct{1e300, 0};
  for (int round = 0; round < rounds; ++round) {
    // Each program writes a new file: the one of the round before is
    // removed first, outside the timing, so that neither pays for freeing it.
    fs::remove(table);
    const Timing a = Run(cli_args);
    fs::remove(cct_out);
    const Timing b = Run(cct_args);
    best_cli = {std::min(best_cli.seconds, a.seconds), std::max(best_cli.peak_kib, a.peak_kib)};
    best_cct = {std::min(best_cct.seconds, b.seconds), std::max(best_cct.peak_kib, b.peak_kib)};
  }
  const Agreement agreement = Compare(table, cct_out, points);
  std::printf("torvane-cli convert: %10.0f points/s  (best %.3f s)  peak memory %.1f MiB\n",
              points / best_cli.seconds, best_cli.seconds, best_cli.peak_kib / 1024.0);
  std::printf("cct:                 %10.0f points/s  (best %.3f s)  peak memory %.1f MiB\n",
              points / best_cct.seconds, best_cct.seconds, best_cct.peak_kib / 1024.0);
  std::printf("ratio: %.1f times cct's throughput\n", best_cct.seconds / best_cli.seconds);
  std::printf(
      "X and Y agree with cct on every point within %lld unit of the fifth decimal "
      "(%ld points differ by that unit)\n",
      agreement.largest, agreement.differing);
  std::printf("window's largest file (1000 points, 4000 fields): %.2f ms (best of 50)\n",
              WindowMilliseconds(folder));
  if (agreement.largest > 1) Die("torvane-cli and cct disagree by more than one unit");

  // Both cores: each program run twice at once, each on half the points.
  const fs::path half_csv = folder / "half.csv", half_twin = folder / "half.txt";
  Generate(points / 2, half_csv, half_twin);
  const auto halves = [&](const std::vector<std::string>& args, const fs::path& input,
                          const fs::path& output) {
    auto first =
        Replaced(Replaced(args, csv.string(), input.string()), twin.string(), input.string());
    auto second = first;
    first = Replaced(first, output.string(), output.string() + ".1");
    second = Replaced(second, output.string(), output.string() + ".2");
    return std::vector<std::vector<std::string>>{first, second};
  };
  const auto cli_pair = halves(cli_args, half_csv, table);
  const auto cct_pair = halves(cct_args, half_twin, cct_out);
  double both_cli = 1e300, both_cct = 1e300;
  for (int round = 0; round < rounds; ++round) {
    for (const char* n : {".1", ".2"}) fs::remove(table.string() + n);
    both_cli = std::min(both_cli, RunTogether(cli_pair).seconds);
    for (const char* n : {".1", ".2"}) fs::remove(cct_out.string() + n);
    both_cct = std::min(both_cct, RunTogether(cct_pair).seconds);
  }
  const long both_points = 2 * (points / 2);
  std::printf("both cores, two programs on half the points each:\n");
  std::printf("torvane-cli convert: %10.0f points/s\n", both_points / both_cli);
  std::printf("cct:                 %10.0f points/s\n", both_points / both_cct);
  std::printf("ratio: %.1f\n", both_cct / both_cli);
  return 0;
}
