#include "batch/result_path.h"

namespace torvane {

std::string ResultPathFor(std::string_view point_path, std::string_view extension) {
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
  result += extension;
  return result;
}

std::string ResultPathIn(std::string_view folder, std::string_view point_path,
                         std::string_view extension) {
  const std::size_t separator = point_path.find_last_of("/\\");
  const std::string_view name =
      separator == std::string_view::npos ? point_path : point_path.substr(separator + 1);
  std::string result(folder);
  if (!result.empty() && result.back() != '/' && result.back() != '\\') result += '/';
  result += ResultPathFor(name, extension);
  return result;
}

}  // namespace torvane
