#include <algorithm>
#include <cerrno>
#include <string>

#include "os/pending_file.h"

namespace torvane {
namespace {

// Enough letters that two runs in one folder do not meet by chance.
constexpr std::size_t kTemporaryNameLength = 12;
constexpr char kNameLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr unsigned kNameLetterCount = sizeof kNameLetters - 1;

}  // namespace

std::filesystem::path TemporaryNameBeside(const std::filesystem::path& target,
                                          unsigned long long random) {
  // In the system's own units (bytes, or UTF-16 on Windows), as name limits are.
  const std::size_t target_length = target.filename().native().size();
  const std::size_t length = std::clamp<std::size_t>(target_length, 1, kTemporaryNameLength);
  std::string name;
  if (length > 1) name += '.';  // hidden from a plain directory listing
  while (name.size() < length) {
    name += kNameLetters[random % kNameLetterCount];
    random /= kNameLetterCount;
  }
  return target.parent_path() / name;
}

std::optional<NotWritten> WriteWholeFile(const std::filesystem::path& target,
                                         std::string_view bytes) {
  const PathKind kind = KindOf(target);
  if (kind == PathKind::kFolder || kind == PathKind::kStream) return NotWritten{kind};
  int error = 0;
  const auto pending = PendingFile::Begin(target, &error);
  if (!pending) return NotWritten{kind, error};
  if (std::fwrite(bytes.data(), 1, bytes.size(), pending->stream()) != bytes.size() ||
      std::fflush(pending->stream()) != 0) {
    return NotWritten{kind, errno};
  }
  if (const int failed = pending->Commit()) return NotWritten{kind, failed};
  return std::nullopt;
}

}  // namespace torvane
