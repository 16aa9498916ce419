// Input that can be read only once (standard input, a pipe, a process
// substitution, a device) kept in an anonymous temporary file, so that it
// can be read again: a point file's encoding is decided by the whole file,
// and a drawing is read twice when it has dimension blocks.
#pragma once

#include <cstdio>

#include "base/expected.h"
#include "batch/run_error.h"

namespace torvane {

// What the kept input is read as, which says where the copy may stop.
enum class KeptInput {
  kPointFile,  // stops after the piece with a NUL byte (not in UTF-16) or an over-long line
  kDrawing,    // stops after the piece with an over-long line
};

// Copies what is left of `from` into an anonymous temporary file and gives
// it, positioned at its start (the caller closes it). The copy stops after
// the piece (256 KiB) that holds more than kMaxLineBytes without a line end
// (CR or LF), and for a point file but one in UTF-16 (utf16_text.h) after
// the piece that holds a NUL byte:
// reading rejects that line when it comes to it, so nothing beyond it is
// needed, and /dev/zero or an endless line does not fill the disk.
// Rejects, as `failure` with kCannotRead and its detail: a temporary file
// that cannot be made or written ("cannot keep the input: ..."), a failed
// read of `from`.
Expected<std::FILE*, RunError> KeepInTemporaryFile(std::FILE* from, KeptInput kind,
                                                   RunError failure);

}  // namespace torvane
