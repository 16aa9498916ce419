#include "fit/f_quantile.h"

#include <cmath>
#include <limits>
#include <string>

#include "number/round_trip.h"

namespace torvane {
namespace {

constexpr int kMaxTerms = 500;
constexpr double kTolerance = 1e-15;
constexpr double kTiny = 1e-300;  // keeps Lentz's quotients away from 0

// The continued fraction of I_x(a, b) without its prefactor.
double BetaFraction(double a, double b, double x) {
  const double qab = a + b, qap = a + 1, qam = a - 1;
  double c = 1, d = 1 - qab * x / qap;
  if (std::fabs(d) < kTiny) d = kTiny;
  d = 1 / d;
  double h = d;
  for (int m = 1; m <= kMaxTerms; ++m) {
    const double m2 = 2.0 * m;
    double aa = m * (b - m) * x / ((qam + m2) * (a + m2));
    d = 1 + aa * d;
    if (std::fabs(d) < kTiny) d = kTiny;
    c = 1 + aa / c;
    if (std::fabs(c) < kTiny) c = kTiny;
    d = 1 / d;
    h *= d * c;
    aa = -(a + m) * (qab + m) * x / ((a + m2) * (qap + m2));
    d = 1 + aa * d;
    if (std::fabs(d) < kTiny) d = kTiny;
    c = 1 + aa / c;
    if (std::fabs(c) < kTiny) c = kTiny;
    d = 1 / d;
    const double step = d * c;
    h *= step;
    if (std::fabs(step - 1) < kTolerance) break;
  }
  return h;
}

}  // namespace

double RegularizedIncompleteBeta(double a, double b, double x) {
  if (x <= 0) return 0;
  if (x >= 1) return 1;
  const double log_front =
      std::lgamma(a + b) - std::lgamma(a) - std::lgamma(b) + a * std::log(x) + b * std::log1p(-x);
  const double front = std::exp(log_front);
  if (x < (a + 1) / (a + b + 2)) return front * BetaFraction(a, b, x) / a;
  return 1 - front * BetaFraction(b, a, 1 - x) / b;
}

Expected<double> FQuantile(double d1, double d2, double p) {
  if (!(d1 > 0) || !std::isfinite(d1) || !(d2 > 0) || !std::isfinite(d2)) {
    return Fail("F quantile: degrees of freedom " + RoundTripText(d1) + " and " +
                RoundTripText(d2) + " are not both greater than 0");
  }
  if (!(p > 0 && p < 1)) return Fail("F quantile: p = " + RoundTripText(p) + " is not in (0, 1)");
  // The CDF rises with w = d1·f/(d1·f + d2) from 0 to 1: bisect w.
  double low = 0, high = 1;
  while (true) {
    const double mid = low + (high - low) / 2;
    if (mid <= low || mid >= high) break;
    (RegularizedIncompleteBeta(d1 / 2, d2 / 2, mid) < p ? low : high) = mid;
  }
  const double w = low + (high - low) / 2;
  return d2 * w / (d1 * (1 - w));
}

}  // namespace torvane
