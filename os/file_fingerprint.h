// What ties a result to the file it was made from: the file's size and its
// SHA-256, which anyone can check years later with sha256sum or certutil.
#pragma once

#include <cstdint>
#include <string>

#include "base/expected.h"

namespace torvane {

struct FileFingerprint {
  std::uint64_t size = 0;  // bytes
  std::string sha256;      // 64 lower-case hexadecimal digits
};

// The file at `utf8_path` read through once in blocks, never whole in
// memory. Rejects, quoting the path and the system's reason: a file that
// cannot be opened or read, a folder, and a system without SHA-256.
Expected<FileFingerprint> FingerprintFile(const std::string& utf8_path);

}  // namespace torvane
