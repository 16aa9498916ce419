#include "os/file_fingerprint.h"

#include <memory>

#include "os/sha256.h"

namespace torvane {
namespace {

// Bytes as lower-case hexadecimal digits, two a byte.
std::string HexText(const unsigned char* bytes, std::size_t size) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(2 * size);
  for (std::size_t i = 0; i < size; ++i) {
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 0xf];
  }
  return text;
}

}  // namespace

RunningFingerprint::RunningFingerprint() : digest_(Sha256::Begin()) {}

RunningFingerprint::~RunningFingerprint() = default;

void RunningFingerprint::Add(const void* bytes, std::size_t size) {
  if (finished_ || size == 0) return;
  fingerprint_.size += size;
  failed_ = failed_ || (digest_ && !digest_->Add(bytes, size));
}

Expected<FileFingerprint> RunningFingerprint::Finish() {
  if (finished_) return *finished_;
  Sha256::Digest sum;
  if (!digest_) {
    finished_ = Fail(std::string("cannot compute SHA-256: the system has none"));
  } else if (failed_ || !digest_->Finish(&sum)) {
    finished_ = Fail(std::string("cannot compute SHA-256"));
  } else {
    fingerprint_.sha256 = HexText(sum.data(), sum.size());
    finished_ = fingerprint_;
  }
  return *finished_;
}

}  // namespace torvane
