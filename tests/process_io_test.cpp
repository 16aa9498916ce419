// The program's standard streams as it finds them, and what its messages
// show of text from the user.
#include "os/process_io.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "batch/run_error.h"
#include "os/file_system.h"
#include "temp_dir.h"

namespace torvane {
namespace {

using testing::TempDir;

// Standard output is the one a test can close and give back: gtest writes
// its own report there only after the test.
TEST(StandardStreams, AClosedOutputIsHeldByTheNullDeviceAndStillFails) {
  ReopenClosedStandardStreams();
  EXPECT_FALSE(StandardOutputWasClosed()) << "found closed while open";

  std::fflush(stdout);
  const int saved = dup(1);
  ASSERT_GE(saved, 0);
  close(1);
  ReopenClosedStandardStreams();
  TempDir dir;
  std::FILE* file = OpenFile(PathFromUtf8(dir / "table.txt"), "wb");
  const int file_descriptor = file != nullptr ? fileno(file) : -1;
  const bool write_failed = write(1, "x", 1) != 1;
  const bool was_closed = StandardOutputWasClosed();
  if (file != nullptr) std::fclose(file);
  dup2(saved, 1);
  close(saved);

  EXPECT_TRUE(was_closed);
  EXPECT_GE(file_descriptor, 0);
  EXPECT_NE(file_descriptor, 1) << "a file took standard output's number";
  EXPECT_TRUE(write_failed) << "writing to a closed standard output succeeded";
}

// Quoted text in a message: control bytes escaped, after the cut of a long
// text, whose length is told as it is; everything else as it is.
TEST(MessageText, ControlBytesAreShownEscaped) {
  const struct {
    const char* what;
    std::string text, shown;
  } rows[] = {
      {"an ESC sequence", "A\x1b[2J", "A\\x1b[2J"},
      {"line ends, tab, DEL, BEL", "\t\r\n\x7f\x07", "\\x09\\x0d\\x0a\\x7f\\x07"},
      {"UTF-8 Chinese kept", "控制\x1b点", "控制\\x1b点"},
      {"GBK kept", "\xbf\xd8\x01\xd6\xc6", "\xbf\xd8\\x01\xd6\xc6"},
      {"printable ASCII kept", " ~\\x1b\"", " ~\\x1b\""},
      {"cut, then escaped", std::string(59, 'a') + "\x1b" + std::string(10, 'b'),
       std::string(59, 'a') + "\\x1b... (70 bytes)"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(MessageExcerpt(row.text), row.shown) << row.what;
  }
}

// "-" is standard input for the point file and standard output for the
// result; other paths are shown with their control bytes escaped.
TEST(MessageText, WhereNamesTheStandardStreams) {
  const struct {
    RunErrorKind kind;
    std::string path, message;
  } rows[] = {
      {RunErrorKind::kCannotWrite, "-", "standard output: cannot write: R"},
      {RunErrorKind::kCannotRead, "-", "standard input: cannot read: R"},
      {RunErrorKind::kCannotOpen, "p\x1b[1m.csv", "p\\x1b[1m.csv: cannot open: R"},
  };
  for (const auto& row : rows) {
    RunError e;
    e.kind = row.kind;
    e.path = row.path;
    e.detail = "R";
    EXPECT_EQ(Describe(e), row.message);
  }
}

}  // namespace
}  // namespace torvane
