#include "batch/point_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "batch/byte_scan.h"
#include "batch/point_layout.h"
#include "batch/run_error.h"
#include "batch/usual_line.h"
#include "number/number_text.h"
#include "number/short_decimal.h"
#include "os/file_system.h"
#include "os/process_io.h"

namespace torvane {
namespace {

constexpr std::size_t kReadChunk = 1 << 18;
// Bytes after the data: a line end that stops every scan, then room for
// reading a word at it.
constexpr std::size_t kSlack = 1 + 8;
constexpr std::size_t kMinFields = 3;  // name, X and Y; H may be missing

// Keeps input that can be read only once in an anonymous temporary file, so
// that it can be read again. The copy stops after the piece that holds a NUL
// byte or more than kMaxLineBytes without a line end: reading rejects that
// line when it comes to it, so nothing beyond it is needed, and /dev/zero
// does not fill the disk. `failure` is the error to fill in.
Expected<std::FILE*, RunError> KeepInTemporaryFile(std::FILE* from, RunError failure) {
  std::FILE* copy = OpenTemporaryFile();
  if (copy == nullptr) {
    failure.detail = "cannot make a temporary file: " + SystemReason(errno);
    return Fail(std::move(failure));
  }
  failure.kind = RunErrorKind::kCannotRead;
  std::vector<char> chunk(kReadChunk);
  std::size_t run = 0;  // bytes since the last line end
  for (;;) {
    const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), from);
    if (got == 0) break;
    if (std::fwrite(chunk.data(), 1, got, copy) != got) {
      failure.detail = "cannot keep the input: " + SystemReason(errno);
      std::fclose(copy);
      return Fail(std::move(failure));
    }
    const char* const data = chunk.data();
    if (std::memchr(data, '\0', got) != nullptr) break;
    std::size_t last_end = got;
    while (last_end > 0 && data[last_end - 1] != '\n' && data[last_end - 1] != '\r') --last_end;
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

}  // namespace

Expected<std::optional<PointRecord>, RunError> ParsePointLine(std::string_view line,
                                                              std::size_t line_number,
                                                              std::size_t* fields) {
  if (TrimBlanks(line).empty()) return std::optional<PointRecord>();
  std::string_view parts[4];
  std::size_t count = 0, start = 0;
  const char* text = line.data();
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (text[i] != ',') continue;
    if (count < 4) parts[count] = std::string_view(text + start, i - start);
    ++count;
    start = i + 1;
  }
  if (count < 4) parts[count] = std::string_view(text + start, line.size() - start);
  ++count;
  if (fields != nullptr) *fields = count;
  if (count < kMinFields) return Fail(LineError(RunErrorKind::kTooFewFields, line_number, line));
  PointRecord point;
  point.line = line_number;
  point.name = TrimBlanks(parts[0]);
  point.x_text = TrimBlanks(parts[1]);
  point.y_text = TrimBlanks(parts[2]);
  point.h_text = count > 3 ? TrimBlanks(parts[3]) : std::string_view();
  return WithCoordinates(point);
}

Expected<std::optional<PointRecord>, RunError> WithCoordinates(PointRecord point) {
  auto x = ParseDecimal(point.x_text);
  if (!x) return Fail(NumberFieldError(x.error(), point.line, "X", point.x_text));
  auto y = ParseDecimal(point.y_text);
  if (!y) return Fail(NumberFieldError(y.error(), point.line, "Y", point.y_text));
  point.x = *x;
  point.y = *y;
  return std::optional<PointRecord>(point);
}

PointFileReader::PointFileReader(std::FILE* file, std::string path)
    : file_(file), path_(std::move(path)) {}

PointFileReader::~PointFileReader() { std::fclose(file_); }

Expected<std::unique_ptr<PointFileReader>, RunError> PointFileReader::Open(
    const std::string& path) {
  RunError failure;
  failure.kind = RunErrorKind::kCannotOpen;
  failure.path = path;
  std::FILE* file = nullptr;
  if (path == "-") {
    // A closed standard input is told as such: otherwise the temporary file
    // below would take its descriptor and be read as if it were the input.
    if (StandardInputIsClosed()) {
      failure.kind = RunErrorKind::kCannotRead;
      failure.detail = "standard input is closed";
      return Fail(std::move(failure));
    }
    auto kept = KeepInTemporaryFile(stdin, std::move(failure));
    if (!kept) return Fail(kept.error());
    file = *kept;
  } else {
    const std::filesystem::path fs_path = PathFromUtf8(path);
    const PathKind kind = KindOf(fs_path);
    if (kind == PathKind::kFolder) {
      failure.detail = kIsAFolder;
      return Fail(std::move(failure));
    }
    file = OpenFile(fs_path, "rb");
    if (file == nullptr) {
      failure.detail = SystemReason(errno);
      return Fail(std::move(failure));
    }
    // A pipe, a process substitution or a device is read once, like
    // standard input.
    if (kind == PathKind::kStream) {
      auto kept = KeepInTemporaryFile(file, std::move(failure));
      std::fclose(file);
      if (!kept) return Fail(kept.error());
      file = *kept;
    }
  }
  std::unique_ptr<PointFileReader> reader(new PointFileReader(file, path));

  // The encoding is decided at the first line that is not ASCII (plain
  // ASCII reads the same in either), so an ASCII file is read only once.
  return reader;
}

Expected<std::unique_ptr<PointFileReader>, RunError> PointFileReader::Open(
    const std::string& path, const PointLayout& layout) {
  auto opened = Open(path);
  if (opened && !layout.IsDefault()) {
    opened.value()->layout_ = std::make_unique<const PointLayout>(layout);
  }
  return opened;
}

void PointFileReader::ScanLinesFrom(std::uint64_t from,
                                    const std::function<bool(std::string_view)>& visit) {
  if (!SeekTo(file_, from)) {
    read_error_ = true;
    return;
  }
  std::string piece;  // the end of the last chunk that is not yet a whole line, then a chunk
  for (bool more = true; more;) {
    const std::size_t kept = piece.size();
    piece.resize(kept + kReadChunk);
    const std::size_t got = std::fread(piece.data() + kept, 1, kReadChunk, file_);
    piece.resize(kept + got);
    std::size_t start = 0;
    for (;;) {
      const std::size_t end = piece.find_first_of("\r\n", start);
      if (end == std::string::npos) break;
      if (!visit(std::string_view(piece).substr(start, end - start))) {
        more = false;
        break;
      }
      start = end + 1;
    }
    piece.erase(0, start);
    if (!more || piece.size() > kMaxLineBytes) break;
    if (got == 0) {
      if (!piece.empty()) visit(piece);  // a last line without a line end
      break;
    }
  }
  if (std::ferror(file_)) read_error_ = true;
  // Back to where line reading stopped.
  if (!SeekTo(file_, buffer_offset_ + end_)) read_error_ = true;
}

TextEncoding PointFileReader::DecideEncoding(std::uint64_t from, bool bom) {
  const TextEncoding utf8 = bom ? TextEncoding::kUtf8WithBom : TextEncoding::kUtf8;
  bool all_utf8 = true;
  ScanLinesFrom(from, [&](std::string_view line) { return all_utf8 = IsValidUtf8(line); });
  if (all_utf8) return utf8;
  // Counted line by line only for files that are not UTF-8 throughout.
  bool all_gbk = true;
  std::size_t utf8_lines = 0, gbk_lines = 0;
  ScanLinesFrom(from, [&](std::string_view line) {
    if (IsAscii(line)) return true;
    const bool gbk = IsValidGbk(line);
    all_gbk = all_gbk && gbk;
    gbk_lines += gbk;
    utf8_lines += IsValidUtf8(line);
    return true;
  });
  return all_gbk || gbk_lines > utf8_lines ? TextEncoding::kGbk : utf8;
}

Expected<void, RunError> PointFileReader::Rewind() {
  std::clearerr(file_);
  if (std::fseek(file_, 0, SEEK_SET) != 0) {
    read_error_ = true;
    return Fail(ReadFailure());
  }
  end_ = 0;
  buffer_offset_ = 0;
  begin_ = 0;
  line_number_ = 0;
  fields_read_ = 0;
  at_eof_ = false;
  read_error_ = false;
  failure_.reset();
  after_cr_ = false;
  return {};
}

RunError PointFileReader::ReadFailure() const {
  RunError e = FileError(RunErrorKind::kCannotRead, path_, 0);
  e.detail = SystemReason(errno);
  return e;
}

bool PointFileReader::FailLine(RunErrorKind kind) {
  failure_ = FileError(kind, path_, line_number_ + 1);
  failure_->limit = kMaxLineBytes;
  return false;
}

bool PointFileReader::ReadLine(std::string_view* line) {
  if (failure_) return false;
  std::size_t scan = begin_;  // bytes before scan hold no line end
  for (;;) {
    if (after_cr_ && begin_ < end_) {
      if (buffer_[begin_] == '\n') ++begin_;  // CR LF is one line end
      after_cr_ = false;
      scan = begin_;
    }
    const char* data = buffer_.data();
    bool non_ascii = false;
    const std::size_t end = FindLineEnd(data + scan, data + end_, &non_ascii) - data;
    // Bytes before `scan` were looked at in an earlier round: not known here.
    line_may_be_non_ascii_ = non_ascii || scan != begin_;
    if (end != end_ || at_eof_) {
      if (end - begin_ > kMaxLineBytes) return FailLine(RunErrorKind::kLineTooLong);
      if (end == end_ && begin_ >= end_) return false;
      *line = std::string_view(data + begin_, end - begin_);  // the last may lack a line end
      if (end != end_) after_cr_ = buffer_[end] == '\r';
      begin_ = end == end_ ? end_ : end + 1;
      ++line_number_;
      return true;
    }
    // The line goes on beyond the bytes read: it is refused as soon as it
    // is too long, or holds a NUL byte, so that neither is held whole.
    if (end_ - begin_ > kMaxLineBytes) return FailLine(RunErrorKind::kLineTooLong);
    if (std::memchr(data + scan, '\0', end_ - scan) != nullptr) {
      return FailLine(RunErrorKind::kNulByte);
    }
    // Keep the unread bytes, drop the rest, and read the next chunk.
    // The buffer only grows (for a line longer than a chunk), so that it is
    // not filled with zeros for every chunk.
    buffer_offset_ += begin_;
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    scan = end_ - begin_;
    begin_ = 0;
    if (buffer_.size() < scan + kReadChunk + kSlack) buffer_.resize(scan + kReadChunk + kSlack);
    const std::size_t got = std::fread(buffer_.data() + scan, 1, kReadChunk, file_);
    end_ = scan + got;
    // Ends a last line that has no line end of its own, for word-wise reading.
    buffer_[end_] = '\n';
    if (got < kReadChunk) {
      if (std::ferror(file_)) {
        read_error_ = true;
        return false;
      }
      at_eof_ = true;
    }
  }
}

Expected<bool, RunError> PointFileReader::NextLine(std::string_view* text) {
  if (!ReadLine(text)) {
    if (read_error_) return Fail(ReadFailure());
    if (failure_) return Fail(*failure_);
    return false;
  }
  std::string_view& line = *text;
  if (!encoding_decided_ && line_may_be_non_ascii_ && !IsAscii(line)) {
    // The whole file is UTF-8 when all of it is; the lines before were
    // ASCII, so the rest decides. A BOM only confirms it.
    const std::uint64_t line_start = buffer_offset_ + (line.data() - buffer_.data());
    const bool bom = line_number_ == 1 && line.substr(0, kUtf8Bom.size()) == kUtf8Bom;
    encoding_ = DecideEncoding(line_start, bom);
    if (read_error_) return Fail(ReadFailure());
    encoding_decided_ = true;
  }
  if (line_number_ == 1 && encoding_ == TextEncoding::kUtf8WithBom) {
    line.remove_prefix(kUtf8Bom.size());
  }
  if (std::memchr(line.data(), '\0', line.size()) != nullptr) {
    return Fail(FileError(RunErrorKind::kNulByte, path_, line_number_));
  }
  if (line_may_be_non_ascii_ && !IsAscii(line) &&
      !(encoding_ == TextEncoding::kGbk ? IsValidGbk(line) : IsValidUtf8(line))) {
    return Fail(FileError(RunErrorKind::kBadEncoding, path_, line_number_));
  }
  return true;
}

bool PointFileReader::NextUsualLine(PointRecord* point) {
  // Only after line 1, which may carry a BOM, and for lines of ASCII wholly
  // in the buffer; everything else goes the general way.
  if (line_number_ == 0) return false;
  if (after_cr_) {
    if (begin_ == end_) return false;
    if (buffer_[begin_] == '\n') ++begin_;  // CR LF is one line end
    after_cr_ = false;
  }
  const char* const data = buffer_.data();
  const char* const end = data + end_;
  std::size_t fields = 0;
  bool unusual = false;
  const char* line_end = ParseUsualLine(data + begin_, data + buffer_.size(), line_number_ + 1,
                                        point, &fields, &unusual);
  // Not a usual line, or not yet read whole.
  if (line_end == nullptr || line_end == end || unusual) return false;
  ++line_number_;
  fields_read_ += fields;
  point->ascii = true;
  after_cr_ = *line_end == '\r';
  begin_ = line_end + 1 - data;
  return true;
}

std::size_t PointFileReader::NextUsualPoints(PointRecord* points, std::size_t capacity) {
  if (layout_) return 0;
  std::size_t count = 0;
  while (count < capacity && NextUsualLine(&points[count])) ++count;
  return count;
}

Expected<const PointRecord*, RunError> PointFileReader::Next() {
  if (layout_) return NextInLayout();
  if (NextUsualLine(&current_)) return &current_;
  std::string_view line;
  for (;;) {
    auto more = NextLine(&line);
    if (!more) return Fail(more.error());
    if (!*more) return static_cast<const PointRecord*>(nullptr);
    std::size_t fields = 0;
    bool unusual = false;  // already dealt with by NextLine
    // The line is in the buffer, ended there by its own line end or by the
    // one after the data.
    if (ParseUsualLine(line.data(), buffer_.data() + buffer_.size(), line_number_, &current_,
                       &fields, &unusual) == line.data() + line.size()) {
      current_.ascii = !line_may_be_non_ascii_;
      fields_read_ += fields;
      return &current_;
    }
    auto taken = Take(ParsePointLine(line, line_number_, &fields), fields);
    if (!taken || taken.value() != nullptr) return taken;
  }
}

Expected<const PointRecord*, RunError> PointFileReader::Take(
    Expected<std::optional<PointRecord>, RunError> point, std::size_t fields) {
  if (!point) {
    RunError e = point.error();
    e.path = path_;
    return Fail(std::move(e));
  }
  if (!point.value()) return static_cast<const PointRecord*>(nullptr);
  fields_read_ += fields;
  current_ = *point.value();
  current_.ascii = !line_may_be_non_ascii_;
  return &current_;
}

Expected<const PointRecord*, RunError> PointFileReader::NextInLayout() {
  std::string_view line;
  for (;;) {
    auto more = NextLine(&line);
    if (!more) return Fail(more.error());
    if (!*more) return static_cast<const PointRecord*>(nullptr);
    if (line_number_ <= layout_->skip_lines) continue;
    std::size_t fields = 0;
    auto taken = Take(ParseLayoutLine(line, line_number_, *layout_, &fields), fields);
    if (!taken || taken.value() != nullptr) return taken;
  }
}

}  // namespace torvane
