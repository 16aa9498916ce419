#include "batch/result_path.h"

namespace torvane {

std::string_view FileStem(std::string_view path) {
  const std::size_t separator = path.find_last_of("/\\");
  std::string_view name = separator == std::string_view::npos ? path : path.substr(separator + 1);
  const std::size_t dot = name.rfind('.');
  // A dot that opens the name (".profile") does not start an extension, nor
  // one followed by a space ("p.csv " is not "p.csv").
  if (dot != std::string_view::npos && dot > 0 && name.find(' ', dot) == std::string_view::npos) {
    name = name.substr(0, dot);
  }
  return name;
}

std::string ResultPathFor(std::string_view point_path, std::string_view extension) {
  const std::string_view stem = FileStem(point_path);
  // The folder as given, then the stem: the stem is the end of the folder's name.
  std::string result(point_path.substr(0, stem.data() - point_path.data()));
  result += stem;
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
