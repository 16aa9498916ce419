#include "os/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cerrno>
#include <cstdio>
#include <string>

#include "os/pending_file.h"
#include "temp_dir.h"

namespace torvane {
namespace {

using testing::ReadBytes;
using testing::TempDir;

// Names outside code pages 936 and 1252 (Hangul, Greek): Windows opens them
// only through its wide-character calls.
const char* const kNames[] = {"pts.csv", "点.csv", "측점 Ω.csv"};

// Writes `bytes` into a pending file for `target`; commits when asked.
int WritePending(const std::string& target, const std::string& bytes, bool commit) {
  int error = 0;
  auto pending = PendingFile::Begin(PathFromUtf8(target), &error);
  if (!pending) return error;
  std::fwrite(bytes.data(), 1, bytes.size(), pending->stream());  // binary on Windows too
  return commit ? pending->Commit() : 0;
}

TEST(PendingFile, ReplacesTheTargetWhenCommittedAndLeavesNothingElse) {
  TempDir dir;
  std::vector<std::string> files;
  for (const char* name : kNames) {
    const std::string target = dir.Write(name, "earlier table");
    files.push_back(name);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(WritePending(target, "abandoned", false), 0) << name;
    EXPECT_EQ(ReadBytes(target), "earlier table") << name;
    EXPECT_EQ(dir.Files(), files) << name;

    EXPECT_EQ(WritePending(target, "a\nb\r\n", true), 0) << name;
    EXPECT_EQ(ReadBytes(target), "a\nb\r\n") << name;
    EXPECT_EQ(dir.Files(), files) << name;
  }
  EXPECT_EQ(WritePending(dir / "new", "new table", true), 0);
  EXPECT_EQ(ReadBytes(dir / "new"), "new table");
  EXPECT_EQ(WritePending(dir / "missing/b", "x", true), ENOENT);
}

TEST(PendingFile, TemporaryNameFitsWhereTheTargetFits) {
  const std::string long_name(250, 'p');
  const struct {
    std::string target;
    std::size_t length;  // of the temporary name
  } rows[] = {
      {"d/a", 1},  // no room for a dot
      {"d/ab", 2}, {"d/pts转化后成果表.txt", 12}, {"d/" + long_name, 12}, {"a", 1},
  };
  for (const auto& row : rows) {
    const std::filesystem::path target = PathFromUtf8(row.target);
    const std::filesystem::path name = TemporaryNameBeside(target, 123456789);
    EXPECT_EQ(name.parent_path(), target.parent_path()) << row.target;
    const std::string file = testing::Utf8(name.filename());
    EXPECT_EQ(file.size(), row.length) << row.target;
    EXPECT_EQ(file[0] == '.', row.length > 1) << row.target;
    EXPECT_NE(name, TemporaryNameBeside(target, 123456790)) << row.target;
  }
}

TEST(FileSystem, TemporaryFileIsBinaryAndLeavesNothingBehind) {
  const auto leftovers = [] {
    std::size_t count = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::temp_directory_path())) {
      count += testing::Utf8(entry.path().filename()).starts_with("torvane-") &&
               entry.path().extension() == ".tmp";
    }
    return count;
  };
  const std::size_t before = leftovers();
  std::FILE* file = OpenTemporaryFile();
  ASSERT_NE(file, nullptr);
  const std::string bytes = "A,1,2\r\nB\x1a,3,4\n";  // Ctrl-Z ends nothing
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  ASSERT_TRUE(SeekTo(file, 0));
  char back[64] = {};
  EXPECT_EQ(std::fread(back, 1, sizeof back, file), bytes.size());
  EXPECT_EQ(std::string(back, bytes.size()), bytes);
  std::fclose(file);
  EXPECT_EQ(leftovers(), before);
}

}  // namespace
}  // namespace torvane
