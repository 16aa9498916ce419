// The similarity least-squares optimum found independently of
// FitSimilarity's closed form: Gauss-Newton iteration on X0, Y0, theta and
// k, with the normal matrix solved by elimination, and from it the
// statistics ReportFit gives.
#pragma once

#include <cmath>
#include <span>
#include <utility>
#include <vector>

#include "fit/common_point.h"
#include "params/conversion_params.h"

namespace torvane::testing {

constexpr int kSimilarityUnknowns = 4;  // X0, Y0, theta, k

struct SimilarityOptimum {
  RunParams params;
  double sum_of_squares = 0;                                      // m²
  double inverse[kSimilarityUnknowns][kSimilarityUnknowns] = {};  // of the normal matrix
  std::vector<double> hat_x, hat_y;  // the hat matrix's diagonal, per point and coordinate
};

// The rows of the design for one point: d(model x, model y)/d(X0, Y0, theta, k).
inline void SimilarityRows(const RunParams& p, const CommonPoint& q, double jx[4], double jy[4]) {
  const double c = std::cos(p.theta), s = std::sin(p.theta);
  const double cx = q.construction.x, cy = q.construction.y;
  jx[0] = 1, jx[1] = 0, jx[2] = p.scale * (-s * cx - c * cy), jx[3] = c * cx - s * cy;
  jy[0] = 0, jy[1] = 1, jy[2] = p.scale * (c * cx - s * cy), jy[3] = s * cx + c * cy;
}

// Inverts the 4x4 matrix m by Gauss-Jordan elimination with partial pivoting.
inline void InvertFour(double m[4][4], double out[4][4]) {
  double a[4][8];
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      a[i][j] = m[i][j];
      a[i][j + 4] = i == j ? 1 : 0;
    }
  }
  for (int col = 0; col < 4; ++col) {
    int pivot = col;
    for (int r = col + 1; r < 4; ++r) {
      if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) pivot = r;
    }
    for (int j = 0; j < 8; ++j) std::swap(a[col][j], a[pivot][j]);
    const double d = a[col][col];
    for (int j = 0; j < 8; ++j) a[col][j] /= d;
    for (int r = 0; r < 4; ++r) {
      if (r == col) continue;
      const double f = a[r][col];
      for (int j = 0; j < 8; ++j) a[r][j] -= f * a[col][j];
    }
  }
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) out[i][j] = a[i][j + 4];
  }
}

// Minimises sum |survey - (X0 + k·R(theta)·construction)|² from `p`, which
// must be near enough for Gauss-Newton to converge.
inline SimilarityOptimum GaussNewtonSimilarity(std::span<const CommonPoint> points, RunParams p) {
  SimilarityOptimum out;
  for (int iteration = 0; iteration < 100; ++iteration) {
    double n[4][4] = {}, g[4] = {};
    for (const CommonPoint& q : points) {
      double jx[4], jy[4];
      SimilarityRows(p, q, jx, jy);
      const double c = std::cos(p.theta), s = std::sin(p.theta);
      const double cx = q.construction.x, cy = q.construction.y;
      const double rx = q.survey.x - (p.x_offset + p.scale * (c * cx - s * cy));
      const double ry = q.survey.y - (p.y_offset + p.scale * (s * cx + c * cy));
      for (int a = 0; a < 4; ++a) {
        g[a] += jx[a] * rx + jy[a] * ry;
        for (int b = 0; b < 4; ++b) n[a][b] += jx[a] * jx[b] + jy[a] * jy[b];
      }
    }
    double inv[4][4];
    InvertFour(n, inv);
    double d[4] = {};
    for (int a = 0; a < 4; ++a) {
      for (int b = 0; b < 4; ++b) d[a] += inv[a][b] * g[b];
    }
    p.x_offset += d[0];
    p.y_offset += d[1];
    p.theta += d[2];
    p.scale += d[3];
    if (std::fabs(d[2]) < 1e-16 && std::fabs(d[3]) < 1e-16) break;
  }
  out.params = p;
  double n[4][4] = {};
  for (const CommonPoint& q : points) {
    double jx[4], jy[4];
    SimilarityRows(p, q, jx, jy);
    for (int a = 0; a < 4; ++a) {
      for (int b = 0; b < 4; ++b) n[a][b] += jx[a] * jx[b] + jy[a] * jy[b];
    }
    const double c = std::cos(p.theta), s = std::sin(p.theta);
    const double rx =
        q.survey.x - (p.x_offset + p.scale * (c * q.construction.x - s * q.construction.y));
    const double ry =
        q.survey.y - (p.y_offset + p.scale * (s * q.construction.x + c * q.construction.y));
    out.sum_of_squares += rx * rx + ry * ry;
  }
  InvertFour(n, out.inverse);
  for (const CommonPoint& q : points) {
    double jx[4], jy[4];
    SimilarityRows(p, q, jx, jy);
    double hx = 0, hy = 0;
    for (int a = 0; a < 4; ++a) {
      for (int b = 0; b < 4; ++b) {
        hx += jx[a] * out.inverse[a][b] * jx[b];
        hy += jy[a] * out.inverse[a][b] * jy[b];
      }
    }
    out.hat_x.push_back(hx);
    out.hat_y.push_back(hy);
  }
  return out;
}

}  // namespace torvane::testing
