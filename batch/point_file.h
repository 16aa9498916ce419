// Point files: one point a line, "name, X, Y, H", comma separated, no header
// (other layouts: point_layout.h, which splits every line); a field may be
// quoted as CSV quotes it. Blank lines are not points. Further fields after
// H are ignored; a line of three fields has no height. Line ends may be
// CR LF, LF or CR (line_rule.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/expected.h"
#include "batch/run_error.h"
#include "batch/text_encoding.h"
#include "number/short_decimal.h"
#include "os/file_fingerprint.h"

namespace torvane {

struct PointLayout;

// The longest line a point file may hold, in bytes: no point line comes near
// it, and memory stays bounded whatever the input.
inline constexpr std::size_t kMaxLineBytes = std::size_t{1} << 20;

// One point of a point file. The texts are views into the reader's line and
// stay valid until the next call of Next(); blanks around them are removed.
struct PointRecord {
  std::size_t line = 0;  // 1-based line number in the file
  std::string_view name;
  std::string_view x_text, y_text;
  std::string_view h_text;  // empty when the line has no H field
  std::string_view code;    // a point code, read only where a layout names one
  // h_text's digits when the reader found it a plain decimal of at most 19
  // digits; otherwise no value, and h_text alone tells (it may still be a
  // number, such as 1.2e3).
  std::optional<ShortDecimal> h_decimal;
  double x = 0, y = 0;  // X and Y in metres
  bool ascii = false;   // the whole line is ASCII, so every column is one byte
  // h_text is not the file's but the exact decimal a run shifted the height
  // to (see RunRequest::height_offset), in its shortest plain text.
  bool h_shifted = false;
};

// Reads a point file from start to end in constant memory, line by line.
class PointFileReader {
 public:
  // Opens `path` ("-" for standard input), a file in the usual layout.
  // Input that cannot be read twice (standard input, a pipe, a device) is
  // first kept in a temporary file, up to the first line that reading would
  // reject for a NUL byte or its length. The file is UTF-8 when it starts
  // with a UTF-8 BOM, or when the whole of it is valid UTF-8 and not GBK;
  // GBK when the whole of it is GBK and not UTF-8; UTF-16 when it starts
  // with a UTF-16 byte-order mark (FF FE little-endian, FE FF big-endian),
  // its text then read as the same text in UTF-8 (see utf16_text.h, which
  // also tells what is refused in it). A file valid in both is
  // read in the one whose reading looks more like names (see NameLikeness),
  // UTF-8 when both look alike; a file that is neither is taken in the one
  // more of its lines are valid in (UTF-8 when as many), so that the line
  // blamed is the one that breaks it. Rejects: a file that cannot be opened
  // or read, a directory.
  static Expected<std::unique_ptr<PointFileReader>, RunError> Open(const std::string& path);
  // The same for a file laid out as `layout` says (see point_layout.h):
  // Next() reads its lines as ParseLayoutLine does, after the lines it skips.
  // With `encoding` given (kUtf8 or kGbk), the file is in that encoding,
  // whatever its bytes suggest but a UTF-16 byte-order mark; a line not
  // valid in it is rejected.
  static Expected<std::unique_ptr<PointFileReader>, RunError> Open(
      const std::string& path, const PointLayout& layout,
      std::optional<TextEncoding> encoding = std::nullopt);
  ~PointFileReader();

  // The file's encoding as far as the points read so far tell: UTF-8 while
  // every line has been ASCII (which reads the same in GBK), otherwise as
  // decided by the whole file, at its first line that is not ASCII.
  TextEncoding encoding() const { return encoding_; }
  // True when the file, every line valid both as UTF-8 and as GBK, is read
  // as UTF-8 only because its names look alike either way (NameLikeness):
  // the user is told, and can give the encoding.
  bool encoding_undecided() const { return encoding_undecided_; }

  // The next point, or nullptr at the end of the file. The record is the
  // reader's own and is replaced by the next call. Rejects what
  // ParseLayoutLine rejects (a first point line with no number in X nor in
  // Y as kHeaderLine), a spreadsheet workbook (kWorkbook, before any line),
  // a line that is not valid text in the file's
  // encoding, a line longer than kMaxLineBytes, a NUL byte (as soon as it is
  // read, before its line ends), and a read failure; the error names the
  // file and the line.
  Expected<const PointRecord*, RunError> Next();

  // Up to `capacity` points read at once into `points`, as many usual lines
  // of ASCII (see usual_line.h) as follow in the data read so far; 0 when
  // the next line is of another kind or not yet read, or the file is not in
  // the usual layout (Next() then takes it). The points' texts stay valid until the next call of
  // Next().
  std::size_t NextUsualPoints(PointRecord* points, std::size_t capacity);

  // The next line as text, for files laid out otherwise than points: without
  // its line end and, on line 1, a UTF-8 BOM; blank lines included. False at
  // the end of the file. The text stays valid until the next call. Rejects a
  // line that is not valid text in the file's encoding, what Next() rejects
  // of a line's length and bytes, and a read failure; the error names the
  // file and the line.
  Expected<bool, RunError> NextLine(std::string_view* text);

  // An error about the line read last as messages show it: with the
  // file's path, and the quoted text in UTF-8 (decoded when the file is GBK).
  RunError Located(RunError error) const;

  // Asks for the fingerprint of the bytes as they are read (Fingerprint);
  // called before the first line is read. A UTF-16 file is fingerprinted
  // as it is opened, whether asked or not.
  void FingerprintAsRead();
  // The size and SHA-256 of the file's bytes as read for its lines, those
  // of its last reading after Rewind. Rejects a file not asked for, one not
  // read to its end ("not read to its end"), and what RunningFingerprint
  // rejects.
  Expected<FileFingerprint> Fingerprint();

  // The 1-based number of the line read last.
  std::size_t line_number() const { return line_number_; }

  // Back to the first line, to read the file again. Rejects a file that
  // cannot be read from its start again.
  Expected<void, RunError> Rewind();

  // Bytes of the file taken as lines so far, from its start: how far
  // reading has got.
  std::uint64_t bytes_read() const { return buffer_offset_ + begin_; }

  // Comma-separated fields of the point lines read so far.
  std::size_t fields_read() const { return fields_read_; }

 private:
  PointFileReader(std::FILE* file, std::string path);
  // The next line into *line; false at the end of the file, after a read
  // failure (read_error_) or at a line that cannot be read (failure_).
  bool ReadLine(std::string_view* line);
  // failure_ for the line being read, which cannot be a point line.
  bool FailLine(RunErrorKind kind);
  // A parsed line as the point Next() returns: the error with the file's
  // path, nullptr for a blank line (no value), otherwise the reader's own
  // record of it.
  // A first point line with no number in X nor in Y is kHeaderLine.
  Expected<const PointRecord*, RunError> Take(Expected<std::optional<PointRecord>, RunError> point,
                                              std::size_t fields, std::string_view line);
  // Reads the next line straight from the buffer into *point when it is a
  // usual point line of ASCII; false, changing nothing but *point, otherwise.
  bool NextUsualLine(PointRecord* point);
  // The encoding of the file from byte `from` (the start of its first line
  // that is not ASCII) to its end; `bom`: line 1 starts with a UTF-8 BOM.
  TextEncoding DecideEncoding(std::uint64_t from, bool bom);
  // Calls `visit` with each line from byte `from` to the end of the file,
  // without line ends, while it returns true. A line longer than
  // kMaxLineBytes ends the scan (reading stops there too). Reading then goes
  // on where it was.
  void ScanLinesFrom(std::uint64_t from, const std::function<bool(std::string_view)>& visit);
  RunError ReadFailure() const;

  std::FILE* file_;
  std::string path_;
  TextEncoding encoding_ = TextEncoding::kUtf8;
  bool encoding_decided_ = false;
  bool encoding_undecided_ = false;
  std::string buffer_;               // bytes read from the file, up to end_
  std::size_t end_ = 0;              // end of the bytes read in buffer_
  std::uint64_t buffer_offset_ = 0;  // file offset of buffer_[0]
  std::size_t begin_ = 0;            // start of the unread bytes in buffer_
  std::size_t line_number_ = 0;
  std::size_t fields_read_ = 0;
  bool at_eof_ = false;
  bool read_error_ = false;
  std::optional<RunError> failure_;    // a line that stopped reading
  bool after_cr_ = false;              // the last line ended in CR: a following LF belongs to it
  bool line_may_be_non_ascii_ = true;  // false: the last line read is ASCII
  PointRecord current_;                // the point Next() returns
  std::string texts_;                  // current_'s texts with CSV quoting taken back
  std::unique_ptr<const PointLayout> layout_;        // how lines are read; never null
  bool usual_ = true;                                // layout_ is the usual one: read in one pass
  std::optional<TextEncoding> told_encoding_;        // none: decided by the bytes
  std::unique_ptr<RunningFingerprint> fingerprint_;  // of the bytes read, when asked
  std::unique_ptr<RunningFingerprint> original_;     // of a UTF-16 file's own bytes
};

}  // namespace torvane
