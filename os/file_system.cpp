#include "os/file_system.h"

namespace torvane {

std::filesystem::path PathFromUtf8(const std::string& utf8) {
  return std::filesystem::path(reinterpret_cast<const char8_t*>(utf8.c_str()));
}

}  // namespace torvane
