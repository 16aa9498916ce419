#include "batch/point_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "batch/open_file.h"
#include "params/number_text.h"

namespace torvane {
namespace {

constexpr std::size_t kReadChunk = 1 << 16;
constexpr std::size_t kMinFields = 3;  // name, X and Y; H may be missing

bool HasNonAscii(std::string_view s) {
  for (char c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

RunError FieldError(DecimalError why, std::size_t line, const char* field, std::string_view text) {
  RunError e;
  e.kind =
      why == DecimalError::kTooLarge ? RunErrorKind::kNumberTooLarge : RunErrorKind::kNotANumber;
  e.line = line;
  e.field = field;
  e.field_text = std::string(text);
  return e;
}

}  // namespace

Expected<std::optional<PointRecord>, RunError> ParsePointLine(std::string_view line,
                                                              std::size_t line_number,
                                                              std::size_t* fields) {
  if (TrimBlanks(line).empty()) return std::optional<PointRecord>();
  std::string_view parts[4];
  std::size_t count = 0, start = 0;
  for (;;) {
    const std::size_t comma = line.find(',', start);
    const std::size_t end = comma == std::string_view::npos ? line.size() : comma;
    if (count < 4) parts[count] = line.substr(start, end - start);
    ++count;
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  if (fields != nullptr) *fields = count;
  if (count < kMinFields) {
    RunError e;
    e.kind = RunErrorKind::kTooFewFields;
    e.line = line_number;
    e.field_text = std::string(TrimBlanks(line));
    return Fail(std::move(e));
  }
  PointRecord point;
  point.line = line_number;
  point.name = TrimBlanks(parts[0]);
  point.x_text = TrimBlanks(parts[1]);
  point.y_text = TrimBlanks(parts[2]);
  point.h_text = count > 3 ? TrimBlanks(parts[3]) : std::string_view();
  auto x = ParseDecimal(point.x_text);
  if (!x) return Fail(FieldError(x.error(), line_number, "X", point.x_text));
  auto y = ParseDecimal(point.y_text);
  if (!y) return Fail(FieldError(y.error(), line_number, "Y", point.y_text));
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
    // Standard input is read twice (once to find its encoding), so it is
    // first kept in an anonymous temporary file.
    file = std::tmpfile();
    if (file == nullptr) {
      failure.detail = "cannot make a temporary file: " + SystemReason(errno);
      return Fail(std::move(failure));
    }
    char chunk[kReadChunk];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, stdin)) > 0) {
      if (std::fwrite(chunk, 1, got, file) != got) {
        failure.kind = RunErrorKind::kCannotRead;
        failure.detail = "cannot keep standard input: " + SystemReason(errno);
        std::fclose(file);
        return Fail(std::move(failure));
      }
    }
    if (std::ferror(stdin)) {
      failure.kind = RunErrorKind::kCannotRead;
      failure.detail = SystemReason(errno);
      std::fclose(file);
      return Fail(std::move(failure));
    }
    std::rewind(file);
  } else {
    std::error_code ec;
    const std::filesystem::path fs_path = PathFromUtf8(path);
    if (std::filesystem::is_directory(fs_path, ec)) {
      failure.detail = "it is a folder, not a file";
      return Fail(std::move(failure));
    }
    file = OpenFile(fs_path, "rb");
    if (file == nullptr) {
      failure.detail = SystemReason(errno);
      return Fail(std::move(failure));
    }
  }
  std::unique_ptr<PointFileReader> reader(new PointFileReader(file, path));

  // The file is UTF-8 when all of it is; a BOM only confirms it.
  std::string_view line;
  bool utf8 = true, bom = false;
  while (reader->ReadLine(&line)) {
    if (reader->line_number_ == 1 && line.substr(0, kUtf8Bom.size()) == kUtf8Bom) bom = true;
    if (!IsValidUtf8(line)) {
      utf8 = false;
      break;
    }
  }
  if (reader->read_error_) return Fail(reader->ReadFailure());
  reader->encoding_ =
      !utf8 ? TextEncoding::kGbk : (bom ? TextEncoding::kUtf8WithBom : TextEncoding::kUtf8);
  auto rewound = reader->Rewind();
  if (!rewound) return Fail(rewound.error());
  return reader;
}

Expected<bool, RunError> PointFileReader::Rewind() {
  std::clearerr(file_);
  if (std::fseek(file_, 0, SEEK_SET) != 0) {
    read_error_ = true;
    return Fail(ReadFailure());
  }
  buffer_.clear();
  begin_ = 0;
  line_number_ = 0;
  fields_read_ = 0;
  at_eof_ = false;
  read_error_ = false;
  after_cr_ = false;
  return true;
}

RunError PointFileReader::ReadFailure() const {
  RunError e;
  e.kind = RunErrorKind::kCannotRead;
  e.path = path_;
  e.detail = SystemReason(errno);
  return e;
}

bool PointFileReader::ReadLine(std::string_view* line) {
  std::size_t scan = begin_;  // bytes before scan hold no line end
  for (;;) {
    if (after_cr_ && begin_ < buffer_.size()) {
      if (buffer_[begin_] == '\n') ++begin_;  // CR LF is one line end
      after_cr_ = false;
      scan = begin_;
    }
    const std::size_t end = buffer_.find_first_of("\r\n", scan);
    if (end != std::string::npos) {
      *line = std::string_view(buffer_).substr(begin_, end - begin_);
      after_cr_ = buffer_[end] == '\r';
      begin_ = end + 1;
      ++line_number_;
      return true;
    }
    if (at_eof_) {
      if (begin_ >= buffer_.size()) return false;
      *line = std::string_view(buffer_).substr(begin_);  // a last line without a line end
      begin_ = buffer_.size();
      ++line_number_;
      return true;
    }
    // Keep the unread bytes, drop the rest, and read the next chunk.
    buffer_.erase(0, begin_);
    scan = buffer_.size();
    begin_ = 0;
    buffer_.resize(scan + kReadChunk);
    const std::size_t got = std::fread(buffer_.data() + scan, 1, kReadChunk, file_);
    buffer_.resize(scan + got);
    if (got < kReadChunk) {
      if (std::ferror(file_)) {
        read_error_ = true;
        return false;
      }
      at_eof_ = true;
    }
  }
}

Expected<std::optional<PointRecord>, RunError> PointFileReader::Next() {
  std::string_view line;
  while (ReadLine(&line)) {
    if (line_number_ == 1 && encoding_ == TextEncoding::kUtf8WithBom) {
      line.remove_prefix(kUtf8Bom.size());
    }
    if (encoding_ == TextEncoding::kGbk && HasNonAscii(line) && !IsValidGbk(line)) {
      RunError e;
      e.kind = RunErrorKind::kBadEncoding;
      e.path = path_;
      e.line = line_number_;
      return Fail(std::move(e));
    }
    std::size_t fields = 0;
    auto point = ParsePointLine(line, line_number_, &fields);
    if (!point) {
      RunError e = point.error();
      e.path = path_;
      return Fail(std::move(e));
    }
    if (point.value()) {
      fields_read_ += fields;
      return point;
    }
  }
  if (read_error_) return Fail(ReadFailure());
  return std::optional<PointRecord>();
}

}  // namespace torvane
