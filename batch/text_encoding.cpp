#include "batch/text_encoding.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

namespace torvane {
namespace {

unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

// One converter per thread, opened on first use.
class GbkDecoder {
 public:
  GbkDecoder() : cd_(iconv_open("UTF-8", "GBK")) {}
  ~GbkDecoder() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  GbkDecoder(const GbkDecoder&) = delete;
  GbkDecoder& operator=(const GbkDecoder&) = delete;

  // Whether the bytes are GBK text; their UTF-8 goes to `utf8` unless it is null.
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

GbkDecoder& ThreadDecoder() {
  thread_local GbkDecoder decoder;
  return decoder;
}

}  // namespace

bool IsValidUtf8(std::string_view s) {
  std::size_t i = 0;
  const std::size_t n = s.size();
  while (i < n) {
    const unsigned char c = Byte(s[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t length;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
      if (c == 0xE0) low = 0xA0;   // no overlong forms
      if (c == 0xED) high = 0x9F;  // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
      if (c == 0xF0) low = 0x90;
      if (c == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
    } else {
      return false;
    }
    if (n - i < length) return false;
    const unsigned char second = Byte(s[i + 1]);
    if (second < low || second > high) return false;
    for (std::size_t k = 2; k < length; ++k) {
      if ((Byte(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

bool IsValidGbk(std::string_view bytes) { return ThreadDecoder().Decode(bytes, nullptr); }

std::optional<std::string> GbkToUtf8(std::string_view bytes) {
  std::string utf8;
  if (!ThreadDecoder().Decode(bytes, &utf8)) return std::nullopt;
  return utf8;
}

std::size_t DisplayWidth(std::string_view text, TextEncoding encoding) {
  if (encoding == TextEncoding::kGbk) return text.size();  // one column a byte
  std::size_t width = 0;
  for (char c : text) {
    const unsigned char b = Byte(c);
    if (b < 0x80) {
      width += 1;
    } else if (b >= 0xC0) {
      width += 2;  // the lead byte of a character that is not ASCII
    }
  }
  return width;
}

}  // namespace torvane
