// The rigid least-squares optimum found independently of FitRigid's closed
// form: Gauss-Newton iteration on X0, Y0 and theta.
#pragma once

#include <cmath>
#include <span>

#include "fit/common_point.h"
#include "params/conversion_params.h"

namespace torvane::testing {

// Minimises sum |survey - (X0 + R(theta)·construction)|² from `p`.
inline RunParams GaussNewton(std::span<const CommonPoint> points, RunParams p) {
  for (int iteration = 0; iteration < 100; ++iteration) {
    // Normal equations n·d = -g of the residuals r = survey - model.
    double n[3][3] = {}, g[3] = {};
    for (const CommonPoint& q : points) {
      const double c = std::cos(p.theta), s = std::sin(p.theta);
      const double cx = q.construction.x, cy = q.construction.y;
      const double rx = q.survey.x - (p.x_offset + c * cx - s * cy);
      const double ry = q.survey.y - (p.y_offset + s * cx + c * cy);
      const double jx[3] = {-1, 0, s * cx + c * cy};   // d rx / d(X0, Y0, theta)
      const double jy[3] = {0, -1, -c * cx + s * cy};  // d ry / d(X0, Y0, theta)
      for (int a = 0; a < 3; ++a) {
        g[a] += jx[a] * rx + jy[a] * ry;
        for (int b = 0; b < 3; ++b) n[a][b] += jx[a] * jx[b] + jy[a] * jy[b];
      }
    }
    // n is [[k, 0, u], [0, k, v], [u, v, w]]: X0 and Y0 eliminated first.
    const double k = n[0][0], u = n[0][2], v = n[1][2], w = n[2][2];
    const double dt = (-g[2] + (u * g[0] + v * g[1]) / k) / (w - (u * u + v * v) / k);
    p.x_offset += (-g[0] - u * dt) / k;
    p.y_offset += (-g[1] - v * dt) / k;
    p.theta += dt;
    if (std::fabs(dt) < 1e-16) break;
  }
  return p;
}

}  // namespace torvane::testing
