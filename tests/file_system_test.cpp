#include "os/file_system.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "temp_dir.h"

namespace torvane {
namespace {

using testing::ReadBytes;
using testing::TempDir;

// Names outside code pages 936 and 1252 (Hangul, Greek): Windows opens them
// only through its wide-character calls.
const char* const kNames[] = {"pts.csv", "点.csv", "측점 Ω.csv"};

TEST(FileSystem, CreateNewFileNeverTruncatesOneThatExists) {
  TempDir dir;
  for (const char* name : kNames) {
    const std::string existing = dir.Write(name, "earlier table");
    errno = 0;
    EXPECT_EQ(CreateNewFile(PathFromUtf8(existing)), nullptr) << name;
    EXPECT_EQ(errno, EEXIST) << name;
    EXPECT_EQ(ReadBytes(existing), "earlier table") << name;

    const std::string fresh = dir / (std::string("new ") + name);
    std::FILE* file = CreateNewFile(PathFromUtf8(fresh));
    ASSERT_NE(file, nullptr) << name;
    std::fputs("a\nb\r\n", file);  // written as it is: binary on Windows too
    std::fclose(file);
    EXPECT_EQ(ReadBytes(fresh), "a\nb\r\n") << name;
  }
}

TEST(FileSystem, RenameOntoReplacesTheTarget) {
  TempDir dir;
  for (const char* name : kNames) {
    const std::string from = dir.Write(std::string("new ") + name, "new table");
    const std::string to = dir.Write(name, "earlier table");
    EXPECT_EQ(RenameOnto(PathFromUtf8(from), PathFromUtf8(to)), 0) << name;
    EXPECT_EQ(ReadBytes(to), "new table") << name;
    EXPECT_FALSE(std::filesystem::exists(PathFromUtf8(from))) << name;
  }
  const std::string from = dir.Write("a", "x");
  EXPECT_EQ(RenameOnto(PathFromUtf8(from), PathFromUtf8(dir / "missing/b")), ENOENT);
  EXPECT_EQ(ReadBytes(from), "x");
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
