#include "fit/similarity_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "fit/f_quantile.h"
#include "fit/fit_report.h"
#include "gauss_newton.h"
#include "gauss_newton_similarity.h"
#include "number/number_text.h"
#include "params/dms.h"
#include "params/transform.h"

namespace torvane {
namespace {

using testing::GaussNewton;
using testing::GaussNewtonSimilarity;
using testing::InvertFour;

double AngleGap(double a, double b) { return std::remainder(a - b, 2 * std::numbers::pi); }

// Survey coordinates made from construction coordinates by the conversion's
// own inverse, with noise of `sigma` metres added; point `blunder` (if any)
// moved a further `blunder_m` metres north.
std::vector<CommonPoint> Site(const RunParams& truth, const std::vector<PlanePoint>& site,
                              std::mt19937_64* random = nullptr, double sigma = 0,
                              std::size_t blunder = SIZE_MAX, double blunder_m = 0) {
  const Transform t(truth);
  std::normal_distribution<double> noise(0, 1);
  std::vector<CommonPoint> points;
  for (const PlanePoint& c : site) {
    PlanePoint s = t.Inverse(c);
    if (random != nullptr) {
      s.x += noise(*random) * sigma;
      s.y += noise(*random) * sigma;
    }
    if (points.size() == blunder) s.x += blunder_m;
    points.push_back({"P" + std::to_string(points.size() + 1), 0, s, c, {}, {}});
  }
  return points;
}

std::vector<PlanePoint> Scatter(std::mt19937_64& random, std::size_t count, double half) {
  std::uniform_real_distribution<double> at(-half, half);
  std::vector<PlanePoint> site;
  for (std::size_t i = 0; i < count; ++i) site.push_back({at(random), at(random)});
  return site;
}

TEST(FitSimilarity, RecoversTheSiteFromExactPoints) {
  const std::vector<PlanePoint> square = {{0, 0}, {250, 0}, {250, 180}, {0, 180}, {125, 90}};
  const std::vector<PlanePoint> far = {{1200, -800}, {1900, -650}, {1500, 300}};
  const std::vector<PlanePoint> two = {{10, 20}, {-340.5, 612.25}};
  const struct {
    RunParams truth;
    std::vector<PlanePoint> site;
  } rows[] = {
      {{3412.586, 5127.349, 0.5627, 1.0000802}, square},
      {{3400123.456, 500234.567, -2.9, 0.9995}, square},        // national-grid sized
      {{3412345.678, 498765.432, 1.2, 1.0005}, far},            // three points off the origin
      {{3398765.4321, 501234.5678, 3.14159, 0.99998765}, two},  // two points: exact
      {{-1200.5, 80.25, 0, 1.000000001}, square},
  };
  for (const auto& row : rows) {
    auto fit = FitSimilarity(Site(row.truth, row.site));
    ASSERT_TRUE(fit.ok()) << fit.error();
    EXPECT_NEAR(fit->x_offset, row.truth.x_offset, 1e-9) << row.truth.x_offset;
    EXPECT_NEAR(fit->y_offset, row.truth.y_offset, 1e-9) << row.truth.x_offset;
    EXPECT_NEAR(AngleGap(fit->theta, row.truth.theta), 0, 1e-10) << row.truth.x_offset;
    EXPECT_NEAR(fit->scale, row.truth.scale, 1e-10) << row.truth.x_offset;
  }
}

TEST(FitSimilarity, RejectsWhatTheRigidFitRejects) {
  const CommonPoint one[] = {{"A", 1, {1, 2}, {3, 4}, {}, {}}};
  const CommonPoint same[] = {{"A", 1, {1, 2}, {3, 4}, {}, {}}, {"B", 2, {5, 6}, {3, 4}, {}, {}}};
  EXPECT_EQ(FitSimilarity(one).error(), "only one common point: at least two are needed");
  EXPECT_EQ(FitSimilarity(same).error(),
            "all 2 common points are at one place in the construction grid: the rotation "
            "cannot be determined");
}

TEST(FQuantile, NinetyFivePercentOfFWithOneDegreeOfFreedom) {
  // F(1, v) at 0.95: up to v = 120 scipy.stats.f.ppf(0.95, 1, v) (SciPy
  // 1.10.1, Debian's python3-scipy), for v = 2 the closed form
  // 2·0.95²/(1 − 0.95²); from v = 1000, where SciPy is 1.5e-13 and 5e-11
  // off, the square of Student's t at 0.975 by Hill's expansion in 1/v to
  // its fifth term, in 40-digit decimals. 199 996 is the scale test's
  // freedom at 100 000 points, where a hand-made continued fraction
  // inverted by bisection was 1e-11 off.
  const struct {
    double freedom, quantile;
  } rows[] = {
      {1, 161.44763879758827},      {2, 18.512820512820513},   {4, 7.708647422176786},
      {6, 5.987377607273699},       {10, 4.9646027437307145},  {12, 4.747225346722511},
      {30, 4.170876785766691},      {120, 3.9201244089699054}, {1000, 3.8507746681386337},
      {199996, 3.8415053177030984},
  };
  for (const auto& row : rows) {
    auto f = FQuantile(1, row.freedom, 0.95);
    ASSERT_TRUE(f.ok()) << f.error();
    EXPECT_NEAR(*f, row.quantile, 1e-14 * row.quantile) << row.freedom;
  }
  EXPECT_EQ(FQuantile(1, 4, 1.5).error(), "F quantile: p = 1.5 is not in (0, 1)");
  EXPECT_EQ(FQuantile(0, 4, 0.95).error(),
            "F quantile: degrees of freedom 0 and 4 are not both greater than 0");
}

// The rigid hat matrix's diagonal from the design of the three unknowns,
// padded to four with a unit row and column for the inverter.
void RigidHat(const std::vector<CommonPoint>& points, double theta, std::vector<double>* hx,
              std::vector<double>* hy) {
  double n[4][4] = {}, inv[4][4];
  n[3][3] = 1;
  auto rows = [&](const CommonPoint& q, double jx[3], double jy[3]) {
    const double c = std::cos(theta), s = std::sin(theta);
    const double cx = q.construction.x, cy = q.construction.y;
    jx[0] = 1, jx[1] = 0, jx[2] = -s * cx - c * cy;
    jy[0] = 0, jy[1] = 1, jy[2] = c * cx - s * cy;
  };
  for (const CommonPoint& q : points) {
    double jx[3], jy[3];
    rows(q, jx, jy);
    for (int a = 0; a < 3; ++a) {
      for (int b = 0; b < 3; ++b) n[a][b] += jx[a] * jx[b] + jy[a] * jy[b];
    }
  }
  InvertFour(n, inv);
  for (const CommonPoint& q : points) {
    double jx[3], jy[3];
    rows(q, jx, jy);
    double x = 0, y = 0;
    for (int a = 0; a < 3; ++a) {
      for (int b = 0; b < 3; ++b) {
        x += jx[a] * inv[a][b] * jx[b];
        y += jy[a] * inv[a][b] * jy[b];
      }
    }
    hx->push_back(x);
    hy->push_back(y);
  }
}

double RigidSquares(const std::vector<CommonPoint>& points, const RunParams& p) {
  double sum = 0;
  for (const CommonPoint& q : points) {
    const double c = std::cos(p.theta), s = std::sin(p.theta);
    const double rx = q.survey.x - (p.x_offset + c * q.construction.x - s * q.construction.y);
    const double ry = q.survey.y - (p.y_offset + s * q.construction.x + c * q.construction.y);
    sum += rx * rx + ry * ry;
  }
  return sum;
}

TEST(ReportFit, SimilarityStatisticsMatchGaussNewton) {
  // National-grid sites with millimetres of noise: the residuals, the
  // scale's standard error, the F statistic and the standardized residuals
  // of both models against the independent iterative solution.
  std::mt19937_64 random(80);
  const struct {
    RunParams truth;
    std::size_t count;
    double sigma;
  } rows[] = {
      {{3400123.456, 500234.567, 0.81, 1.00008}, 4, 0.003},
      {{3401234.5, 499876.25, -2.2, 0.9995}, 9, 0.002},
      {{3399876.125, 500111.75, 3.0, 1.000003}, 25, 0.004},
      {{3402000.0, 501000.0, 0.1, 1.0005}, 3, 0.002},
  };
  for (const auto& row : rows) {
    const auto points = Site(row.truth, Scatter(random, row.count, 400), &random, row.sigma);
    auto report = ReportFit(points, {}, {}, FitModel::kSimilarity);
    ASSERT_TRUE(report.ok()) << report.error();
    const auto optimum = GaussNewtonSimilarity(points, row.truth);
    const RunParams rigid =
        GaussNewton(points, {row.truth.x_offset, row.truth.y_offset, row.truth.theta});
    const double n = static_cast<double>(points.size());
    const double sigma2 = optimum.sum_of_squares / (2 * n - 4);

    // The report's parameters are written to 1e-6 m, 0.0001″ and 1e-9:
    // the residuals differ from the optimum's by about that much.
    const Transform best(optimum.params);
    for (std::size_t i = 0; i < points.size(); ++i) {
      const PlanePoint at = best.Inverse(points[i].construction);
      EXPECT_NEAR(report->residuals[i].dx, points[i].survey.x - at.x, 2e-6) << i;
      EXPECT_NEAR(report->residuals[i].dy, points[i].survey.y - at.y, 2e-6) << i;
    }
    EXPECT_NEAR(report->params.scale, optimum.params.scale, 5e-10);
    ASSERT_TRUE(report->scale_test.has_value());
    const double ppm_error = std::sqrt(sigma2 * optimum.inverse[3][3]) * 1e6;
    EXPECT_NEAR(report->scale_test->ppm_error, ppm_error, 1e-3 * ppm_error);
    const double f = (RigidSquares(points, rigid) - optimum.sum_of_squares) / sigma2;
    EXPECT_NEAR(report->scale_test->f, f, 1e-3 * f + 1e-3);
    EXPECT_EQ(report->scale_test->freedom, 2 * points.size() - 4);
    EXPECT_EQ(report->scale_test->significant,
              report->scale_test->f > report->scale_test->quantile);

    if (points.size() < 4) {
      EXPECT_TRUE(report->standardized.empty());
      continue;
    }
    ASSERT_EQ(report->standardized.size(), points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
      const double sigma = std::sqrt(sigma2);
      EXPECT_NEAR(*report->standardized[i].wx,
                  report->residuals[i].dx / (sigma * std::sqrt(1 - optimum.hat_x[i])), 1e-3);
      EXPECT_NEAR(*report->standardized[i].wy,
                  report->residuals[i].dy / (sigma * std::sqrt(1 - optimum.hat_y[i])), 1e-3);
    }

    auto rigid_report = ReportFit(points, {}, {}, FitModel::kRigid);
    ASSERT_TRUE(rigid_report.ok());
    std::vector<double> hx, hy;
    RigidHat(points, rigid.theta, &hx, &hy);
    const double rigid_sigma = std::sqrt(RigidSquares(points, rigid) / (2 * n - 3));
    for (std::size_t i = 0; i < points.size(); ++i) {
      EXPECT_NEAR(*rigid_report->standardized[i].wx,
                  rigid_report->residuals[i].dx / (rigid_sigma * std::sqrt(1 - hx[i])), 1e-3);
      EXPECT_NEAR(*rigid_report->standardized[i].wy,
                  rigid_report->residuals[i].dy / (rigid_sigma * std::sqrt(1 - hy[i])), 1e-3);
    }
  }
}

// The quantile of F(2, freedom) at 1 − q, in closed form: its distribution
// function is 1 − (1 + 2f/freedom)^(−freedom/2).
double FTwoQuantile(double freedom, double q) {
  return freedom / 2 * (std::pow(q, -2 / freedom) - 1);
}

// `points` without point `i`.
std::vector<CommonPoint> Without(const std::vector<CommonPoint>& points, std::size_t i) {
  std::vector<CommonPoint> others = points;
  others.erase(others.begin() + static_cast<std::ptrdiff_t>(i));
  return others;
}

TEST(ReportFit, BlunderTestAgreesWithRefittingWithoutEachPoint) {
  // 200 national-grid sites of 4 to 30 points, with 1 to 5 mm of noise and
  // every other one with a blunder of 2 to 10 cm, both models: every point
  // is left out and the others fitted again by Gauss-Newton (an independent
  // model); its miss, the others' scatter, tX, tY and F = (SSR − SSR₍ᵢ₎) /
  // (2σ̂₍ᵢ₎²) from that fit, and the Bonferroni critical value in closed form.
  std::mt19937_64 random(2026);
  std::uniform_real_distribution<double> unit(0, 1);
  std::size_t named = 0, planted = 0;
  for (int site = 0; site < 200; ++site) {
    const std::size_t count = 4 + static_cast<std::size_t>(unit(random) * 27);
    const RunParams truth{3400000 + 1e4 * unit(random), 500000 + 1e4 * unit(random),
                          (unit(random) - 0.5) * 6, 1 + (unit(random) - 0.5) * 2e-4};
    const bool blunder = site % 2 == 1;
    const std::size_t at = static_cast<std::size_t>(unit(random) * static_cast<double>(count));
    const auto points =
        Site(truth, Scatter(random, count, 100 + 2000 * unit(random)), &random,
             0.001 + 0.004 * unit(random), blunder ? at : SIZE_MAX, 0.02 + 0.08 * unit(random));
    for (FitModel model : {FitModel::kRigid, FitModel::kSimilarity}) {
      const bool similarity = model == FitModel::kSimilarity;
      auto report = ReportFit(points, {}, {}, model);
      ASSERT_TRUE(report.ok()) << report.error();
      ASSERT_TRUE(report->blunder_test.has_value());
      const BlunderTest& test = *report->blunder_test;
      const double n = static_cast<double>(count);
      const double freedom = 2 * (n - 1) - (similarity ? 4 : 3);
      ASSERT_EQ(test.freedom, static_cast<std::size_t>(freedom));
      const double critical = FTwoQuantile(freedom, 0.05 / n);
      EXPECT_NEAR(test.critical, critical, 1e-9 * critical);

      // The fit of all points and its leverages.
      std::vector<PlanePoint> residuals;
      std::vector<double> hx, hy;
      double squares = 0;
      const auto fit_of = [&](const std::vector<CommonPoint>& some) {
        return similarity ? GaussNewtonSimilarity(some, truth).params
                          : GaussNewton(some, {truth.x_offset, truth.y_offset, truth.theta});
      };
      const Transform all(fit_of(points));
      for (const CommonPoint& p : points) {
        const PlanePoint at_p = all.Inverse(p.construction);
        residuals.push_back({p.survey.x - at_p.x, p.survey.y - at_p.y});
        squares +=
            residuals.back().x * residuals.back().x + residuals.back().y * residuals.back().y;
      }
      if (similarity) {
        const auto optimum = GaussNewtonSimilarity(points, truth);
        hx = optimum.hat_x;
        hy = optimum.hat_y;
      } else {
        RigidHat(points, fit_of(points).theta, &hx, &hy);
      }
      for (std::size_t i = 0; i < count; ++i) {
        ASSERT_TRUE(test.points[i].has_value()) << site << ' ' << i;
        const LeftOutPoint& out = *test.points[i];
        const auto others = Without(points, i);
        const Transform fit(fit_of(others));
        const PlanePoint at_i = fit.Inverse(points[i].construction);
        EXPECT_NEAR(out.misses.dx, points[i].survey.x - at_i.x, 1e-8) << site << ' ' << i;
        EXPECT_NEAR(out.misses.dy, points[i].survey.y - at_i.y, 1e-8) << site << ' ' << i;
        double others_squares = 0;
        for (const CommonPoint& p : others) {
          const PlanePoint q = fit.Inverse(p.construction);
          others_squares +=
              (p.survey.x - q.x) * (p.survey.x - q.x) + (p.survey.y - q.y) * (p.survey.y - q.y);
        }
        const double sigma = std::max(std::sqrt(others_squares / freedom), 0.0005e-3);
        EXPECT_NEAR(out.tx, residuals[i].x / (sigma * std::sqrt(1 - hx[i])),
                    1e-5 + 1e-5 * std::fabs(out.tx));
        EXPECT_NEAR(out.ty, residuals[i].y / (sigma * std::sqrt(1 - hy[i])),
                    1e-5 + 1e-5 * std::fabs(out.ty));
        const double f = (squares - others_squares) / (2 * sigma * sigma);
        EXPECT_NEAR(out.f, f, 1e-5 + 1e-5 * f) << site << ' ' << i;
        if (std::fabs(f - critical) > 1e-4 * critical) {
          EXPECT_EQ(out.blunder, f > critical);
        }
      }
      named += blunder && test.blunders == std::vector<std::size_t>{at};
      planted += blunder;
    }
  }
  // A sanity check of the test's power, not of its arithmetic: most planted
  // blunders of 2 to 10 cm among millimetres of noise are named alone, the
  // small sites' least.
  EXPECT_GT(named, planted / 2);
}

TEST(ReportFit, NamesTheBlunderInBothModels) {
  // Points with millimetres of noise, one moved north: left out, it misses
  // by about its blunder, and it alone is named, whichever model is fitted
  // (the grids agree in scale, so that the rigid fit is not strained
  // elsewhere). Eight Gauss-Krüger points with 5 cm at the fourth, which
  // lies out beyond the others, once had a largest standardized residual
  // under 3 and no blunder named (a fixed fault: the blunder inflates the
  // RMS it is divided by, and pulls the fit towards itself).
  const struct {
    unsigned seed;
    std::size_t count, blunder;
    double blunder_m, sigma;
    bool out_beyond;           // the blunder's point 1 km from the site's middle
    bool standardized_beyond;  // whether |w| > 3 names it too
  } rows[] = {{3, 10, 6, 0.040, 0.002, false, true}, {17, 8, 3, 0.050, 0.003, true, false}};
  for (const auto& row : rows) {
    std::mt19937_64 random(row.seed);
    auto site = Scatter(random, row.count, 300);
    if (row.out_beyond) site[row.blunder] = {700, 700};
    const auto points =
        Site({3400500.0, 500500.0, 0.7, 1.0}, site, &random, row.sigma, row.blunder, row.blunder_m);
    for (FitModel model : {FitModel::kRigid, FitModel::kSimilarity}) {
      auto report = ReportFit(points, {}, {}, model);
      ASSERT_TRUE(report.ok()) << report.error();
      EXPECT_EQ(report->most_standardized, row.blunder);
      EXPECT_EQ(LargerOf(report->standardized[row.blunder]) > kBlunderLimit,
                row.standardized_beyond);
      ASSERT_TRUE(report->blunder_test.has_value());
      EXPECT_EQ(report->blunder_test->blunders, std::vector<std::size_t>{row.blunder});
      EXPECT_EQ(report->blunder_test->largest, row.blunder);
      EXPECT_NEAR(report->blunder_test->points[row.blunder]->misses.length, row.blunder_m,
                  4 * row.sigma);
    }
  }
}

TEST(ReportFit, LeverageOneHasNoStandardizedResidual) {
  // Three points at one construction place and D 100 m away along X: D's
  // coordinates that the fit must pass through (Y rigid, both similarity)
  // have h = 1 and no standardized residual, and D is never named; its
  // rounding once read -5.16, beyond 3.
  const CommonPoint points[] = {{"A", 1, {1000.001, 2000}, {0, 0}, {}, {}},
                                {"B", 2, {1000, 2000.002}, {0, 0}, {}, {}},
                                {"C", 3, {999.998, 1999.999}, {0, 0}, {}, {}},
                                {"D", 4, {1100.001, 2000}, {100, 0}, {}, {}}};
  const struct {
    FitModel model;
    bool wx, wy;  // whether D has them
    std::size_t most;
  } rows[] = {{FitModel::kRigid, true, false, 2}, {FitModel::kSimilarity, false, false, 1}};
  for (const auto& row : rows) {
    auto report = ReportFit(points, {}, {}, row.model);
    ASSERT_TRUE(report.ok()) << report.error();
    ASSERT_EQ(report->standardized.size(), 4u);
    EXPECT_EQ(report->standardized[3].wx.has_value(), row.wx);
    EXPECT_EQ(report->standardized[3].wy.has_value(), row.wy);
    ASSERT_TRUE(report->most_standardized.has_value());
    EXPECT_EQ(*report->most_standardized, row.most);
    EXPECT_LT(LargerOf(report->standardized[*report->most_standardized]), kBlunderLimit);
  }
}

TEST(ReportFit, WrittenParametersFitNationalGridSites) {
  // Exact points of sites with construction coordinates of millions of
  // metres: the parameters come back as made, and the points fit them to
  // well under the printed 0.001 mm, the inverse too. Offsets from the
  // unrounded angle and scale once missed by 0.4 mm (F = -3.93), the
  // inverse's from 1/k unrounded by 0.7 mm; the inverse scale's rounding
  // and the offsets' still leave up to 1e-6 m at 3.5 km from the centroid.
  const double ten_seconds = DegreesToRadians(DmsToDegrees(0.001).value());
  const std::vector<PlanePoint> corners = {
      {3400000, 450000}, {3405000, 450000}, {3405000, 455000}, {3400000, 455000}};
  const std::vector<PlanePoint> two = {corners[0], corners[2]};
  const struct {
    FitModel model;
    double scale;
    std::vector<PlanePoint> site;
    std::string scale_text;
  } rows[] = {
      // 3.5 km from the centroid: ten decimals.
      {FitModel::kSimilarity, 1, corners, "1.0000000000"},
      {FitModel::kSimilarity, 1.0000123, corners, "1.0000123000"},
      {FitModel::kSimilarity, 0.9999877, two, "0.9999877000"},  // through A and B
      {FitModel::kRigid, 1, corners, ""},
  };
  for (const auto& row : rows) {
    const auto points = Site({100, -50, ten_seconds, row.scale}, row.site);
    auto report = ReportFit(points, {}, {}, row.model);
    ASSERT_TRUE(report.ok()) << report.error();
    EXPECT_EQ(report->texts.x_offset, "100.") << row.scale;
    EXPECT_EQ(report->texts.y_offset, "-50.") << row.scale;
    EXPECT_EQ(report->texts.angle, ".001") << row.scale;
    EXPECT_EQ(report->scale_text, row.scale_text);
    for (const PointResidual& r : report->residuals) EXPECT_LT(r.length, 1e-7) << row.scale;
    if (report->scale_test) {
      EXPECT_GE(report->scale_test->f, 0) << row.scale;
      if (row.scale == 1) {
        EXPECT_EQ(report->scale_test->f, 0);
      }
    }
    if (row.model == FitModel::kRigid) continue;
    auto back = RunParamsFromValues(LeadingNumber(report->inverse.x_offset).value(),
                                    LeadingNumber(report->inverse.y_offset).value(),
                                    LeadingNumber(report->inverse.angle).value(),
                                    LeadingNumber(report->inverse_scale_text).value());
    ASSERT_TRUE(back.ok()) << back.error();
    const Transform inverse(*back);
    for (const CommonPoint& p : points) {
      const PlanePoint c = inverse.Inverse(p.survey);
      EXPECT_LT(std::hypot(c.x - p.construction.x, c.y - p.construction.y), 1e-6) << row.scale;
    }
  }
}

TEST(ReportFit, SimilarityOfTwoPointsGoesThroughBoth) {
  // The scale is the ratio of the distances, and both points fit the
  // written parameters to the printed 0.001 mm; no 10 mm warning however
  // far they disagree. The scale has a decimal more beyond 1 km of the
  // centroid: 10 km apart, nine decimals once left 0.002 mm at A and
  // 0.003 mm at B (a fixed fault, found by an independent model).
  const struct {
    CommonPoint a, b;
    std::string scale_text;
  } rows[] = {
      {{"A", 0, {1000, 2000}, {0, 0}, {}, {}},
       {"B", 0, {1100, 2000}, {0, 100.02}, {}, {}},
       "0.999800040"},
      {{"A", 0, {4324707.4248, 588452.1082}, {308.578, 2273.328}, {}, {}},
       {"B", 0, {4330729.9638, 580466.3430}, {-989.469, -7642.067}, {}, {}},
       "1.0002171655"},
  };
  for (const auto& row : rows) {
    const CommonPoint points[] = {row.a, row.b};
    auto report = ReportFit(points, {}, {}, FitModel::kSimilarity);
    ASSERT_TRUE(report.ok()) << report.error();
    EXPECT_EQ(report->scale_text, row.scale_text);
    EXPECT_FALSE(report->offsets_disagree);
    EXPECT_FALSE(report->scale_test.has_value());
    for (const PointResidual& r : report->residuals) EXPECT_LT(r.length, 1.5e-6) << r.length;
  }
}

}  // namespace
}  // namespace torvane
