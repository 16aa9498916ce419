#include <iconv.h>

#include <cerrno>

#include "os/gbk.h"

namespace torvane {
namespace {

// One converter each way per thread, opened on first use.
class GbkConverter {
 public:
  GbkConverter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~GbkConverter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  GbkConverter(const GbkConverter&) = delete;
  GbkConverter& operator=(const GbkConverter&) = delete;

  bool Convert(std::string_view bytes, std::string* converted) {
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
        return false;  // EILSEQ: not the encoding, or no code for it; EINVAL: a part of a character
      }
      if (converted != nullptr) converted->append(out, out_ptr);
    }
    return true;
  }

 private:
  iconv_t cd_;
};

}  // namespace

bool DecodeGbk(std::string_view bytes, std::string* utf8) {
  thread_local GbkConverter decoder("UTF-8", "GBK");
  return decoder.Convert(bytes, utf8);
}

bool EncodeGbk(std::string_view utf8, std::string* gbk) {
  thread_local GbkConverter encoder("GBK", "UTF-8");
  return encoder.Convert(utf8, gbk);
}

}  // namespace torvane
