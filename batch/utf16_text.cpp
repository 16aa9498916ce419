#include "batch/utf16_text.h"

#include <cerrno>
#include <memory>
#include <vector>

#include "batch/line_rule.h"
#include "batch/point_file.h"
#include "batch/text_encoding.h"
#include "os/file_system.h"

namespace torvane {
namespace {

constexpr std::size_t kReadChunk = 1 << 18;
// The most of a line kept for quoting it in a message: all of a line the
// reader takes, so that the message tells its length.
constexpr std::size_t kQuotedBytes = kMaxLineBytes;
constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void AppendUnit(char32_t unit, TextEncoding order, std::string* out) {
  const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
  if (order == TextEncoding::kUtf16Be) {
    *out += high;
    *out += low;
  } else {
    *out += low;
    *out += high;
  }
}

// The UTF-8 text of a UTF-16 file as it is decoded: the line being read,
// kept for a message, and the count of lines as the reader counts them.
class LineTracker {
 public:
  // Takes `code` of the current line, or its line end.
  void Take(char32_t code) {
    const bool carriage_return = code == U'\r';
    if (carriage_return || code == U'\n') {
      if (!(code == U'\n' && after_cr_)) ++line_;  // CR LF is one line end
      after_cr_ = carriage_return;
      text_.clear();
      bytes_ = 0;
      return;
    }
    after_cr_ = false;
    if (text_.size() < kQuotedBytes) AppendUtf8(code, &text_);
    bytes_ += code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
  }
  std::size_t line() const { return line_; }
  const std::string& text() const { return text_; }
  std::size_t bytes() const { return bytes_; }

 private:
  std::size_t line_ = 1;
  bool after_cr_ = false;
  std::string text_;       // the line so far, up to kQuotedBytes
  std::size_t bytes_ = 0;  // the line's bytes so far in UTF-8
};

struct Closer {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::optional<TextEncoding> Utf16ByBom(std::string_view start) {
  if (start.starts_with("\xFF\xFE")) return TextEncoding::kUtf16Le;
  if (start.starts_with("\xFE\xFF")) return TextEncoding::kUtf16Be;
  return std::nullopt;
}

std::size_t AppendUtf16(std::string_view utf8, TextEncoding order, std::string* out) {
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (lead >= 0x80 && utf8.size() - i < length) {
      // Cut off at the end, or not UTF-8: the next call tells which.
      const std::string_view rest = utf8.substr(i);
      bool continued = lead >= 0xC2 && lead <= 0xF4;
      for (std::size_t k = 1; k < rest.size(); ++k) {
        continued = continued && (static_cast<unsigned char>(rest[k]) & 0xC0) == 0x80;
      }
      if (continued) return i;
    }
    const std::string_view character = utf8.substr(i, length);
    char32_t code = kReplacement;
    std::size_t taken = 1;
    if (IsValidUtf8(character)) {
      code = length == 1 ? lead : lead & (0x7F >> length);
      for (std::size_t k = 1; k < length; ++k) {
        code = (code << 6) | (static_cast<unsigned char>(character[k]) & 0x3F);
      }
      taken = length;
    }
    if (code >= 0x10000) {
      AppendUnit(0xD800 + ((code - 0x10000) >> 10), order, out);
      AppendUnit(0xDC00 + ((code - 0x10000) & 0x3FF), order, out);
    } else {
      AppendUnit(code, order, out);
    }
    i += taken;
  }
  return i;
}

Expected<std::FILE*, RunError> Utf16AsUtf8File(std::FILE* from, TextEncoding order,
                                               const std::string& path,
                                               RunningFingerprint* fingerprint) {
  RunError failure = FileError(RunErrorKind::kCannotRead, path, 0);
  std::unique_ptr<std::FILE, Closer> copy(OpenTemporaryFile());
  if (!copy) {
    failure.detail = "cannot make a temporary file: " + SystemReason(errno);
    return Fail(std::move(failure));
  }
  const bool big_endian = order == TextEncoding::kUtf16Be;
  std::vector<unsigned char> chunk(kReadChunk);
  std::string out;
  LineTracker lines;
  std::uint64_t offset = 0;     // bytes read before the chunk
  int half = -1;                // the first byte of a unit cut off by the chunk's end
  char32_t high = 0;            // a high surrogate waiting for its pair; 0: none
  const char* fault = nullptr;  // what is wrong with the line being read
  std::string quoted;           // that line's text, up to the fault
  bool long_line = false;       // a line too long: the copy ends
  auto take = [&](char32_t code) {
    if (fault == nullptr) {
      AppendUtf8(code, &out);
      lines.Take(code);
      long_line = lines.bytes() > kMaxLineBytes;
    } else if (code == U'\r' || code == U'\n') {
      return false;  // the faulty line is whole
    } else if (quoted.size() < kQuotedBytes) {
      AppendUtf8(code, &quoted);
    }
    return true;
  };
  auto refuse = [&]() {
    if (fault == nullptr) return;
    RunError e = FileError(RunErrorKind::kBadEncoding, path, lines.line());
    e.field = "UTF-16";
    e.field_text = quoted;
    e.detail = fault;
    failure = std::move(e);
  };
  auto unpaired = [&](char32_t code) {
    if (fault == nullptr) {
      fault = kUtf16Unpaired;
      quoted = lines.text();
    }
    return take(kReplacement) && (code == 0 || take(code));
  };
  bool more = true;
  for (;;) {
    const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), from);
    if (got == 0) break;
    fingerprint->Add(chunk.data(), got);
    std::size_t i = 0;
    if (offset == 0) i = 2;  // the byte-order mark
    offset += got;
    for (; more && !long_line && i < got; ++i) {
      if (half < 0) {
        half = chunk[i];
        continue;
      }
      const unsigned first = static_cast<unsigned>(half), second = chunk[i];
      half = -1;
      const char32_t unit = big_endian ? (first << 8 | second) : (second << 8 | first);
      if (high != 0) {
        const char32_t waiting = high;
        high = 0;
        if (IsLowSurrogate(unit)) {
          more = take(0x10000 + ((waiting - 0xD800) << 10) + (unit - 0xDC00));
          continue;
        }
        if (IsHighSurrogate(unit)) {
          more = unpaired(0);
          high = unit;
          continue;
        }
        more = unpaired(unit);
        continue;
      }
      if (IsHighSurrogate(unit)) {
        high = unit;
      } else if (IsLowSurrogate(unit)) {
        more = unpaired(0);
      } else {
        more = take(unit);
      }
    }
    if (!more || long_line) break;
    if (fault == nullptr && out.size() >= kReadChunk) {
      if (std::fwrite(out.data(), 1, out.size(), copy.get()) != out.size()) {
        failure.detail = "cannot keep the input: " + SystemReason(errno);
        return Fail(std::move(failure));
      }
      out.clear();
    }
  }
  if (std::ferror(from)) {
    failure.detail = SystemReason(errno);
    return Fail(std::move(failure));
  }
  if (more && !long_line) {
    if (high != 0) unpaired(0);
    if (half >= 0 && fault == nullptr) {
      fault = kUtf16OddLength;
      quoted = lines.text();
      take(kReplacement);
    }
  }
  if (fault != nullptr) {
    refuse();
    return Fail(std::move(failure));
  }
  if (std::fwrite(out.data(), 1, out.size(), copy.get()) != out.size() ||
      std::fflush(copy.get()) != 0 || !SeekTo(copy.get(), 0)) {
    failure.detail = "cannot keep the input: " + SystemReason(errno);
    return Fail(std::move(failure));
  }
  return copy.release();
}

}  // namespace torvane
