// Quantiles of Fisher's F distribution, for the test whether an extra
// parameter of a least-squares fit is significant.
#pragma once

#include "base/expected.h"

namespace torvane {

// The regularized incomplete beta function I_x(a, b), for a, b > 0 and x in
// [0, 1], by the continued fraction of Numerical Recipes §6.4 (modified
// Lentz), taken directly for x < (a+1)/(a+b+2) and through
// I_x(a, b) = 1 − I_(1−x)(b, a) otherwise. Good to about 1e-14.
double RegularizedIncompleteBeta(double a, double b, double x);

// The probability p quantile of F(d1, d2): the f with
// P(F ≤ f) = I_(d1·f/(d1·f + d2))(d1/2, d2/2) = p, found by bisection of
// that fraction to the last bit. Degrees of freedom > 0, p in (0, 1).
// Rejects anything else, quoting it: "F quantile: p = 1.5 is not in (0, 1)".
Expected<double> FQuantile(double d1, double d2, double p);

}  // namespace torvane
