#include "os/file_system.h"

namespace torvane {

std::filesystem::path PathFromUtf8(const std::string& utf8) {
  return std::filesystem::path(reinterpret_cast<const char8_t*>(utf8.c_str()));
}

std::optional<EntryPlace> PlaceOf(const std::filesystem::path& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path named = path;
  if (fs::is_symlink(fs::symlink_status(path, ec))) {
    fs::path target = fs::canonical(path, ec);
    if (!ec) named = std::move(target);  // a link to nothing stays itself
  }
  const fs::path leaf = named.filename();
  if (leaf.empty() || leaf == "." || leaf == "..") return std::nullopt;
  return PlaceOfNamed(named);
}

bool PositionIn(std::FILE* file, std::uint64_t* offset) {
  const std::int64_t at = TellFile(file);
  if (at < 0) return false;
  *offset = static_cast<std::uint64_t>(at);
  return true;
}

}  // namespace torvane
