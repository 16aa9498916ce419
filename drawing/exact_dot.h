// Sums of three products, a·b + c·d + e·f, computed as if in twice the
// precision of a double and rounded at the end (Ogita, Rump and Oishi's
// Dot2: each product split exactly by Veltkamp and Dekker, the sum
// compensated). Built of +, − and × in a fixed order, so every C library
// gives the same bits: std::fma is fused in glibc, but MinGW-w64's runtime
// rounds it twice, and drawings converted on Windows came out differing in
// their last digits.
#pragma once

#include <cmath>

namespace torvane {
namespace exact_dot {

// 2^27 + 1: splits a double into two halves of 26 bits whose products
// with another's halves are exact.
inline constexpr double kSplitter = 134217729.0;

// a·b = product + error exactly (barring overflow and underflow).
inline void TwoProduct(double a, double b, double* product, double* error) {
  *product = a * b;
  const double ca = kSplitter * a, cb = kSplitter * b;
  const double a_high = ca - (ca - a), a_low = a - a_high;
  const double b_high = cb - (cb - b), b_low = b - b_high;
  *error = a_low * b_low - (((*product - a_high * b_high) - a_low * b_high) - a_high * b_low);
}

// a + b = sum + error exactly.
inline void TwoSum(double a, double b, double* sum, double* error) {
  *sum = a + b;
  const double z = *sum - a;
  *error = (a - (*sum - z)) + (b - z);
}

}  // namespace exact_dot

// a·b + c·d + e·f. Finite inputs whose products stay below about 1e290
// (coordinates in metres, factors of unit vectors); beyond that the split
// overflows and the plain sum, in this order, is returned.
inline double Dot3(double a, double b, double c, double d, double e, double f) {
  double p, s, h, r, q;
  exact_dot::TwoProduct(a, b, &p, &s);
  exact_dot::TwoProduct(c, d, &h, &r);
  exact_dot::TwoSum(p, h, &p, &q);
  s += q + r;
  exact_dot::TwoProduct(e, f, &h, &r);
  exact_dot::TwoSum(p, h, &p, &q);
  s += q + r;
  const double result = p + s;
  return std::isfinite(result) ? result : a * b + c * d + e * f;
}

}  // namespace torvane
