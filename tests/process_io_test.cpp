// The program's standard streams as it finds them, and what its messages
// call them.
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
  std::FILE* file = CreateNewFile(PathFromUtf8(dir / "table.txt"));
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

// "-" is standard input for the point file and standard output for the
// result.
TEST(MessageText, WhereNamesTheStandardStreams) {
  const struct {
    RunErrorKind kind;
    std::string path, message;
  } rows[] = {
      {RunErrorKind::kCannotWrite, "-", "standard output: cannot write: R"},
      {RunErrorKind::kCannotRead, "-", "standard input: cannot read: R"},
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
