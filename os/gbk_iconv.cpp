#include <iconv.h>

#include <cerrno>

#include "os/gbk.h"

namespace torvane {
namespace {

// One converter per thread, opened on first use.
class GbkDecoder {
 public:
  GbkDecoder() : cd_(iconv_open("UTF-8", "GBK")) {}
  ~GbkDecoder() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  GbkDecoder(const GbkDecoder&) = delete;
  GbkDecoder& operator=(const GbkDecoder&) = delete;

  bool Decode(std::string_view bytes, std::string* utf8) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) return false;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string in(bytes);
    char* in_ptr = in.data();
    std::size_t in_left = in.size();
    char out[1024];
    while (in_left > 0) {
      char* out_ptr = out;
      std::size_t out_left = sizeof out;
      const bool failed =
          iconv(cd_, &in_ptr, &in_left, &out_ptr, &out_left) == static_cast<std::size_t>(-1);
      if (failed && errno != E2BIG) {
        return false;  // EILSEQ: not GBK; EINVAL: a lead byte without its trail
      }
      if (utf8 != nullptr) utf8->append(out, out_ptr);
    }
    return true;
  }

 private:
  iconv_t cd_;
};

}  // namespace

bool DecodeGbk(std::string_view bytes, std::string* utf8) {
  thread_local GbkDecoder decoder;
  return decoder.Decode(bytes, utf8);
}

}  // namespace torvane
