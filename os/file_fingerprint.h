// What ties a result to the file it was made from: the file's size and its
// SHA-256, which anyone can check years later with sha256sum or certutil.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "base/expected.h"

namespace torvane {

class Sha256;

struct FileFingerprint {
  std::uint64_t size = 0;  // bytes
  std::string sha256;      // 64 lower-case hexadecimal digits
};

// The fingerprint of bytes as they are read, a block at a time, so that a
// file read once for what it holds is fingerprinted by the very bytes used.
class RunningFingerprint {
 public:
  RunningFingerprint();
  ~RunningFingerprint();
  RunningFingerprint(const RunningFingerprint&) = delete;
  RunningFingerprint& operator=(const RunningFingerprint&) = delete;

  // Adds the `size` bytes at `bytes`, the next of those read.
  void Add(const void* bytes, std::size_t size);
  // The size and SHA-256 of every byte added; once finished, no byte is
  // added and the same answer is given again. Rejects a system without
  // SHA-256 ("cannot compute SHA-256: the system has none") or one that
  // fails ("cannot compute SHA-256").
  Expected<FileFingerprint> Finish();

 private:
  std::unique_ptr<Sha256> digest_;
  FileFingerprint fingerprint_;
  bool failed_ = false;
  std::optional<Expected<FileFingerprint>> finished_;
};

}  // namespace torvane
