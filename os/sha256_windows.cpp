// windows.h first: bcrypt.h builds on its types.
#include <windows.h>

#include <bcrypt.h>

#include <climits>

#include "os/sha256.h"

namespace torvane {
namespace {

bool Succeeded(NTSTATUS status) { return status >= 0; }

class CngSha256 final : public Sha256 {
 public:
  CngSha256(BCRYPT_ALG_HANDLE algorithm, BCRYPT_HASH_HANDLE hash)
      : algorithm_(algorithm), hash_(hash) {}
  ~CngSha256() override {
    BCryptDestroyHash(hash_);
    BCryptCloseAlgorithmProvider(algorithm_, 0);
  }
  CngSha256(const CngSha256&) = delete;
  CngSha256& operator=(const CngSha256&) = delete;

  bool Add(const void* bytes, std::size_t size) override {
    // BCryptHashData takes a ULONG count: larger blocks go in pieces.
    auto* at = static_cast<UCHAR*>(const_cast<void*>(bytes));
    while (size > 0) {
      const ULONG piece = size > ULONG_MAX ? ULONG_MAX : static_cast<ULONG>(size);
      if (!Succeeded(BCryptHashData(hash_, at, piece, 0))) return false;
      at += piece;
      size -= piece;
    }
    return true;
  }

  bool Finish(Digest* digest) override {
    return Succeeded(
        BCryptFinishHash(hash_, digest->data(), static_cast<ULONG>(digest->size()), 0));
  }

 private:
  BCRYPT_ALG_HANDLE algorithm_;
  BCRYPT_HASH_HANDLE hash_;
};

}  // namespace

std::unique_ptr<Sha256> Sha256::Begin() {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  if (!Succeeded(BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) {
    return nullptr;
  }
  BCRYPT_HASH_HANDLE hash = nullptr;
  if (!Succeeded(BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0))) {
    BCryptCloseAlgorithmProvider(algorithm, 0);
    return nullptr;
  }
  return std::make_unique<CngSha256>(algorithm, hash);
}

}  // namespace torvane
