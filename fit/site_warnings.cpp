#include "fit/site_warnings.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <numeric>
#include <utility>

#include "fit/rigid_fit.h"
#include "fit/similarity_fit.h"
#include "params/transform.h"

namespace torvane {
namespace {

using Grid = PlanePoint CommonPoint::*;

// Whether two points are closer than kCoincidentLimit.
bool Near(PlanePoint p, PlanePoint q) {
  const double dx = q.x - p.x, dy = q.y - p.y;
  return dx * dx + dy * dy < kCoincidentLimit * kCoincidentLimit;
}

// Calls visit(i, j), i < j, once for every pair of points Near in `grid`:
// the points in order along the axis they spread further along, each
// compared only with those that follow it within the limit there (a pair
// Near differs by less than the limit along either axis).
template <class Visit>
void VisitNearPairs(std::span<const CommonPoint> points, Grid grid, Visit visit) {
  const auto [x_low, x_high] = std::minmax_element(
      points.begin(), points.end(),
      [grid](const CommonPoint& a, const CommonPoint& b) { return (a.*grid).x < (b.*grid).x; });
  const auto [y_low, y_high] = std::minmax_element(
      points.begin(), points.end(),
      [grid](const CommonPoint& a, const CommonPoint& b) { return (a.*grid).y < (b.*grid).y; });
  const bool along_x =
      ((*x_high).*grid).x - ((*x_low).*grid).x >= ((*y_high).*grid).y - ((*y_low).*grid).y;
  auto along = [&](std::size_t i) { return along_x ? (points[i].*grid).x : (points[i].*grid).y; };
  std::vector<std::size_t> order(points.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(),
            [&](std::size_t a, std::size_t b) { return along(a) < along(b); });
  for (std::size_t a = 0; a < order.size(); ++a) {
    for (std::size_t b = a + 1; b < order.size(); ++b) {
      if (!(along(order[b]) - along(order[a]) < kCoincidentLimit)) break;
      if (Near(points[order[a]].*grid, points[order[b]].*grid)) {
        visit(std::min(order[a], order[b]), std::max(order[a], order[b]));
      }
    }
  }
}

// The places points make when each pair joined is one place.
class Places {
 public:
  explicit Places(std::size_t count) : parent_(count), count_(count) {
    std::iota(parent_.begin(), parent_.end(), 0);
  }
  void Join(std::size_t i, std::size_t j) {
    const std::size_t a = Root(i), b = Root(j);
    if (a == b) return;
    parent_[a] = b;
    --count_;
  }
  std::size_t count() const { return count_; }

 private:
  std::size_t Root(std::size_t i) {
    while (parent_[i] != i) i = parent_[i] = parent_[parent_[i]];
    return i;
  }
  std::vector<std::size_t> parent_;
  std::size_t count_;
};

// The first kCoincidentListed pairs given, in increasing order, and how
// many were given: a heap of the smallest so far, its largest on top.
class FirstPairs {
 public:
  void Add(std::size_t i, std::size_t j) {
    ++count_;
    const std::pair<std::size_t, std::size_t> pair{i, j};
    if (heap_.size() < kCoincidentListed) {
      heap_.push_back(pair);
      std::push_heap(heap_.begin(), heap_.end());
    } else if (pair < heap_.front()) {
      std::pop_heap(heap_.begin(), heap_.end());
      heap_.back() = pair;
      std::push_heap(heap_.begin(), heap_.end());
    }
  }
  std::size_t count() const { return count_; }
  std::vector<std::pair<std::size_t, std::size_t>> Sorted() && {
    std::sort_heap(heap_.begin(), heap_.end());
    return std::move(heap_);
  }

 private:
  std::vector<std::pair<std::size_t, std::size_t>> heap_;
  std::size_t count_ = 0;
};

// Whether the points of `grid` spread across their best line less than
// kCollinearRatio times as much as along it: the eigenvalues of the scatter
// matrix about the centroid (taken relative to the first point, so that
// Gauss-Krüger sized coordinates keep their digits) are the squares.
bool OnOneLine(std::span<const CommonPoint> points, Grid grid) {
  const PlanePoint origin = points.front().*grid;
  double sum_x = 0, sum_y = 0;
  for (const CommonPoint& p : points) {
    sum_x += (p.*grid).x - origin.x;
    sum_y += (p.*grid).y - origin.y;
  }
  const double count = static_cast<double>(points.size());
  const double mean_x = sum_x / count, mean_y = sum_y / count;
  double xx = 0, yy = 0, xy = 0;
  for (const CommonPoint& p : points) {
    const double dx = ((p.*grid).x - origin.x) - mean_x;
    const double dy = ((p.*grid).y - origin.y) - mean_y;
    xx += dx * dx;
    yy += dy * dy;
    xy += dx * dy;
  }
  const double middle = (xx + yy) / 2;
  const double radius = std::hypot((xx - yy) / 2, xy);
  const double along = middle + radius;
  const double across = std::max(middle - radius, 0.0);
  return across < kCollinearRatio * kCollinearRatio * along;
}

// Gauss-Krüger coordinates, by their size.
bool NorthingLike(double v) { return v >= kNorthingFrom && v <= kNorthingTo; }
bool EastingLike(double v) {
  return (v >= 0 && v < kEastingBelow) || (v >= kZonedEastingFrom && v < kZonedEastingBelow);
}

// Whether every point's survey coordinates look like Gauss-Krüger ones
// written in `order`: north first (X a northing, Y an easting) or east first.
enum class Order { kNorthFirst, kEastFirst };
bool SurveyWritten(std::span<const CommonPoint> points, Order order) {
  return std::all_of(points.begin(), points.end(), [order](const CommonPoint& p) {
    const double first = p.survey.x, second = p.survey.y;
    return order == Order::kNorthFirst ? NorthingLike(first) && EastingLike(second)
                                       : EastingLike(first) && NorthingLike(second);
  });
}

// The RMS of the residual lengths, metres, of the fit with the construction
// grid's X and Y exchanged; none where that fit fails.
std::optional<double> ExchangedRms(std::span<const CommonPoint> fitted, FitModel model) {
  std::vector<CommonPoint> exchanged(fitted.size());
  for (std::size_t i = 0; i < fitted.size(); ++i) {
    exchanged[i].survey = fitted[i].survey;
    exchanged[i].construction = {fitted[i].construction.y, fitted[i].construction.x};
  }
  auto fit = model == FitModel::kRigid ? FitRigid(exchanged) : FitSimilarity(exchanged);
  if (!fit) return std::nullopt;
  const Transform transform(*fit);
  double sum = 0;
  for (const CommonPoint& p : exchanged) {
    const PlanePoint at = transform.Inverse(p.construction);
    const double dx = p.survey.x - at.x, dy = p.survey.y - at.y;
    sum += dx * dx + dy * dy;
  }
  const double rms = std::sqrt(sum / static_cast<double>(exchanged.size()));
  if (!std::isfinite(rms)) return std::nullopt;
  return rms;
}

}  // namespace

SiteWarnings WarnSite(std::span<const CommonPoint> fitted, FitModel model, double rms) {
  assert(std::isfinite(rms) && rms >= 0);
  assert(std::all_of(fitted.begin(), fitted.end(), [](const CommonPoint& p) {
    return std::isfinite(p.survey.x) && std::isfinite(p.survey.y) &&
           std::isfinite(p.construction.x) && std::isfinite(p.construction.y);
  }));
  SiteWarnings warnings;
  const std::size_t n = fitted.size();
  if (n < 2) return warnings;
  warnings.no_redundancy = n == 2;

  // Each pair once: those of the construction grid only where the survey
  // grid has not named them.
  Places survey_places(n), construction_places(n);
  FirstPairs coincident;
  VisitNearPairs(fitted, &CommonPoint::survey, [&](std::size_t i, std::size_t j) {
    survey_places.Join(i, j);
    coincident.Add(i, j);
  });
  VisitNearPairs(fitted, &CommonPoint::construction, [&](std::size_t i, std::size_t j) {
    construction_places.Join(i, j);
    if (!Near(fitted[i].survey, fitted[j].survey)) coincident.Add(i, j);
  });
  warnings.coincident_count = coincident.count();
  warnings.coincident = std::move(coincident).Sorted();
  if (n < 3) return warnings;

  // A grid at fewer than three places lies on a line of its own making.
  const bool survey_spread = survey_places.count() >= 3;
  const bool construction_spread = construction_places.count() >= 3;
  const bool survey_line = survey_spread && OnOneLine(fitted, &CommonPoint::survey);
  const bool construction_line =
      construction_spread && OnOneLine(fitted, &CommonPoint::construction);
  warnings.collinear = survey_line || construction_line;
  if (!survey_spread || !construction_spread || warnings.collinear) return warnings;

  const std::optional<double> exchanged = ExchangedRms(fitted, model);
  if (!exchanged) return warnings;
  warnings.swapped_rms = *exchanged;
  if (rms > kSwappedNoiseFloor && *exchanged * kSwappedGain <= rms) {
    warnings.swapped = SurveyWritten(fitted, Order::kEastFirst)    ? SwappedGrid::kSurvey
                       : SurveyWritten(fitted, Order::kNorthFirst) ? SwappedGrid::kConstruction
                                                                   : SwappedGrid::kEither;
  }
  return warnings;
}

bool NotOneTransformation(const SiteWarnings& warnings) {
  return warnings.swapped.has_value() || warnings.collinear || warnings.coincident_count > 0;
}

}  // namespace torvane
