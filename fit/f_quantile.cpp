#include "fit/f_quantile.h"

#include <boost/math/distributions/fisher_f.hpp>
#include <cmath>
#include <exception>
#include <string>

#include "number/round_trip.h"

namespace torvane {

Expected<double> FQuantile(double d1, double d2, double p) {
  if (!(d1 > 0) || !std::isfinite(d1) || !(d2 > 0) || !std::isfinite(d2)) {
    return Fail("F quantile: degrees of freedom " + RoundTripText(d1) + " and " +
                RoundTripText(d2) + " are not both greater than 0");
  }
  if (!(p > 0 && p < 1)) return Fail("F quantile: p = " + RoundTripText(p) + " is not in (0, 1)");
  try {
    return boost::math::quantile(boost::math::fisher_f_distribution<double>(d1, d2), p);
  } catch (const std::exception& e) {  // Boost's evaluation errors: not met within these bounds
    return Fail("F quantile of F(" + RoundTripText(d1) + ", " + RoundTripText(d2) +
                ") at p = " + RoundTripText(p) + ": " + e.what());
  }
}

}  // namespace torvane
