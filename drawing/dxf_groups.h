// An ASCII DXF drawing read as it is written: group after group, a code
// line and a value line, each with its exact bytes and line end (CR LF or
// LF), so that whatever is not changed is written back byte for byte.
// The file is read in large blocks; memory stays the same on any drawing
// size: a line may hold no more than kMaxLineBytes (as a point file's).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

namespace torvane {

struct DxfGroup {
  int code = 0;                // the group code, read from the code line
  std::string_view code_line;  // the code line's bytes, its line end included
  std::string_view value;      // the value line's bytes, without its line end
  std::string_view value_end;  // the value line's end: "\r\n", "\n", or "" at the file's end
  std::uint64_t line = 0;      // 1-based line of the code line
};

// The value's text without the blanks (spaces, tabs) around it.
std::string_view TrimmedValue(std::string_view value);

class DxfGroupReader {
 public:
  enum class Status {
    kGroup,      // a group was read
    kEnd,        // the file ended after a whole group (or was empty)
    kOddLine,    // the file ended after a code line with no value line
    kBadCode,    // a code line that is not a whole number (its line: bad_line())
    kLongLine,   // a line longer than kMaxLineBytes, without its end (its line: bad_line())
    kReadFailed  // the system could not read the file (errno says why)
  };

  // Reads from `file`, open in binary mode, from its current position;
  // the file outlives the reader.
  explicit DxfGroupReader(std::FILE* file);

  // The next group into *group, whose views stay valid until the next call.
  Status Next(DxfGroup* group);

  // The line of the code that is not a number, after kBadCode; of the
  // line too long, after kLongLine; the line after the last after kOddLine.
  std::uint64_t bad_line() const { return bad_line_; }
  // The bytes read from the file but not yet handed out, which are then
  // counted as handed out: what follows the drawing's end, to be copied as
  // it is (the rest of the file is then read from the file itself).
  std::string_view TakeUnread();
  // The bytes handed out in groups so far.
  std::uint64_t bytes_read() const { return consumed_; }

 private:
  // Moves what is left to the buffer's start and reads more; false at the
  // end of the file or on a failure (failed_ set).
  bool Refill();

  std::FILE* file_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0, end_ = 0;  // unread bytes
  bool at_eof_ = false, failed_ = false;
  std::uint64_t line_ = 1, bad_line_ = 0, consumed_ = 0;
};

}  // namespace torvane
