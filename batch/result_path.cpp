#include "batch/result_path.h"

namespace torvane {

std::string ResultPathFor(std::string_view point_path) {
  const std::size_t separator = point_path.find_last_of("/\\");
  const std::size_t name_start = separator == std::string_view::npos ? 0 : separator + 1;
  const std::size_t dot = point_path.rfind('.');
  // A dot that opens the name (".profile") does not start an extension, nor
  // one followed by a space ("p.csv " is not "p.csv").
  std::string_view stem = point_path;
  if (dot != std::string_view::npos && dot > name_start &&
      point_path.find(' ', dot) == std::string_view::npos) {
    stem = point_path.substr(0, dot);
  }
  std::string result(stem);
  result += kResultSuffix;
  result += ".txt";
  return result;
}

}  // namespace torvane
