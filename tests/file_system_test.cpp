#include "os/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <string>
#include <utility>

#include "os/file_fingerprint.h"
#include "os/pending_file.h"
#include "os/user_session.h"
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

// Bytes i·31 mod 251: three read blocks of 64 KiB and 17 bytes more.
std::string BlocksAndMore() {
  std::string bytes(3 * 65536 + 17, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 31 % 251);
  return bytes;
}

TEST(RunningFingerprint, SizeAndSha256AreSha256sumsInAnyPieces) {
  const struct {
    std::string bytes;
    const char* sha256;  // FIPS 180-2's vectors, then sha256sum's for the long file
  } rows[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {BlocksAndMore(), "84bb23d4cdb52e2221160b0413df498b77f392001aee4762a25e4dd3bf93c8ac"},
  };
  // Whole, a byte at a time, and in pieces that straddle SHA-256's 64-byte blocks.
  for (const auto& row : rows) {
    for (const std::size_t piece : {row.bytes.size() + 1, std::size_t{1}, std::size_t{63}}) {
      RunningFingerprint running;
      for (std::size_t at = 0; at < row.bytes.size(); at += piece) {
        running.Add(row.bytes.data() + at, std::min(piece, row.bytes.size() - at));
      }
      auto fingerprint = running.Finish();
      ASSERT_TRUE(fingerprint.ok()) << fingerprint.error();
      EXPECT_EQ(fingerprint->size, row.bytes.size()) << piece;
      EXPECT_EQ(fingerprint->sha256, row.sha256) << row.bytes.size() << ' ' << piece;
    }
  }
}

TEST(DateTimeText, IsYearMonthDayAndTheTimeOfDayInFull) {
  const struct {
    int year, month, day, hour, minute, second;
    const char* text;  // the report's example, and every field below ten
  } rows[] = {{2026, 12, 9, 16, 40, 12, "2026-12-09 16:40:12"},
              {1999, 1, 2, 3, 4, 5, "1999-01-02 03:04:05"}};
  for (const auto& row : rows) {
    std::tm when = {};
    when.tm_year = row.year - 1900;
    when.tm_mon = row.month - 1;
    when.tm_mday = row.day;
    when.tm_hour = row.hour;
    when.tm_min = row.minute;
    when.tm_sec = row.second;
    EXPECT_EQ(DateTimeText(when), row.text);
  }
}

}  // namespace
}  // namespace torvane
