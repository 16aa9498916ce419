#include "fit/worst_pairs.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <tuple>
#include <utility>

#include "number/number_text.h"
#include "params/constants.h"
#include "params/millimetre_text.h"

namespace torvane {
namespace {

double Distance(PlanePoint a, PlanePoint b) { return std::hypot(a.x - b.x, a.y - b.y); }

}  // namespace

PairCheck CheckPair(std::span<const CommonPoint> fitted, std::size_t from, std::size_t to) {
  PairCheck pair;
  pair.from = from;
  pair.to = to;
  pair.survey = Distance(fitted[from].survey, fitted[to].survey);
  pair.construction = Distance(fitted[from].construction, fitted[to].construction);
  pair.difference = pair.construction - pair.survey;
  if (pair.survey > 0) pair.scale = pair.construction / pair.survey;
  return pair;
}

bool SpanFits(std::span<const CommonPoint> points, PlanePoint CommonPoint::*grid) {
  PlanePoint low = points.front().*grid, high = low;
  for (const CommonPoint& p : points) {
    low = {std::fmin(low.x, (p.*grid).x), std::fmin(low.y, (p.*grid).y)};
    high = {std::fmax(high.x, (p.*grid).x), std::fmax(high.y, (p.*grid).y)};
  }
  return std::isfinite(Distance(high, low) * kMillimetresPerMetre);
}

namespace {

struct RankedPair {
  double shown_mm = 0;
  PairCheck pair;
};

// The order of the list: the larger disagreement first, then the smaller indices.
bool RanksBefore(const RankedPair& a, const RankedPair& b) {
  if (a.shown_mm != b.shown_mm) return a.shown_mm > b.shown_mm;
  return std::tie(a.pair.from, a.pair.to) < std::tie(b.pair.from, b.pair.to);
}

// The kWorstPairs pairs ranking first among those offered, kept as a heap
// whose front ranks last.
class WorstPairs {
 public:
  explicit WorstPairs(std::span<const CommonPoint> fitted) : fitted_(fitted) {}

  bool full() const { return kept_.size() == kWorstPairs; }
  const PairCheck& last() const { return kept_.front().pair; }
  // Metres, once full: a pair whose difference is smaller in size than
  // below() shows less than the last one kept, one smaller than not_above()
  // shows no more. The shown size s comes from a difference of at least
  // s - 0.0005 mm; the factor leaves room for the roundings on the way.
  double below() const { return below_; }
  double not_above() const { return not_above_; }

  // Checks the pair from < to and keeps it if it ranks before the last one
  // kept (a pair already kept is not kept twice). False when its difference
  // is beyond the range of doubles.
  bool Offer(std::size_t from, std::size_t to) {
    RankedPair candidate{0, CheckPair(fitted_, from, to)};
    if (!std::isfinite(candidate.pair.difference)) return false;
    if (full() && std::fabs(candidate.pair.difference) < below_) return true;
    candidate.shown_mm = ShownMillimetres(candidate.pair.difference);
    if (!full()) {
      kept_.push_back(candidate);
      if (full()) {
        std::make_heap(kept_.begin(), kept_.end(), RanksBefore);
        SetLimits();
      }
      return true;
    }
    if (!RanksBefore(candidate, kept_.front())) return true;
    for (const RankedPair& k : kept_) {
      if (k.pair.from == from && k.pair.to == to) return true;
    }
    std::pop_heap(kept_.begin(), kept_.end(), RanksBefore);
    kept_.back() = candidate;
    std::push_heap(kept_.begin(), kept_.end(), RanksBefore);
    SetLimits();
    return true;
  }

  // The pairs kept, in the order of the list.
  std::vector<PairCheck> Take() {
    std::sort(kept_.begin(), kept_.end(), RanksBefore);
    std::vector<PairCheck> pairs;
    for (const RankedPair& k : kept_) pairs.push_back(k.pair);
    return pairs;
  }

 private:
  void SetLimits() {
    const double last_mm = kept_.front().shown_mm;
    constexpr double kHalfShownDigit = 0.0005;  // mm
    constexpr double kRoom = 1 - 1e-12;
    below_ = (last_mm - kHalfShownDigit) / kMillimetresPerMetre * kRoom;
    not_above_ = (last_mm + kHalfShownDigit) / kMillimetresPerMetre * kRoom;
  }

  std::span<const CommonPoint> fitted_;
  std::vector<RankedPair> kept_;
  double below_ = 0, not_above_ = 0;
};

// For each point a length, in metres, such that the distances of points i
// and j in the two grids differ by at most length[i] + length[j] + slack.
// A rigid motion keeps distances, so a point's residual under any rotation
// R and translation t is such a length: survey(i) - survey(j) =
// R·(construction(i) - construction(j)) + r(i) - r(j). The residuals are
// taken about the first point, so that their rounding grows with the size
// of the site and not with that of the coordinates; `slack` covers that
// rounding, the rotation's cos² + sin² not being exactly 1, and the
// rounding of the distances, with room to spare.
struct DisagreementBounds {
  std::vector<double> length;
  double slack = 0;
};

DisagreementBounds BoundsOf(std::span<const CommonPoint> fitted, double theta) {
  const double cos_t = std::cos(theta), sin_t = std::sin(theta);
  const PlanePoint s0 = fitted.front().survey, c0 = fitted.front().construction;
  struct Local {
    PlanePoint survey, turned;  // survey minus s0; R·(construction minus c0)
  };
  auto local = [&](const CommonPoint& p) {
    const double cx = p.construction.x - c0.x, cy = p.construction.y - c0.y;
    return Local{{p.survey.x - s0.x, p.survey.y - s0.y},
                 {cos_t * cx - sin_t * cy, sin_t * cx + cos_t * cy}};
  };
  double sum_x = 0, sum_y = 0, survey_span = 0, construction_span = 0;
  for (const CommonPoint& p : fitted) {
    const Local l = local(p);
    sum_x += l.survey.x - l.turned.x;
    sum_y += l.survey.y - l.turned.y;
    survey_span = std::fmax(survey_span, std::fmax(std::fabs(l.survey.x), std::fabs(l.survey.y)));
    construction_span = std::fmax(construction_span, std::fmax(std::fabs(p.construction.x - c0.x),
                                                               std::fabs(p.construction.y - c0.y)));
  }
  const double count = static_cast<double>(fitted.size());
  const double tx = sum_x / count, ty = sum_y / count;

  DisagreementBounds bounds;
  bounds.length.reserve(fitted.size());
  for (const CommonPoint& p : fitted) {
    const Local l = local(p);
    const double length = std::hypot(l.survey.x - l.turned.x - tx, l.survey.y - l.turned.y - ty);
    // Overflow or NaN: a bound that never leaves a pair out.
    bounds.length.push_back(std::isnan(length) ? std::numeric_limits<double>::infinity() : length);
  }
  constexpr double kRounding = 64 * std::numeric_limits<double>::epsilon();
  bounds.slack = kRounding * survey_span + kRounding * construction_span +
                 kRounding * (std::fabs(tx) + std::fabs(ty)) + std::numeric_limits<double>::min();
  if (std::isnan(bounds.slack)) bounds.slack = std::numeric_limits<double>::infinity();
  return bounds;
}

}  // namespace

// The kWorstPairs pairs whose distances disagree most, as a check of every
// pair would rank them. Pairs are visited in the order of their bound,
// largest first, and a row of them is left as soon as its bound cannot reach
// the disagreement of the last pair kept; pairs that could at most equal it,
// and win on their indices, are then looked for among the points with the
// smallest indices. Needs more than kWorstPairs pairs. No value when a
// difference is beyond the range of doubles.
std::optional<std::vector<PairCheck>> WorstPairsOf(std::span<const CommonPoint> fitted,
                                                   double theta) {
  const DisagreementBounds bounds = BoundsOf(fitted, theta);
  const std::size_t n = fitted.size();
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (bounds.length[a] != bounds.length[b]) return bounds.length[a] > bounds.length[b];
    return a < b;
  });
  std::vector<double> sorted(n);
  for (std::size_t k = 0; k < n; ++k) sorted[k] = bounds.length[order[k]];
  // Rounded up, so that the sum stays a bound.
  constexpr double kUp = 1 + 8 * std::numeric_limits<double>::epsilon();
  auto reach = [&](double a, double b) { return (a + b) * kUp + bounds.slack; };

  WorstPairs worst(fitted);
  for (std::size_t p = 0; p + 1 < n; ++p) {
    if (worst.full() && reach(sorted[p], sorted[p + 1]) < worst.not_above()) break;
    for (std::size_t q = p + 1; q < n; ++q) {
      if (worst.full() && reach(sorted[p], sorted[q]) < worst.not_above()) break;
      if (!worst.Offer(std::min(order[p], order[q]), std::max(order[p], order[q]))) {
        return std::nullopt;
      }
    }
  }
  // Every pair left out shows at most the last one's disagreement; those
  // showing just as much rank before it when their indices are smaller.
  for (std::size_t i = 0; i <= worst.last().from; ++i) {
    for (std::size_t q = 0; q < n && reach(bounds.length[i], sorted[q]) >= worst.below(); ++q) {
      const std::size_t j = order[q];
      if (j <= i || (i == worst.last().from && j >= worst.last().to)) continue;
      if (!worst.Offer(i, j)) return std::nullopt;
    }
  }
  return worst.Take();
}

}  // namespace torvane
