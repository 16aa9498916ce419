#include "batch/point_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "batch/byte_scan.h"
#include "batch/kept_input.h"
#include "batch/line_rule.h"
#include "batch/name_likeness.h"
#include "batch/point_layout.h"
#include "batch/run_error.h"
#include "batch/usual_line.h"
#include "batch/utf16_text.h"
#include "os/file_system.h"
#include "os/process_io.h"

namespace torvane {
namespace {

constexpr std::size_t kReadChunk = 1 << 18;
// Bytes after the data: a line end that stops every scan, then room for
// reading a word at it.
constexpr std::size_t kSlack = 1 + 8;

// Whether a file's first bytes are those of a spreadsheet workbook: a zip
// archive (.xlsx, .ods) or an OLE compound file (.xls).
bool IsWorkbook(std::string_view start) {
  return start.starts_with(std::string_view("PK\x03\x04", 4)) ||
         start.starts_with("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
}

}  // namespace

PointFileReader::PointFileReader(std::FILE* file, std::string path)
    : file_(file), path_(std::move(path)), layout_(std::make_unique<const PointLayout>()) {}

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
    auto kept = KeepInTemporaryFile(stdin, KeptInput::kPointFile, std::move(failure));
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
      auto kept = KeepInTemporaryFile(file, KeptInput::kPointFile, std::move(failure));
      std::fclose(file);
      if (!kept) return Fail(kept.error());
      file = *kept;
    }
  }
  // A UTF-16 byte-order mark: the text is read in UTF-8, whatever
  // encoding is told (UTF-8 or GBK would find a NUL byte in every ASCII
  // character).
  char start[2];
  const std::size_t started = std::fread(start, 1, sizeof start, file);
  const auto utf16 = Utf16ByBom(std::string_view(start, started));
  if (std::ferror(file) || !SeekTo(file, 0)) {
    std::fclose(file);
    RunError e = FileError(RunErrorKind::kCannotRead, path, 0);
    e.detail = SystemReason(errno);
    return Fail(std::move(e));
  }
  std::unique_ptr<RunningFingerprint> original;
  if (utf16) {
    original = std::make_unique<RunningFingerprint>();
    auto utf8 = Utf16AsUtf8File(file, *utf16, path, original.get());
    std::fclose(file);
    if (!utf8) return Fail(utf8.error());
    file = *utf8;
  }
  std::unique_ptr<PointFileReader> reader(new PointFileReader(file, path));
  if (utf16) {
    reader->encoding_ = *utf16;
    reader->encoding_decided_ = true;
    reader->original_ = std::move(original);
  }

  // The encoding is decided at the first line that is not ASCII (plain
  // ASCII reads the same in either), so an ASCII file is read only once.
  return reader;
}

Expected<std::unique_ptr<PointFileReader>, RunError> PointFileReader::Open(
    const std::string& path, const PointLayout& layout, std::optional<TextEncoding> encoding) {
  auto opened = Open(path);
  if (!opened) return opened;
  PointFileReader& reader = *opened.value();
  reader.layout_ = std::make_unique<const PointLayout>(layout);
  reader.usual_ = layout.IsDefault();
  // A UTF-16 file's encoding is its byte-order mark's.
  if (!IsUtf16(reader.encoding_)) reader.told_encoding_ = encoding;
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
      const std::size_t end = piece.find_first_of(kLineEnds, start);
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
  if (told_encoding_) return *told_encoding_ == TextEncoding::kGbk ? TextEncoding::kGbk : utf8;
  // A BOM is written only by what writes UTF-8: a line that is not is an
  // error of its own.
  if (bom) return utf8;
  // While every line is valid in both, the reading in which the names look
  // more like names decides, UTF-8 when both look alike.
  bool all_utf8 = true, all_gbk = true;
  NameLikeness as_utf8, as_gbk;
  ScanLinesFrom(from, [&](std::string_view line) {
    if (IsAscii(line)) return true;
    all_utf8 = IsValidUtf8(line);
    if (!all_utf8) return false;
    if (all_gbk) {
      auto decoded = GbkToUtf8(line);
      all_gbk = decoded.has_value();
      if (all_gbk) {
        as_utf8.AddUtf8Reading(line);
        as_gbk.AddGbkReading(line, *decoded);
      }
    }
    return true;
  });
  if (all_utf8) {
    if (!all_gbk) return utf8;
    if (as_gbk.MoreLikelyThan(as_utf8)) return TextEncoding::kGbk;
    encoding_undecided_ = !as_utf8.MoreLikelyThan(as_gbk);
    return utf8;
  }
  // Counted line by line only for files that are not UTF-8 throughout.
  all_gbk = true;
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
  if (fingerprint_) fingerprint_ = std::make_unique<RunningFingerprint>();
  return {};
}

void PointFileReader::FingerprintAsRead() {
  if (!original_ && !fingerprint_) fingerprint_ = std::make_unique<RunningFingerprint>();
}

Expected<FileFingerprint> PointFileReader::Fingerprint() {
  if (original_) return original_->Finish();
  if (!fingerprint_ || !at_eof_ || begin_ < end_) {
    return Fail(std::string("not read to its end"));
  }
  return fingerprint_->Finish();
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
      if (buffer_[begin_] == kLineFeed) ++begin_;  // CR LF is one line end
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
      if (end != end_) after_cr_ = buffer_[end] == kCarriageReturn;
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
    if (fingerprint_) fingerprint_->Add(buffer_.data() + scan, got);
    if (buffer_offset_ == 0 && scan == 0 && IsWorkbook(std::string_view(buffer_.data(), end_))) {
      failure_ = FileError(RunErrorKind::kWorkbook, path_, 0);
      return false;
    }
    // Ends a last line that has no line end of its own, for word-wise reading.
    buffer_[end_] = kLineFeed;
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
    RunError e = FileError(RunErrorKind::kBadEncoding, path_, line_number_);
    // A file told to be in one encoding, or one whose BOM says so.
    if (told_encoding_ || encoding_ == TextEncoding::kUtf8WithBom) {
      e.field = encoding_ == TextEncoding::kGbk ? "GBK" : "UTF-8";
      e.detail = told_encoding_ ? kEncodingByOption : kEncodingByBom;
    }
    return Fail(std::move(e));
  }
  return true;
}

bool PointFileReader::NextUsualLine(PointRecord* point) {
  // Only after line 1, which may carry a BOM, and for lines of ASCII wholly
  // in the buffer; everything else goes the general way.
  if (line_number_ == 0) return false;
  if (after_cr_) {
    if (begin_ == end_) return false;
    if (buffer_[begin_] == kLineFeed) ++begin_;  // CR LF is one line end
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
  after_cr_ = *line_end == kCarriageReturn;
  begin_ = line_end + 1 - data;
  return true;
}

std::size_t PointFileReader::NextUsualPoints(PointRecord* points, std::size_t capacity) {
  if (!usual_) return 0;
  std::size_t count = 0;
  while (count < capacity && NextUsualLine(&points[count])) ++count;
  return count;
}

Expected<const PointRecord*, RunError> PointFileReader::Next() {
  if (usual_ && NextUsualLine(&current_)) return &current_;
  std::string_view line;
  for (;;) {
    auto more = NextLine(&line);
    if (!more) return Fail(more.error());
    if (!*more) return static_cast<const PointRecord*>(nullptr);
    if (line_number_ <= layout_->skip_lines) continue;
    std::size_t fields = 0;
    // Bytes that are not ASCII or NUL are already dealt with by NextLine;
    // quoted fields are left to ParseLayoutLine. The line is in the
    // buffer, ended there by its own line end or by the one after the data.
    bool unusual = false;
    if (usual_ &&
        ParseUsualLine(line.data(), buffer_.data() + buffer_.size(), line_number_, &current_,
                       &fields, &unusual) == line.data() + line.size() &&
        (!unusual || line.find(kQuote) == std::string_view::npos)) {
      current_.ascii = !line_may_be_non_ascii_;
      fields_read_ += fields;
      return &current_;
    }
    auto taken =
        Take(ParseLayoutLine(line, line_number_, *layout_, &texts_, &fields), fields, line);
    if (!taken || taken.value() != nullptr) return taken;
  }
}

Expected<const PointRecord*, RunError> PointFileReader::Take(
    Expected<std::optional<PointRecord>, RunError> point, std::size_t fields,
    std::string_view line) {
  if (!point) {
    RunError e = point.error();
    // A header: the first line that is not blank, with words in X and Y.
    if (e.header_like && fields_read_ == 0) {
      e = LineError(RunErrorKind::kHeaderLine, line_number_, line);
    }
    return Fail(Located(std::move(e)));
  }
  if (!point.value()) return static_cast<const PointRecord*>(nullptr);
  fields_read_ += fields;
  current_ = *point.value();
  current_.ascii = !line_may_be_non_ascii_;
  return &current_;
}

RunError PointFileReader::Located(RunError error) const {
  error.path = path_;
  if (encoding_ == TextEncoding::kGbk && !IsAscii(error.field_text)) {
    if (auto utf8 = GbkToUtf8(error.field_text)) error.field_text = std::move(*utf8);
  }
  return error;
}

}  // namespace torvane
