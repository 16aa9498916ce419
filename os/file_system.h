// What reading and writing files needs from the operating system, in one
// place. Paths are held as UTF-8 text everywhere else; here they become the
// system's own: bytes on POSIX, UTF-16 on Windows, so that names outside the
// ANSI code page of a Windows machine still open.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace torvane {

// How many random names a temporary file is tried under before giving up.
inline constexpr int kTemporaryNameTries = 16;

std::filesystem::path PathFromUtf8(const std::string& utf8);

// fopen of a path, mode as for fopen ("rb", "wb"); null with errno set on
// failure. Always binary on Windows: no CR LF translation, no end at Ctrl-Z.
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);

// A file of OpenFile's (or any stdio FILE), closed when the handle goes.
struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// An anonymous file for reading and writing, binary, in the user's
// temporary folder (never the root of a drive), removed when it is closed
// or the program ends. Null with errno set on failure.
std::FILE* OpenTemporaryFile();

// What a path names, links followed.
enum class PathKind {
  kMissing,  // nothing, or a link to nothing
  kFile,     // a regular file
  kFolder,
  kStream,  // a device (/dev/null, NUL, CON), a pipe or a socket: read or written once
};
PathKind KindOf(const std::filesystem::path& path);

// Where a name leads, as the system finds it: the folder that holds the
// entry, known by its identity rather than its spelling ("out/", "./out",
// "x/../out" and a link to it are one folder), and the entry's name in it.
// A link in the last place is followed, as a result is written through it.
struct EntryPlace {
  std::string folder;          // device and inode (POSIX), volume and file index (Windows)
  std::filesystem::path leaf;  // the entry's name in the folder
};

// The place of `path`, which need not exist; none when its folder cannot be
// reached (missing, not a folder, not allowed) or the path ends in no name
// ("dir/", ".", "..").
std::optional<EntryPlace> PlaceOf(const std::filesystem::path& path);
// PlaceOf's part that each system does its own way: the place of `named`,
// a path that ends in a name (not ".." nor "."), links already followed.
std::optional<EntryPlace> PlaceOfNamed(const std::filesystem::path& named);

// Whether two places are one entry: one folder, and names its file system
// takes as one: byte for byte on POSIX; on Windows also ignoring case as NTFS
// does ("A.csv" and "a.csv"), ordinal, not by any language's rules.
bool SamePlace(const EntryPlace& a, const EntryPlace& b);

// fseek to an offset in bytes from the start, 64-bit also where long has 32.
bool SeekTo(std::FILE* file, std::uint64_t offset);

// ftell: the offset in bytes from the start into *offset, 64-bit also where
// long has 32. False with errno set on failure (a pipe, say).
bool PositionIn(std::FILE* file, std::uint64_t* offset);

// The position in `file` in bytes (ftello on Linux, _ftelli64 on Windows,
// both beyond 2 GiB); -1 where it has none (a pipe).
std::int64_t TellFile(std::FILE* file);

}  // namespace torvane
