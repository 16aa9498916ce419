#include "drawing/dxf_groups.h"

#include <cstring>

#include "batch/point_file.h"
#include "number/number_text.h"

namespace torvane {
namespace {

constexpr std::size_t kBlockBytes = 1 << 20;

// Where the line starting at `from` ends (one past its '\n'), or 0 when no
// '\n' is left in [from, end).
std::size_t LineEnd(const char* data, std::size_t from, std::size_t end) {
  // A drawing's lines are short: a plain loop beats a call for each.
  for (std::size_t i = from; i < end; ++i) {
    if (data[i] == '\n') return i + 1;
  }
  return 0;
}

// The line's end bytes, of a line [begin, end) that may end in "\n" or "\r\n".
std::size_t EndLength(const char* data, std::size_t begin, std::size_t end) {
  if (end == begin || data[end - 1] != '\n') return 0;
  return (end - begin >= 2 && data[end - 2] == '\r') ? 2 : 1;
}

// A code line's text as a whole number, blanks around it allowed.
bool ParseCode(std::string_view text, int* code) {
  text = TrimmedValue(text);
  if (text.empty()) return false;
  bool negative = false;
  if (text.front() == '-' || text.front() == '+') {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 6) return false;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  *code = negative ? -value : value;
  return true;
}

}  // namespace

std::string_view TrimmedValue(std::string_view value) {
  while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
  while (!value.empty() && (IsBlank(value.back()) || value.back() == '\r')) value.remove_suffix(1);
  return value;
}

DxfGroupReader::DxfGroupReader(std::FILE* file) : file_(file), buffer_(kBlockBytes) {}

bool DxfGroupReader::Refill() {
  if (at_eof_) return false;
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  // A line longer than the buffer grows it.
  if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);
  const std::size_t got = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_);
  end_ += got;
  if (got == 0) {
    at_eof_ = true;
    failed_ = std::ferror(file_) != 0;
    return false;
  }
  return true;
}

std::string_view DxfGroupReader::TakeUnread() {
  const std::string_view unread(buffer_.data() + begin_, end_ - begin_);
  consumed_ += unread.size();
  begin_ = end_;
  return unread;
}

DxfGroupReader::Status DxfGroupReader::Next(DxfGroup* group) {
  std::size_t code_end = 0, value_end = 0;
  for (;;) {
    const char* data = buffer_.data();
    code_end = LineEnd(data, begin_, end_);
    if (code_end != 0) value_end = LineEnd(data, code_end, end_);
    if (code_end != 0 && value_end != 0) break;
    // A line that goes on beyond the bytes read is refused as soon as it
    // is too long (its "\r" may come before the "\n" still to be read).
    const std::size_t open_from = code_end == 0 ? begin_ : code_end;
    if (end_ - open_from > kMaxLineBytes + 1) {
      bad_line_ = code_end == 0 ? line_ : line_ + 1;
      return Status::kLongLine;
    }
    if (!Refill()) {
      if (failed_) return Status::kReadFailed;
      // The file's last line may have no line end.
      if (begin_ == end_) return Status::kEnd;
      // Refill has moved what was left to the buffer's start.
      code_end = LineEnd(buffer_.data(), begin_, end_);
      // A code line with nothing after it has no value line.
      if (code_end == 0 || code_end == end_) {
        bad_line_ = line_ + 1;
        return Status::kOddLine;
      }
      value_end = end_;
      break;
    }
  }
  const char* data = buffer_.data();
  const std::size_t code_text_end = code_end - EndLength(data, begin_, code_end);
  std::string_view code_text(data + begin_, code_text_end - begin_);
  // A byte order mark that some programs put before UTF-8 text.
  if (line_ == 1 && code_text.substr(0, 3) == "\xEF\xBB\xBF") code_text.remove_prefix(3);
  if (!ParseCode(code_text, &group->code)) {
    bad_line_ = line_;
    return Status::kBadCode;
  }
  const std::size_t value_text_end = value_end - EndLength(data, code_end, value_end);
  if (value_text_end - code_end > kMaxLineBytes) {
    bad_line_ = line_ + 1;
    return Status::kLongLine;
  }
  group->code_line = std::string_view(data + begin_, code_end - begin_);
  group->value = std::string_view(data + code_end, value_text_end - code_end);
  group->value_end = std::string_view(data + value_text_end, value_end - value_text_end);
  group->line = line_;
  line_ += 2;
  consumed_ += value_end - begin_;
  begin_ = value_end;
  return Status::kGroup;
}

}  // namespace torvane
