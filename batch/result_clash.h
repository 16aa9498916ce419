// Point files of one run whose results would meet: two results that are one
// file, or a result that is another point file of the run. Found by the file
// each name opens (os/file_system.h's PlaceOf), not by how it is spelt, so
// that "out/" and "./out/", or "A.csv" and "a.csv" on Windows, meet too.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace torvane {

struct ResultClash {
  enum Kind {
    kOneResult,                 // first and second would both be written to one file
    kResultIsLaterPointFile,    // first's result would replace the point file second
    kResultIsEarlierPointFile,  // second's result would replace the point file first
  } kind = kOneResult;
  std::size_t first = 0;  // indices into the point files, first < second
  std::size_t second = 0;
};

// The first clash in a run that writes point_paths[i] to result_paths[i]
// (UTF-8 paths, the same count), in the order of the point files; none
// when there is none. "-" (standard input or output) meets nothing. One
// point file given twice is no clash: its results are alike. A path whose
// folder cannot be reached is compared by its text, lexically normalized.
// A result that is its own point file is left to the run, which refuses it.
std::optional<ResultClash> FindResultClash(const std::vector<std::string>& point_paths,
                                           const std::vector<std::string>& result_paths);

}  // namespace torvane
