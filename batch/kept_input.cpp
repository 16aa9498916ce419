#include "batch/kept_input.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "batch/line_rule.h"
#include "batch/point_file.h"
#include "batch/utf16_text.h"
#include "os/file_system.h"

namespace torvane {
namespace {

constexpr std::size_t kReadChunk = 1 << 18;

}  // namespace

Expected<std::FILE*, RunError> KeepInTemporaryFile(std::FILE* from, KeptInput kind,
                                                   RunError failure) {
  std::FILE* copy = OpenTemporaryFile();
  if (copy == nullptr) {
    failure.detail = "cannot make a temporary file: " + SystemReason(errno);
    return Fail(std::move(failure));
  }
  failure.kind = RunErrorKind::kCannotRead;
  std::vector<char> chunk(kReadChunk);
  std::size_t run = 0;  // bytes since the last line end
  bool utf16 = false;   // UTF-16 by its byte-order mark, where NUL bytes are text
  for (bool first = true;; first = false) {
    const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), from);
    if (got == 0) break;
    if (first) utf16 = Utf16ByBom(std::string_view(chunk.data(), got)).has_value();
    if (std::fwrite(chunk.data(), 1, got, copy) != got) {
      failure.detail = "cannot keep the input: " + SystemReason(errno);
      std::fclose(copy);
      return Fail(std::move(failure));
    }
    const char* const data = chunk.data();
    if (kind == KeptInput::kPointFile && !utf16 && std::memchr(data, '\0', got) != nullptr) break;
    std::size_t last_end = got;
    while (last_end > 0 && !IsLineEnd(data[last_end - 1])) --last_end;
    run = last_end == 0 ? run + got : got - last_end;
    if (run > kMaxLineBytes) break;
  }
  if (std::ferror(from)) {
    failure.detail = SystemReason(errno);
    std::fclose(copy);
    return Fail(std::move(failure));
  }
  if (std::fflush(copy) != 0 || !SeekTo(copy, 0)) {
    failure.detail = "cannot keep the input: " + SystemReason(errno);
    std::fclose(copy);
    return Fail(std::move(failure));
  }
  return copy;
}

}  // namespace torvane
