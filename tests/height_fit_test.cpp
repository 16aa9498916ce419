#include "fit/height_fit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <boost/math/distributions/fisher_f.hpp>
#include <cmath>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "fit/blunder_test.h"
#include "fit/fit_model.h"
#include "fit/height_coverage.h"

namespace torvane {
namespace {

using Real = long double;
using Matrix = std::vector<std::vector<Real>>;

// An independent model of the height fits, from their definitions alone:
// the normal equations AᵀA·a = Aᵀd of the design 1, u, v, u², u·v, v²
// (u, v the survey X, Y about the fit points' centroid, in kilometres),
// solved and inverted by Gauss-Jordan in long double; each point left out
// by fitting the others anew.
Matrix Inverse(Matrix m) {
  const std::size_t p = m.size();
  Matrix inv(p, std::vector<Real>(p, 0));
  for (std::size_t i = 0; i < p; ++i) inv[i][i] = 1;
  for (std::size_t c = 0; c < p; ++c) {
    std::size_t pivot = c;
    for (std::size_t r = c + 1; r < p; ++r) {
      if (std::fabs(m[r][c]) > std::fabs(m[pivot][c])) pivot = r;
    }
    std::swap(m[c], m[pivot]);
    std::swap(inv[c], inv[pivot]);
    const Real diagonal = m[c][c];
    for (std::size_t j = 0; j < p; ++j) {
      m[c][j] /= diagonal;
      inv[c][j] /= diagonal;
    }
    for (std::size_t r = 0; r < p; ++r) {
      if (r == c) continue;
      const Real factor = m[r][c];
      for (std::size_t j = 0; j < p; ++j) {
        m[r][j] -= factor * m[c][j];
        inv[r][j] -= factor * inv[c][j];
      }
    }
  }
  return inv;
}

struct Site {
  std::vector<CommonPoint> fitted, check;
  std::vector<std::size_t> planted;  // fit points given a blunder
};

struct Reference {
  bool fitted = false;
  std::vector<Real> terms;
  std::vector<Real> residuals, leverage, check;
  Real ssr = 0, rms = 0;
  std::vector<std::optional<Real>> standardized, misses, t;
  std::vector<bool> blunder;
  Real critical = 0;
  bool enough = false;
};

std::vector<Real> Row(const CommonPoint& q, Real cx, Real cy, std::size_t p) {
  const Real u = (static_cast<Real>(q.survey.x) - cx) / 1000;
  const Real v = (static_cast<Real>(q.survey.y) - cy) / 1000;
  const std::vector<Real> all = {1, u, v, u * u, u * v, v * v};
  return {all.begin(), all.begin() + static_cast<std::ptrdiff_t>(p)};
}

Real Diff(const CommonPoint& q) {
  return static_cast<Real>(*q.survey_h) - static_cast<Real>(*q.construction_h);
}

// The normal equations AᵀA and Aᵀd of `rows` (the design) and `d`.
struct Normal {
  Matrix n;
  std::vector<Real> b;
  Real dd = 0;  // dᵀd
};

Normal NormalOf(const std::vector<std::vector<Real>>& rows, const std::vector<Real>& d) {
  const std::size_t p = rows[0].size();
  Normal e{Matrix(p, std::vector<Real>(p, 0)), std::vector<Real>(p, 0)};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    e.dd += d[i] * d[i];
    for (std::size_t j = 0; j < p; ++j) {
      e.b[j] += rows[i][j] * d[i];
      for (std::size_t k = 0; k < p; ++k) e.n[j][k] += rows[i][j] * rows[i][k];
    }
  }
  return e;
}

std::vector<Real> Solve(const Normal& e) {
  const std::size_t p = e.b.size();
  const Matrix inv = Inverse(e.n);
  std::vector<Real> a(p, 0);
  for (std::size_t j = 0; j < p; ++j) {
    for (std::size_t k = 0; k < p; ++k) a[j] += inv[j][k] * e.b[k];
  }
  return a;
}

Real Dot(const std::vector<Real>& a, const std::vector<Real>& b) {
  Real s = 0;
  for (std::size_t i = 0; i < a.size(); ++i) s += a[i] * b[i];
  return s;
}

Real FQuantileOf(Real d1, Real d2, Real p) {
  return boost::math::quantile(boost::math::fisher_f_distribution<Real>(d1, d2), p);
}

Reference Model(const Site& site, std::size_t p) {
  Reference r;
  const std::size_t n = site.fitted.size();
  if (n < p) return r;
  r.fitted = true;
  Real cx = 0, cy = 0;
  for (const CommonPoint& q : site.fitted) {
    cx += q.survey.x;
    cy += q.survey.y;
  }
  cx /= n;
  cy /= n;
  std::vector<std::vector<Real>> rows;
  std::vector<Real> d;
  for (const CommonPoint& q : site.fitted) {
    rows.push_back(Row(q, cx, cy, p));
    d.push_back(Diff(q));
  }
  const Normal all = NormalOf(rows, d);
  r.terms = Solve(all);
  const Matrix inv = Inverse(all.n);
  for (std::size_t i = 0; i < n; ++i) {
    r.residuals.push_back(d[i] - Dot(rows[i], r.terms));
    r.ssr += r.residuals[i] * r.residuals[i];
    Real h = 0;
    for (std::size_t j = 0; j < p; ++j) {
      for (std::size_t k = 0; k < p; ++k) h += rows[i][j] * inv[j][k] * rows[i][k];
    }
    r.leverage.push_back(h);
  }
  for (const CommonPoint& q : site.check)
    r.check.push_back(Diff(q) - Dot(Row(q, cx, cy, p), r.terms));
  r.enough = static_cast<Real>(n) > 1.5L * static_cast<Real>(p);
  if (n > p) r.rms = std::sqrt(r.ssr / (n - p));
  const Real sigma = std::max<Real>(r.rms, kLeastSigma);
  for (std::size_t i = 0; i < n; ++i) {
    const bool free = 1 - r.leverage[i] >= kLeverageOne;
    r.standardized.push_back(
        n > p && free ? std::optional<Real>(r.residuals[i] / (sigma * std::sqrt(1 - r.leverage[i])))
                      : std::nullopt);
  }
  if (n < p + 2) return r;
  r.critical = FQuantileOf(1, n - p - 1, 1 - 0.05L / n);
  for (std::size_t i = 0; i < n; ++i) {
    if (1 - r.leverage[i] < kLeverageOne) {
      r.misses.push_back(std::nullopt);
      r.t.push_back(std::nullopt);
      r.blunder.push_back(false);
      continue;
    }
    // The others fitted without the point (their normal equations, the
    // point's share taken out): what it misses by, and their scatter,
    // SSR = dᵀd − aᵀ·Aᵀd.
    Normal without = all;
    without.dd -= d[i] * d[i];
    for (std::size_t j = 0; j < p; ++j) {
      without.b[j] -= rows[i][j] * d[i];
      for (std::size_t k = 0; k < p; ++k) without.n[j][k] -= rows[i][j] * rows[i][k];
    }
    const std::vector<Real> others = Solve(without);
    const Real ssr = std::max<Real>(0, without.dd - Dot(others, without.b));
    const Real sigma_i = std::max<Real>(std::sqrt(ssr / (n - p - 1)), kLeastSigma);
    const Real t = r.residuals[i] / (sigma_i * std::sqrt(1 - r.leverage[i]));
    r.misses.push_back(d[i] - Dot(rows[i], others));
    r.t.push_back(t);
    r.blunder.push_back(t * t > r.critical);
  }
  return r;
}

struct ModelF {
  Real f = 0, quantile = 0;
};

ModelF FOf(const Reference& simpler, const Reference& full, std::size_t n, std::size_t p0,
           std::size_t p1) {
  const Real s2 = std::max<Real>(full.ssr / (n - p1), kLeastSigma * kLeastSigma);
  return {std::max<Real>(0, simpler.ssr - full.ssr) / (p1 - p0) / s2,
          FQuantileOf(p1 - p0, n - p1, 0.95L)};
}

// Metres a term moves d by across the site: the term times its largest |column|.
Real Reach(const Site& site, std::size_t term) {
  Real cx = 0, cy = 0;
  for (const CommonPoint& q : site.fitted) {
    cx += q.survey.x;
    cy += q.survey.y;
  }
  cx /= site.fitted.size();
  cy /= site.fitted.size();
  Real reach = 0;
  for (const CommonPoint& q : site.fitted) {
    reach = std::max(reach, std::fabs(Row(q, cx, cy, 6)[term]));
  }
  return reach;
}

enum class Shape { kFlat, kTilted, kCurved };

Site RandomSite(std::mt19937_64& random, Shape shape, std::size_t n, bool blunders,
                std::size_t checks) {
  std::uniform_real_distribution<double> unit(0, 1);
  const double x0 = 3.2e6 + 1e5 * unit(random), y0 = 4.8e5 + 1e5 * unit(random);
  const double extent = 50 + 2950 * unit(random);  // metres
  const double d0 = -50 + 100 * unit(random);
  const double sx = shape == Shape::kFlat ? 0 : 0.04 * (unit(random) - 0.5);  // up to 2 %
  const double sy = shape == Shape::kFlat ? 0 : 0.04 * (unit(random) - 0.5);
  const double bend = shape == Shape::kCurved ? 0.2 * (unit(random) - 0.5) : 0;  // metres
  std::normal_distribution<double> noise(0, 0.001 + 0.009 * unit(random));
  Site site;
  for (std::size_t i = 0; i < n + checks; ++i) {
    CommonPoint q;
    q.name = "P" + std::to_string(i + 1);
    q.survey = {x0 + extent * unit(random), y0 + extent * unit(random)};
    q.construction = q.survey;
    const double dx = (q.survey.x - x0) / extent - 0.5, dy = (q.survey.y - y0) / extent - 0.5;
    const double d = d0 + sx * extent * dx + sy * extent * dy + bend * (dx * dx - 0.7 * dx * dy);
    q.survey_h = 20 + 300 * unit(random);
    q.construction_h = *q.survey_h - d + noise(random);
    (i < n ? site.fitted : site.check).push_back(q);
  }
  if (blunders && n > 3) {
    const std::size_t count = 1 + random() % 2;
    for (std::size_t b = 0; b < count; ++b) {
      const std::size_t i = random() % n;
      *site.fitted[i].construction_h += (random() % 2 ? 1 : -1) * (0.05 + 0.45 * unit(random));
      site.planted.push_back(i);
    }
  }
  return site;
}

void ExpectNear(Real expected, double actual, Real tolerance, const std::string& what) {
  EXPECT_LE(std::fabs(static_cast<Real>(actual) - expected), tolerance)
      << what << ": " << static_cast<double>(expected) << " expected, " << actual;
}

void Compare(const Site& site, const Expected<HeightSolution, HeightShortfall>& fit,
             const Reference& r, std::size_t p, const std::string& where) {
  ASSERT_EQ(fit.ok(), r.fitted) << where;
  if (!r.fitted) {
    EXPECT_EQ(fit.error(), HeightShortfall::kTooFewPoints) << where;
    return;
  }
  const HeightSolution& s = *fit;
  const std::size_t n = site.fitted.size();
  for (std::size_t k = 0; k < p; ++k) {
    ExpectNear(r.terms[k] * Reach(site, k), s.surface.terms[k] * Reach(site, k), 1e-9L,
               where + " term a" + std::to_string(k) + " across the site, m");
  }
  EXPECT_EQ(s.redundancy, n - p) << where;
  EXPECT_EQ(s.enough_points, r.enough) << where;
  ExpectNear(r.rms, s.rms, 1e-10L, where + " rms");
  for (std::size_t i = 0; i < n; ++i) {
    const std::string at = where + " point " + std::to_string(i);
    ExpectNear(r.residuals[i], s.residuals[i], 1e-9L, at + " residual");
    ExpectNear(r.leverage[i], s.leverage[i], 1e-9L, at + " leverage");
    ASSERT_EQ(s.standardized[i].has_value(), r.standardized[i].has_value()) << at;
    if (r.standardized[i]) {
      ExpectNear(*r.standardized[i], *s.standardized[i],
                 1e-6L * std::max<Real>(1, std::fabs(*r.standardized[i])), at + " standardized");
    }
  }
  for (std::size_t i = 0; i < site.check.size(); ++i) {
    ExpectNear(r.check[i], s.check_misclosures[i], 1e-9L, where + " check misclosure");
  }
  ASSERT_EQ(s.blunder_test.has_value(), n >= p + 2) << where;
  if (!s.blunder_test) return;
  const HeightBlunderTest& test = *s.blunder_test;
  EXPECT_EQ(test.freedom, n - p - 1) << where;
  ExpectNear(r.critical, test.critical, 1e-9L * r.critical, where + " critical");
  std::vector<std::size_t> blunders;
  for (std::size_t i = 0; i < n; ++i) {
    const std::string at = where + " point " + std::to_string(i) + " left out";
    ASSERT_EQ(test.points[i].has_value(), r.t[i].has_value()) << at;
    if (!r.t[i]) continue;
    ExpectNear(*r.misses[i], test.points[i]->misses, 1e-8L, at + " misses");
    ExpectNear(*r.t[i], test.points[i]->t, 1e-6L * std::max<Real>(1, std::fabs(*r.t[i])),
               at + " t");
    EXPECT_EQ(test.points[i]->blunder, r.blunder[i]) << at;
    if (r.blunder[i]) blunders.push_back(i);
  }
  EXPECT_EQ(test.blunders, blunders) << where;
}

TEST(FitHeights, AgreesWithAnIndependentModelOnRandomSites) {
  // Rows: the shape of the site's height difference, whether blunders are
  // planted, how many check points; 500 sites in all, 3 to 200 points each.
  struct Kind {
    Shape shape;
    bool blunders;
    std::size_t checks;
    std::size_t sites;
  };
  const Kind kinds[] = {
      {Shape::kFlat, false, 0, 80},  {Shape::kFlat, true, 3, 80},    {Shape::kTilted, false, 4, 90},
      {Shape::kTilted, true, 0, 90}, {Shape::kCurved, false, 2, 80}, {Shape::kCurved, true, 5, 80},
  };
  std::mt19937_64 random(20261209);
  std::size_t sites = 0, recommended[4] = {};
  for (const Kind& kind : kinds) {
    for (std::size_t s = 0; s < kind.sites; ++s, ++sites) {
      const std::size_t n = 3 + random() % 198;
      const Site site = RandomSite(random, kind.shape, n, kind.blunders, kind.checks);
      const std::string where = "site " + std::to_string(sites) + " (" + std::to_string(n) + ")";
      const HeightFits fits = FitHeights(site.fitted, site.check);
      const Reference offset = Model(site, 1), plane = Model(site, 3), quadric = Model(site, 6);
      Compare(site, fits.offset, offset, 1, where + " offset");
      Compare(site, fits.plane, plane, 3, where + " plane");
      Compare(site, fits.quadric, quadric, 6, where + " quadric");

      // The F tests and the model they recommend.
      std::optional<ModelF> plane_f, quadric_f;
      if (n > 3) plane_f = FOf(offset, plane, n, 1, 3);
      if (n > 6) quadric_f = FOf(plane, quadric, n, 3, 6);
      ASSERT_EQ(fits.plane_against_offset.has_value(), plane_f.has_value()) << where;
      ASSERT_EQ(fits.quadric_against_plane.has_value(), quadric_f.has_value()) << where;
      if (plane_f) {
        ExpectNear(plane_f->f, fits.plane_against_offset->f, 1e-6L * std::max<Real>(1, plane_f->f),
                   where + " plane F");
        ExpectNear(plane_f->quantile, fits.plane_against_offset->quantile, 1e-9L,
                   where + " plane quantile");
        EXPECT_EQ(fits.plane_against_offset->significant, plane_f->f > plane_f->quantile) << where;
      }
      if (quadric_f) {
        ExpectNear(quadric_f->f, fits.quadric_against_plane->f,
                   1e-6L * std::max<Real>(1, quadric_f->f), where + " quadric F");
        EXPECT_EQ(fits.quadric_against_plane->significant, quadric_f->f > quadric_f->quantile)
            << where;
      }
      HeightModel expected = HeightModel::kOffset;
      if (n >= 10 && quadric_f && quadric_f->f > quadric_f->quantile) {
        expected = HeightModel::kQuadric;
      } else if (n >= 5 && plane_f && plane_f->f > plane_f->quantile) {
        expected = HeightModel::kPlane;
      }
      EXPECT_EQ(fits.recommended, expected) << where;
      ++recommended[static_cast<int>(fits.recommended)];
    }
  }
  EXPECT_EQ(sites, 500u);
  // Every model was recommended somewhere: the sites do exercise each rule.
  EXPECT_GT(recommended[static_cast<int>(HeightModel::kOffset)], 0u);
  EXPECT_GT(recommended[static_cast<int>(HeightModel::kPlane)], 0u);
  EXPECT_GT(recommended[static_cast<int>(HeightModel::kQuadric)], 0u);
}

CommonPoint HeightPoint(double x, double y, double hs, double hc) {
  CommonPoint q;
  q.survey = {x, y};
  q.survey_h = hs;
  q.construction_h = hc;
  return q;
}

TEST(FitHeights, TooFewOrBadlyPlacedPointsAreSaidNotFitted) {
  // Rows: the fit points (survey X, Y, Hs, Hc), the model, and the
  // shortfall worked out by hand.
  const std::vector<CommonPoint> line = {HeightPoint(3e6, 5e5, 10, 9),
                                         HeightPoint(3e6 + 10, 5e5 + 20, 11, 10),
                                         HeightPoint(3e6 + 30, 5e5 + 60, 12, 10)};
  std::vector<CommonPoint> circle;  // six points on one circle: u² + v² is the constant column
  for (int i = 0; i < 6; ++i) {
    circle.push_back(HeightPoint(1000 + 100 * std::cos(i), 2000 + 100 * std::sin(i), 5 + i, 4));
  }
  struct Row {
    std::vector<CommonPoint> points;
    HeightModel model;
    HeightShortfall expected;
  };
  const Row rows[] = {
      {{}, HeightModel::kOffset, HeightShortfall::kTooFewPoints},
      {{line[0], line[1]}, HeightModel::kPlane, HeightShortfall::kTooFewPoints},
      {line, HeightModel::kPlane, HeightShortfall::kCollinear},
      {line, HeightModel::kQuadric, HeightShortfall::kTooFewPoints},
      {circle, HeightModel::kQuadric, HeightShortfall::kPoorlySpread},
  };
  for (const Row& row : rows) {
    auto fit = FitHeightModel(row.points, {}, row.model);
    ASSERT_FALSE(fit.ok()) << row.points.size();
    EXPECT_EQ(fit.error(), row.expected) << row.points.size();
  }
  // Three on a line still fix the offset: d = 1, 1, 2, mean 4/3.
  auto offset = FitHeightModel(line, {}, HeightModel::kOffset);
  ASSERT_TRUE(offset.ok());
  EXPECT_DOUBLE_EQ(offset->surface.terms[0], 4.0 / 3);
  EXPECT_EQ(FitHeights({}, {}).recommended, HeightModel::kNone);
}

TEST(HeightCoverage, PointsBeyondTheHullByTheMarginAreOutside) {
  // Rows: the fit points' survey X, Y, a point, and its distance from
  // their hull worked out by hand.
  const std::vector<PlanePoint> square = {
      {3e6, 5e5}, {3e6 + 100, 5e5}, {3e6 + 50, 5e5 + 50}, {3e6 + 100, 5e5 + 100}, {3e6, 5e5 + 100}};
  struct Row {
    std::vector<PlanePoint> fitted;
    PlanePoint point;
    double distance;
    bool covered;
  };
  const Row rows[] = {
      {square, {3e6 + 50, 5e5 + 50}, 0, true},              // inside
      {square, {3e6 + 100, 5e5 + 30}, 0, true},             // on an edge
      {square, {3e6 + 100.5, 5e5 + 30}, 0.5, true},         // within the margin
      {square, {3e6 + 102, 5e5 + 30}, 2, false},            // beyond it
      {square, {3e6 + 103, 5e5 + 104}, 5, false},           // nearest a corner: 3, 4, 5
      {square, {3e6 - 0.25, 5e5 + 99}, 0.25, true},         // the lower X edge
      {{{10, 10}}, {13, 14}, 5, false},                     // one point
      {{{0, 0}, {0, 100}, {0, 40}}, {0.6, 50}, 0.6, true},  // points on a line: a segment
      {{{0, 0}, {0, 100}}, {0, 104}, 4, false},             // beyond its end
  };
  for (const Row& row : rows) {
    const HeightCoverage coverage(row.fitted);
    EXPECT_NEAR(coverage.DistanceOutside(row.point), row.distance, 1e-9) << row.point.x;
    EXPECT_EQ(coverage.Covers(row.point), row.covered) << row.point.x;
  }
  EXPECT_EQ(HeightCoverage(square).Vertices().size(), 4u);  // the middle point is no vertex
  EXPECT_FALSE(HeightCoverage({}).Covers({0, 0}));
}

}  // namespace
}  // namespace torvane
