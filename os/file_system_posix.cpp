#include <cerrno>
#include <cstdio>
#include <string>

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

std::optional<EntryPlace> PlaceOfNamed(const std::filesystem::path& named) {
  namespace fs = std::filesystem;
  fs::path leaf = named.filename();
  const fs::path folder = named.has_parent_path() ? named.parent_path() : fs::path(".");
  struct stat info = {};
  if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return std::nullopt;
  return EntryPlace{std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino),
                    std::move(leaf)};
}

bool SamePlace(const EntryPlace& a, const EntryPlace& b) {
  return a.folder == b.folder && a.leaf == b.leaf;
}

bool SeekTo(std::FILE* file, std::uint64_t offset) {
  return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
}

std::int64_t TellFile(std::FILE* file) { return ftello(file); }

}  // namespace torvane
