// Quantiles of Fisher's F distribution, for the test whether an extra
// parameter of a least-squares fit is significant.
#pragma once

#include "base/expected.h"

namespace torvane {

// The probability p quantile of F(d1, d2): the f with P(F ≤ f) = p, by
// Boost.Math's fisher_f (the inverse of the regularized incomplete beta
// function, to a few units in the last place). Degrees of freedom > 0 and
// finite, p in (0, 1). Rejects anything else, quoting it:
// "F quantile: p = 1.5 is not in (0, 1)".
Expected<double> FQuantile(double d1, double d2, double p);

}  // namespace torvane
