#include "batch/result_clash.h"

#include <cassert>
#include <filesystem>

#include "os/file_system.h"

namespace torvane {
namespace {

// A name as the run opens it: its place where the folder can be reached,
// otherwise its text.
struct Destination {
  bool given = false;  // false for "-"
  std::optional<EntryPlace> place;
  std::filesystem::path text;
};

Destination DestinationOf(const std::string& utf8) {
  Destination d;
  if (utf8 == "-") return d;
  d.given = true;
  const std::filesystem::path path = PathFromUtf8(utf8);
  d.place = PlaceOf(path);
  d.text = path.lexically_normal();
  return d;
}

bool OneFile(const Destination& a, const Destination& b) {
  if (!a.given || !b.given) return false;
  if (a.place && b.place) return SamePlace(*a.place, *b.place);
  return !a.place && !b.place && a.text == b.text;
}

}  // namespace

std::optional<ResultClash> FindResultClash(const std::vector<std::string>& point_paths,
                                           const std::vector<std::string>& result_paths) {
  assert(point_paths.size() == result_paths.size());
  std::vector<Destination> points, results;
  for (std::size_t i = 0; i < point_paths.size(); ++i) {
    points.push_back(DestinationOf(point_paths[i]));
    results.push_back(DestinationOf(result_paths[i]));
  }
  for (std::size_t second = 1; second < points.size(); ++second) {
    for (std::size_t first = 0; first < second; ++first) {
      if (OneFile(results[first], points[second])) {
        return ResultClash{ResultClash::kResultIsLaterPointFile, first, second};
      }
      if (OneFile(results[second], points[first])) {
        return ResultClash{ResultClash::kResultIsEarlierPointFile, first, second};
      }
      if (OneFile(results[first], results[second]) && !OneFile(points[first], points[second])) {
        return ResultClash{ResultClash::kOneResult, first, second};
      }
    }
  }
  return std::nullopt;
}

}  // namespace torvane
