#include <openssl/evp.h>

#include "os/sha256.h"

namespace torvane {
namespace {

class OpenSslSha256 final : public Sha256 {
 public:
  explicit OpenSslSha256(EVP_MD_CTX* context) : context_(context) {}
  ~OpenSslSha256() override { EVP_MD_CTX_free(context_); }
  OpenSslSha256(const OpenSslSha256&) = delete;
  OpenSslSha256& operator=(const OpenSslSha256&) = delete;

  bool Add(const void* bytes, std::size_t size) override {
    return EVP_DigestUpdate(context_, bytes, size) == 1;
  }

  bool Finish(Digest* digest) override {
    unsigned int length = 0;
    return EVP_DigestFinal_ex(context_, digest->data(), &length) == 1 && length == digest->size();
  }

 private:
  EVP_MD_CTX* context_;
};

}  // namespace

std::unique_ptr<Sha256> Sha256::Begin() {
  EVP_MD_CTX* context = EVP_MD_CTX_new();
  if (context == nullptr) return nullptr;
  if (EVP_DigestInit_ex(context, EVP_sha256(), nullptr) != 1) {
    EVP_MD_CTX_free(context);
    return nullptr;
  }
  return std::make_unique<OpenSslSha256>(context);
}

}  // namespace torvane
