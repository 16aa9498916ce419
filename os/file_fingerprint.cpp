#include "os/file_fingerprint.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "os/file_system.h"
#include "os/sha256.h"

namespace torvane {
namespace {

// Bytes read at a time: large enough that the reads cost little, small
// enough for any machine.
constexpr std::size_t kBlock = 1 << 16;

struct Closer {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

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

Expected<FileFingerprint> FingerprintFile(const std::string& utf8_path) {
  const std::filesystem::path path = PathFromUtf8(utf8_path);
  const std::string where = "\"" + utf8_path + "\": ";
  if (KindOf(path) == PathKind::kFolder) return Fail(where + "is a folder");
  const std::unique_ptr<std::FILE, Closer> file(OpenFile(path, "rb"));
  if (!file) return Fail(where + "cannot open: " + std::strerror(errno));
  RunningFingerprint running;
  std::vector<unsigned char> block(kBlock);
  for (;;) {
    const std::size_t got = std::fread(block.data(), 1, block.size(), file.get());
    running.Add(block.data(), got);
    if (got < block.size()) break;
  }
  if (std::ferror(file.get())) return Fail(where + "cannot read: " + std::strerror(errno));
  auto fingerprint = running.Finish();
  if (!fingerprint) return Fail(where + fingerprint.error());
  return fingerprint;
}

}  // namespace torvane
