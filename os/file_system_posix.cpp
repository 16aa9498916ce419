#include <cerrno>
#include <cstdio>

#include "os/file_system.h"

namespace torvane {

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
  return std::fopen(path.c_str(), mode);
}

std::FILE* OpenTemporaryFile() { return std::tmpfile(); }

bool SeekTo(std::FILE* file, std::uint64_t offset) {
  return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
}

}  // namespace torvane
