// Where a result goes: a regular file, replaced whole when the result is
// complete, or standard output, a device, a pipe or a terminal, written
// into once the whole result is at hand and never replaced. Tables and
// drawings alike.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "base/expected.h"
#include "batch/run_error.h"
#include "os/file_system.h"
#include "os/pending_file.h"

namespace torvane {

// Where a result path leads. A link counts as what it leads to; the link
// itself stays.
struct ResultTarget {
  enum Kind {
    kStandardOutput,  // "-"
    kStream,          // a device, a pipe, a socket or a terminal: written into
    kFile,            // a regular file or none yet: replaced whole (PendingFile)
  } kind = kFile;
  std::filesystem::path path;  // the file or stream, links resolved
};

// The target of `result_path` (UTF-8; "-": standard output) for a result
// read from `input_path` (UTF-8; "-": standard input). Rejects (kCannotWrite,
// naming the result): a folder (kFolderInTheWay) and a link to nothing
// (kLinkToNothing); and the input itself (kResultIsPointFile).
Expected<ResultTarget, RunError> ResolveResultTarget(const std::string& input_path,
                                                     const std::string& result_path);

// Copies the complete result in `whole`, a temporary file, from its start
// to standard output or to the stream `target` names, then flushes it.
// Rejects, as kCannotWrite naming `result_path`: a stream that cannot be
// opened, and a failed read of `whole` ("cannot read back the " + `what`,
// "table" or "drawing") or write of the stream.
Expected<void, RunError> SendOut(std::FILE* whole, const ResultTarget& target,
                                 const std::string& result_path, std::string_view what);

// The result as it is written: into a pending file that replaces the
// target's regular file once the result is complete, or into a temporary
// file that is sent out whole to standard output or a stream.
class ResultSink {
 public:
  // Starts the result for `target` (ResolveResultTarget's of
  // `result_path`). Rejects, as kCannotWrite naming `result_path`, a
  // pending or temporary file that cannot be made.
  static Expected<ResultSink, RunError> Open(const ResultTarget& target,
                                             const std::string& result_path);

  // Where the result is written (binary).
  std::FILE* stream() const { return pending_ ? pending_->stream() : whole_.get(); }

  // The result complete and flushed: puts it in place of the file, or sends
  // it out (SendOut, `what` naming it). The input must be closed first:
  // Windows renames nothing onto a file that is open. Rejects what
  // PendingFile::Commit and SendOut reject.
  Expected<void, RunError> Finish(std::string_view what);

 private:
  ResultTarget target_;
  std::string result_path_;
  std::unique_ptr<PendingFile> pending_;  // a file's
  FileHandle whole_;                      // a stream's, or standard output's
};

}  // namespace torvane
