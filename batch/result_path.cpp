#include "batch/result_path.h"

namespace torvane {

std::string ResultPathFor(std::string_view point_path) {
  const std::size_t first = point_path.find_first_not_of(' ');
  if (first == std::string_view::npos)
    point_path = {};
  else
    point_path = point_path.substr(first, point_path.find_last_not_of(' ') - first + 1);

  const std::size_t separator = point_path.find_last_of("/\\");
  const std::size_t name_start = separator == std::string_view::npos ? 0 : separator + 1;
  const std::size_t dot = point_path.rfind('.');
  // A dot that opens the name (".profile") does not start an extension.
  std::string_view stem = point_path;
  if (dot != std::string_view::npos && dot > name_start) stem = point_path.substr(0, dot);
  std::string result(stem);
  result += kResultSuffix;
  result += ".txt";
  return result;
}

}  // namespace torvane
