// SHA-256 (FIPS 180-4) from the system's own implementation: OpenSSL's
// libcrypto on Linux, CNG on Windows.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace torvane {

class Sha256 {
 public:
  using Digest = std::array<std::uint8_t, 32>;

  // A fresh digest; null when the system cannot give one (no provider).
  static std::unique_ptr<Sha256> Begin();
  virtual ~Sha256() = default;

  // Adds `size` bytes at `bytes`; false when the system fails.
  virtual bool Add(const void* bytes, std::size_t size) = 0;
  // The digest of everything added; once only. False when the system fails.
  virtual bool Finish(Digest* digest) = 0;
};

}  // namespace torvane
