// The processor's share of a conversion, without the file system: a point
// file held in memory is read, converted and laid out as the result table
// in memory, again and again; prints the best time per point of reading
// alone and of the whole. Usage: torvane-bench-stages POINT_FILE [ROUNDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "batch/line_rule.h"
#include "batch/usual_line.h"
#include "params/conversion_params.h"
#include "params/transform.h"
#include "report/result_table.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kBatch = 64;
constexpr std::size_t kSlack = 64;  // after the data: a line end, then room for word reads
constexpr std::size_t kTableBytes = 1 << 20;

struct Totals {
  std::size_t points = 0;
  std::size_t bytes = 0;
};

// Reads every line of `data` (each a usual point line) a batch at a time;
// with `write`, converts and lays out each batch too.
Totals Pass(const std::string& data, std::size_t size, const torvane::Transform& transform,
            bool write, std::vector<char>& table) {
  Totals totals;
  torvane::PointRecord batch[kBatch];
  torvane::PlanePoint converted[kBatch];
  const char* p = data.data();
  const char* const end = data.data() + size;
  const char* const readable = data.data() + data.size();
  std::size_t used = 0;
  while (p < end) {
    std::size_t n = 0;
    for (; n < kBatch && p < end; ++n) {
      std::size_t fields;
      bool unusual;
      const char* line_end =
          torvane::ParseUsualLine(p, readable, totals.points + n + 1, &batch[n], &fields, &unusual);
      if (line_end == nullptr || unusual) {
        std::fprintf(stderr, "line %zu is not a usual point line\n", totals.points + n + 1);
        std::exit(1);
      }
      p = line_end + 1 +
          (*line_end == torvane::kCarriageReturn && line_end[1] == torvane::kLineFeed);
    }
    totals.points += n;
    if (!write) {
      totals.bytes += static_cast<std::size_t>(batch[n - 1].x_text.size());
      continue;
    }
    for (std::size_t i = 0; i < n; ++i) {
      converted[i] =
          transform.Apply(torvane::Direction::kSurveyToConstruction, {batch[i].x, batch[i].y});
    }
    for (std::size_t i = 0; i < n; ++i) {
      batch[i].ascii = true;
      if (used + torvane::ResultLineCapacity(batch[i]) > table.size()) {
        totals.bytes += used;
        used = 0;
      }
      used = torvane::WriteResultLine(table.data() + used, batch[i], converted[i],
                                      torvane::TextEncoding::kUtf8) -
             table.data();
    }
  }
  totals.bytes += used;
  return totals;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: torvane-bench-stages POINT_FILE [ROUNDS]\n");
    return 2;
  }
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 20;
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot open %s\n", argv[1]);
    return 1;
  }
  std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::size_t size = data.size();
  data.append(kSlack, '\0');
  data[size] = torvane::kLineFeed;
  auto params = torvane::RunParamsFromValues(3450000.123, 550000.456, 30.1520);
  const torvane::Transform transform(params.value());
  std::vector<char> table(kTableBytes);
  for (const bool write : {false, true}) {
    double best = 1e9;
    Totals totals;
    for (int r = 0; r < rounds; ++r) {
      const auto start = Clock::now();
      totals = Pass(data, size, transform, write, table);
      best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    std::printf("%-22s %6.1f ns/point  (%zu points, %zu bytes)\n",
                write ? "read, convert, write:" : "read:", best * 1e9 / totals.points,
                totals.points, totals.bytes);
  }
}
