// The time WarnSite takes on the sites the workbench solves on every edit:
// prints the best of ROUNDS runs, in milliseconds, for a noisy site, a site
// on one line, a site whose construction X and Y are exchanged and a site
// whose points are all at one place (every pair coincident).
// Usage: torvane-bench-warnings [POINTS] [ROUNDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <utility>
#include <vector>

#include "fit/fit_report.h"
#include "fit/site_warnings.h"
#include "params/transform.h"

namespace {

using Clock = std::chrono::steady_clock;
using torvane::CommonPoint;
using torvane::PlanePoint;

enum class Kind { kNoisy, kLine, kSwapped, kOnePlace };

std::vector<CommonPoint> MakeSite(std::size_t count, Kind kind) {
  std::mt19937_64 random(1000);
  std::uniform_real_distribution<double> across(0, 2000);
  std::normal_distribution<double> noise(0, 0.004);
  const torvane::Transform truth(torvane::RunParams{3512345.678, 38498765.432, 0.5627});
  std::vector<CommonPoint> points(count);
  for (CommonPoint& p : points) {
    p.construction = {across(random), kind == Kind::kLine ? 0 : across(random)};
    if (kind == Kind::kOnePlace) p.construction = {100, 200};
    p.survey = truth.Inverse(p.construction);
    p.survey.x += noise(random);
    p.survey.y += noise(random);
    if (kind == Kind::kSwapped) std::swap(p.construction.x, p.construction.y);
  }
  return points;
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 200;
  const std::pair<const char*, Kind> kinds[] = {{"noisy", Kind::kNoisy},
                                                {"on one line", Kind::kLine},
                                                {"swapped", Kind::kSwapped},
                                                {"all at one place", Kind::kOnePlace}};
  for (const auto& [name, kind] : kinds) {
    const std::vector<CommonPoint> points = MakeSite(count, kind);
    auto report = torvane::ReportFit(points, {}, {}, torvane::FitModel::kRigid);
    const double rms = report.ok() ? report->rms : 0;
    double best = 1e300;
    std::size_t coincident = 0, listed = 0;
    bool swapped = false;
    for (int round = 0; round < rounds; ++round) {
      const auto start = Clock::now();
      const torvane::SiteWarnings w = torvane::WarnSite(points, torvane::FitModel::kRigid, rms);
      const std::chrono::duration<double, std::milli> took = Clock::now() - start;
      best = std::min(best, took.count());
      coincident = w.coincident_count;
      listed = w.coincident.size();
      swapped = w.swapped.has_value();
    }
    std::printf("%-17s %zu points: %.3f ms (coincident pairs %zu, %zu listed, swapped %s)\n", name,
                count, best, coincident, listed, swapped ? "yes" : "no");
  }
  return 0;
}
