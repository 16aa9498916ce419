#include <cerrno>
#include <cstdio>

#include <sys/stat.h>

#include "os/file_system.h"

namespace torvane {

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
  return std::fopen(path.c_str(), mode);
}

std::FILE* OpenTemporaryFile() { return std::tmpfile(); }

PathKind KindOf(const std::filesystem::path& path) {
  struct stat info = {};
  if (stat(path.c_str(), &info) != 0) return PathKind::kMissing;
  if (S_ISREG(info.st_mode)) return PathKind::kFile;
  if (S_ISDIR(info.st_mode)) return PathKind::kFolder;
  return PathKind::kStream;
}

bool SeekTo(std::FILE* file, std::uint64_t offset) {
  return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
}

}  // namespace torvane
