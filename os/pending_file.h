// A file written in full before anyone sees it: the result table grows in a
// file of its own in the result's folder and takes the result's name in one
// step when it is complete, after it has reached the disk. However the
// program ends before that (an error, a signal, a file-size limit, running
// out of memory, a power cut), the result's name keeps what it had and no
// partial file is left under any name:
// - Linux: an unnamed file (O_TMPFILE), linked in when complete; where the
//   file system has none, a named one, removed on SIGINT, SIGTERM, SIGHUP,
//   SIGQUIT and SIGPIPE.
// - Windows: a named file marked for deletion from its creation, so that the
//   system removes it however the program ends; the mark is cleared only to
//   put the complete file in place.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include "os/file_system.h"

namespace torvane {

class PendingFile {
 public:
  // Starts a file that is to replace `target` (a regular file or nothing).
  // A file that replaces an earlier one gets the earlier one's permissions.
  // Null with *error set to an errno value when the file cannot be made.
  // `unnamed` false takes the named way even where the unnamed one is open
  // (Linux; Windows always names its file), so that both can be tried.
  static std::unique_ptr<PendingFile> Begin(const std::filesystem::path& target, int* error,
                                            bool unnamed = true);

  // Removes the file unless it was committed.
  virtual ~PendingFile() = default;

  // The stream to write the table into (binary).
  virtual std::FILE* stream() = 0;

  // Flushes the file to disk, puts it in place of the target in one step,
  // and flushes the folder. 0 on success, otherwise an errno value; on
  // failure the target is as it was and the file is gone.
  virtual int Commit() = 0;
};

// Why WriteWholeFile wrote nothing.
struct NotWritten {
  PathKind kind = PathKind::kMissing;  // kFolder or kStream: refused for what it is
  int error = 0;                       // otherwise the errno value of the failed write
};

// Writes `bytes` as the whole of `target` the PendingFile way, where the
// target is a regular file or nothing; refuses a folder and a stream (it
// is never replaced). Nothing on success; otherwise why, with the target
// as it was.
std::optional<NotWritten> WriteWholeFile(const std::filesystem::path& target,
                                         std::string_view bytes);

// A name for a temporary file beside `target`: in its folder, starting with
// a dot, never longer than the target's own name (so that it fits wherever
// the target's fits), `random` giving its letters. At least one byte.
std::filesystem::path TemporaryNameBeside(const std::filesystem::path& target,
                                          unsigned long long random);

}  // namespace torvane
