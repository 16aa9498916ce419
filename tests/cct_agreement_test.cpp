// The result table against PROJ's cct doing the same conversion, rigid or
// scaled: random site grids and points, both directions. The expected X and
// Y are cct's output for the same points,
//   cct -d 5 -t 0 [-I] PIPELINE twin.txt
// with PIPELINE "+proj=pipeline +step +proj=helmert +theta=0 +x=-X0 +y=-Y0
// +step +proj=helmert +theta=T" (T in arc-seconds) for the rigid sites, and
// ProjPipeline's "+proj=pipeline +step +inv +proj=helmert +x=X0 +y=Y0
// +theta=-T +s=K" for the scaled ones. For the classic window's worked
// example (500, 600, 30.1520, so T = 108919.99999688701) cct turns
// 755.5 740.8 into 291.64066 -7.11449, and with -I back into 755.50000
// 740.80000, as the table does. The printed X and Y agree to the last digit,
// except where the value sits on a rounding boundary: within the table's
// first rounding, to 15 significant digits, which cct does not do, or so
// closely that the two programs' last bits decide. Then they differ by one
// unit.
#include <unistd.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "batch/conversion_run.h"
#include "fit/height_fit.h"
#include "fit/proj_pipeline.h"
#include "params/conversion_params.h"
#include "params/transform.h"
#include "report/result_table.h"
#include "temp_dir.h"

namespace torvane {
namespace {

using testing::ReadBytes;
using testing::TempDir;

constexpr double kPi = 3.14159265358979323846;
constexpr double kArcSecondsPerRadian = 180.0 * 3600.0 / kPi;
constexpr double kUnit = 1e-5;       // the table's last decimal, in metres
constexpr double kBitsNoise = 1e-9;  // how near a boundary two computations' last bits split

std::string FindCct() {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path != nullptr ? path : "");
  for (std::string dir; std::getline(dirs, dir, ':');) {
    const std::string candidate = dir + "/cct";
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return "";
}

// "12345.67891" in units of the fifth decimal.
long long Units(const std::string& text) {
  const std::size_t point = text.find('.');
  std::string digits = text.substr(0, point) + text.substr(point + 1);
  return std::stoll(digits.empty() || digits == "-" ? digits + "0" : digits);
}

std::string Output(const std::string& command) {
  std::string out;
  if (std::FILE* pipe = popen(command.c_str(), "r")) {
    char chunk[4096];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) {
      out.append(chunk, got);
    }
    pclose(pipe);
  }
  return out;
}

// A random site as its boxes hold it: the origin's X within 500 km of
// `north` (to the centimetre) and its Y within 50 km of 500000 m (to the
// millimetre), and a ddd.mmss rotation to 0.01″.
RunParams RandomSite(std::mt19937_64& random, double north) {
  std::uniform_int_distribution<long> millimetres(-50000000, 50000000);
  std::uniform_int_distribution<int> degrees(0, 359), minutes(0, 59), centiseconds(0, 5999);
  char angle[32];
  const int cs = centiseconds(random);
  std::snprintf(angle, sizeof angle, "%d.%02d%02d%02d", degrees(random), minutes(random), cs / 100,
                cs % 100);
  const double x0 = north + millimetres(random) / 100.0, y0 = 500000 + millimetres(random) / 1000.0;
  return RunParamsFromTexts(std::to_string(x0), std::to_string(y0), angle).value();
}

struct Tally {
  long compared = 0;  // X and Y values compared
  long split = 0;     // of them, those a unit apart on a rounding boundary
};

// Converts `count` random points near the site both ways, through the
// table with `params` and through cct running `pipeline`, and checks that
// each printed X and Y agree, or differ by one unit on a rounding boundary.
void CompareWithCct(const std::string& cct, const std::string& pipeline, const RunParams& params,
                    int count, std::mt19937_64& random, TempDir& dir, Tally& tally) {
  std::uniform_int_distribution<long> millimetres(-50000000, 50000000);
  const Transform transform(params);
  for (const Direction direction :
       {Direction::kSurveyToConstruction, Direction::kConstructionToSurvey}) {
    const bool forward = direction == Direction::kSurveyToConstruction;
    std::string points, twin;
    std::vector<PlanePoint> inputs;
    for (int i = 0; i < count; ++i) {
      const PlanePoint p{(forward ? params.x_offset : 0) + millimetres(random) / 1000.0,
                         (forward ? params.y_offset : 0) + millimetres(random) / 1000.0};
      inputs.push_back(p);
      char line[128];
      std::snprintf(line, sizeof line, "P%d,%.3f,%.3f,1\r\n", i, p.x, p.y);
      points += line;
      std::snprintf(line, sizeof line, "%.3f %.3f 1 P%d\n", p.x, p.y, i);
      twin += line;
    }
    RunRequest request;
    request.point_path = dir.Write("p.csv", points);
    request.result_path = dir / "table.txt";
    request.direction = direction;
    ASSERT_TRUE(ConvertRun(request, params, *MakeTableWriter()).ok());
    dir.Write("twin.txt", twin);
    const std::string cct_out =
        Output(cct + " -d 5 -t 0 " + (forward ? "" : "-I ") + pipeline + " " + (dir / "twin.txt"));
    std::istringstream ours(ReadBytes(request.result_path)), theirs(cct_out);
    for (const PlanePoint& input : inputs) {
      std::string name, x, y, h, cx, cy, cz, ct, cname;
      ASSERT_TRUE(ours >> name >> x >> y >> h);
      ASSERT_TRUE(theirs >> cx >> cy >> cz >> ct >> cname) << cct_out.substr(0, 200);
      ASSERT_EQ(name, cname);
      const PlanePoint exact = transform.Apply(direction, input);
      for (const auto& [mine, peer, value] :
           {std::tuple{x, cx, exact.x}, std::tuple{y, cy, exact.y}}) {
        ++tally.compared;
        const long long difference = Units(mine) - Units(peer);
        if (difference == 0) continue;
        ++tally.split;
        ASSERT_EQ(std::llabs(difference), 1) << name << ": " << mine << " vs " << peer;
        const double boundary = (Units(mine) + Units(peer)) / 2.0 * kUnit;
        const double fifteenth_digit =
            std::pow(10.0, std::floor(std::log10(std::fabs(value))) - 14);
        EXPECT_LE(std::fabs(value - boundary), fifteenth_digit / 2 + kBitsNoise)
            << name << ": " << mine << " vs cct's " << peer << ", exact " << value;
      }
    }
  }
}

TEST(CctAgreement, RandomSitesAndPointsBothWays) {
  // A pipeline written here, apart from the one solve writes: two 2D
  // Helmert steps, the shift and then the turn.
  const std::string cct = FindCct();
  if (cct.empty())
    GTEST_SKIP() << "cct (Debian's proj-bin) is not installed; scripts/test.sh installs it";

  std::mt19937_64 random(2026);
  TempDir dir;
  Tally tally;
  for (int site = 0; site < 12; ++site) {
    const RunParams params = RandomSite(random, 3000000);
    char pipeline[256];
    std::snprintf(pipeline, sizeof pipeline,
                  "+proj=pipeline +step +proj=helmert +theta=0 +x=%.17g +y=%.17g "
                  "+step +proj=helmert +theta=%.17g",
                  -params.x_offset, -params.y_offset, params.theta * kArcSecondsPerRadian);
    ASSERT_NO_FATAL_FAILURE(CompareWithCct(cct, pipeline, params, 400, random, dir, tally));
  }
  EXPECT_EQ(tally.compared, 12 * 2 * 400 * 2);
  RecordProperty("split_on_a_boundary", std::to_string(tally.split));
}

TEST(CctAgreement, ScaledSitesThroughTheWrittenPipelineBothWays) {
  // The four-parameter conversion as solve writes it for PROJ: the inverse
  // of one 2D Helmert step with +s, run by cct forward (survey to
  // construction) and with -I, against the table of the same parameters.
  const std::string cct = FindCct();
  if (cct.empty())
    GTEST_SKIP() << "cct (Debian's proj-bin) is not installed; scripts/test.sh installs it";

  std::mt19937_64 random(80);
  std::uniform_int_distribution<int> ppm(-500000, 500000);
  TempDir dir;
  Tally tally;
  for (int site = 0; site < 8; ++site) {
    RunParams params = RandomSite(random, 3400000);
    // A scale as solve prints it, nine decimals, within ±500 ppm.
    params.scale = 1 + ppm(random) * 1e-9;
    ASSERT_NO_FATAL_FAILURE(
        CompareWithCct(cct, ProjPipeline(params), params, 200, random, dir, tally));
  }
  EXPECT_EQ(tally.compared, 8 * 2 * 200 * 2);
}

// A height model fitted to 25 random common points of a site tilted by up
// to 2 % (the survey X, Y of the site's points near its origin, their
// heights noisy by a few millimetres).
HeightSurface FittedHeights(std::mt19937_64& random, const RunParams& site, HeightModel model) {
  std::uniform_real_distribution<double> spread(-400, 400), slope(-0.02, 0.02),
      noise(-0.003, 0.003);
  const double sx = slope(random), sy = slope(random);
  std::vector<CommonPoint> points;
  for (int i = 0; i < 25; ++i) {
    CommonPoint p;
    p.survey = {site.x_offset + spread(random), site.y_offset + spread(random)};
    p.survey_h = 40 + spread(random) / 100;
    p.construction_h = *p.survey_h - (1.25 + sx * (p.survey.x - site.x_offset) +
                                      sy * (p.survey.y - site.y_offset) + noise(random));
    points.push_back(p);
  }
  return FitHeightModel(points, {}, model)->surface;
}

TEST(CctAgreement, HeightModelsThroughTheWrittenPipelineBothWays) {
  // Heights moved by a fitted offset or plane: the table's H (to 0.1 mm)
  // against cct running the pipeline solve writes, forward and with -I,
  // within 0.1 mm; north-east and east-north.
  const std::string cct = FindCct();
  if (cct.empty())
    GTEST_SKIP() << "cct (Debian's proj-bin) is not installed; scripts/test.sh installs it";
  std::mt19937_64 random(34);
  std::uniform_int_distribution<long> millimetres(-600000, 600000);
  TempDir dir;
  int compared = 0;
  for (const HeightModel model : {HeightModel::kOffset, HeightModel::kPlane}) {
    for (const AxisOrder order : {AxisOrder::kNorthEast, AxisOrder::kEastNorth}) {
      const RunParams params = RandomSite(random, 3400000);
      const HeightSurface heights = FittedHeights(random, params, model);
      const Transform transform(params);
      for (const Direction direction :
           {Direction::kSurveyToConstruction, Direction::kConstructionToSurvey}) {
        const bool forward = direction == Direction::kSurveyToConstruction;
        std::string points, twin;
        for (int i = 0; i < 100; ++i) {
          PlanePoint p{params.x_offset + millimetres(random) / 1000.0,
                       params.y_offset + millimetres(random) / 1000.0};
          if (!forward) p = transform.Forward(p);
          const double h = 30 + millimetres(random) / 100000.0;
          char line[160];
          std::snprintf(line, sizeof line, "P%d,%.3f,%.3f,%.5f\n", i, p.x, p.y, h);
          points += line;
          if (order == AxisOrder::kNorthEast) {
            std::snprintf(line, sizeof line, "%.3f %.3f %.5f 0 P%d\n", p.x, p.y, h, i);
          } else {
            std::snprintf(line, sizeof line, "%.3f %.3f %.5f 0 P%d\n", p.y, p.x, h, i);
          }
          twin += line;
        }
        RunRequest request;
        request.point_path = dir.Write("p.csv", points);
        request.result_path = dir / "table.txt";
        request.direction = direction;
        request.height_model = heights;
        request.height_hull = {{params.x_offset - 1000, params.y_offset - 1000},
                               {params.x_offset + 1000, params.y_offset - 1000},
                               {params.x_offset, params.y_offset + 1000}};
        ASSERT_TRUE(ConvertRun(request, params, *MakeTableWriter()).ok());
        dir.Write("twin.txt", twin);
        const std::string cct_out =
            Output(cct + " -d 6 " + (forward ? "" : "-I ") + ProjPipeline(params, order, heights) +
                   " " + (dir / "twin.txt"));
        std::istringstream ours(ReadBytes(request.result_path)), theirs(cct_out);
        for (int i = 0; i < 100; ++i) {
          std::string name, x, y, h, cx, cy, cz, ct, cname;
          ASSERT_TRUE(ours >> name >> x >> y >> h);
          ASSERT_TRUE(theirs >> cx >> cy >> cz >> ct >> cname) << cct_out.substr(0, 200);
          ASSERT_EQ(name, cname);
          EXPECT_NEAR(std::stod(h), std::stod(cz), 1e-4) << name << " " << cct_out.substr(0, 200);
          ++compared;
        }
      }
    }
  }
  EXPECT_EQ(compared, 2 * 2 * 2 * 100);
}

}  // namespace
}  // namespace torvane
