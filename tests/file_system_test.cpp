#include "os/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cerrno>
#include <cstdio>
#include <string>
#include <utility>

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

// Whether the file system itself takes two names as one: bytes written
// under the first are read back under the second.
bool OpensOneFile(const std::string& a, const std::string& b) {
  const std::string mark = "written as " + a;
  std::FILE* file = OpenFile(PathFromUtf8(a), "wb");
  if (file == nullptr) return false;
  std::fwrite(mark.data(), 1, mark.size(), file);
  std::fclose(file);
  const bool one = ReadBytes(b) == mark;
  std::filesystem::remove(PathFromUtf8(a));
  return one;
}

TEST(FileSystem, PlacesAreOneWhereTheNamesOpenOneFile) {
  TempDir dir;
  namespace fs = std::filesystem;
  fs::create_directories(PathFromUtf8(dir / "d/sub"));
  fs::create_directory(PathFromUtf8(dir / "e"));
  dir.Write("d/file", "");
  // Links need a privilege on Windows: their rows are left out where none can be made.
  std::error_code no_links;
  fs::create_directory_symlink(PathFromUtf8(dir / "d"), PathFromUtf8(dir / "link"), no_links);
  if (!no_links) fs::create_symlink("file", PathFromUtf8(dir / "d/to-file"), no_links);
  const struct {
    std::string a, b;
    bool one;  // checked against the file system too
    bool through_link = false;
  } rows[] = {
      {"d/x.txt", "d/x.txt", true},
      {"d/x.txt", "d/./x.txt", true},
      {"d/x.txt", "d/sub/../x.txt", true},
      {"d/成果表.txt", "d/sub/../成果表.txt", true},
      {"d/x.txt", "d/y.txt", false},
      {"d/x.txt", "e/x.txt", false},
      {"d/x.txt", "d/x.txt.txt", false},
      {"d/x.txt", "d/sub/x.txt", false},
      {"d/x.txt", "link/x.txt", true, true},
      {"d/成果表.txt", "link/./成果表.txt", true, true},
      {"d/y.txt", "d/to-file", false, true},
      {"d/to-file", "d/file", true, true},  // a link to a file is written through; then gone
  };
  for (const auto& row : rows) {
    if (row.through_link && no_links) continue;
    SCOPED_TRACE(row.a + " and " + row.b);
    const auto a = PlaceOf(PathFromUtf8(dir / row.a));
    const auto b = PlaceOf(PathFromUtf8(dir / row.b));
    ASSERT_TRUE(a && b);
    EXPECT_EQ(SamePlace(*a, *b), row.one);
    EXPECT_EQ(SamePlace(*b, *a), row.one);
    EXPECT_EQ(OpensOneFile(dir / row.a, dir / row.b), row.one);
  }
  // Case as the folder's file system takes it: one name on NTFS, two on ext4.
  for (const auto& [a, b] : {std::pair{"d/Pts.txt", "d/pTS.TXT"}, {"d/Ω.txt", "d/ω.txt"}}) {
    SCOPED_TRACE(std::string(a) + " and " + b);
    const auto place_a = PlaceOf(PathFromUtf8(dir / a));
    const auto place_b = PlaceOf(PathFromUtf8(dir / b));
    ASSERT_TRUE(place_a && place_b);
    EXPECT_EQ(SamePlace(*place_a, *place_b), OpensOneFile(dir / a, dir / b));
  }
  // No place: a folder that is not there, or not a folder; no name at the end.
  for (const char* name : {"missing/x.txt", "d/file/x.txt", "d/", "d/.", "d/.."}) {
    EXPECT_FALSE(PlaceOf(PathFromUtf8(dir / name))) << name;
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
