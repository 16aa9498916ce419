// windows.h first: the other system headers build on its types.
#include <windows.h>

#include <climits>

#include "os/gbk.h"
#include "os/windows_text.h"

namespace torvane {
namespace {

constexpr UINT kCodePageGbk = 936;

}  // namespace

bool DecodeGbk(std::string_view bytes, std::string* utf8) {
  if (bytes.empty()) return true;
  if (bytes.size() > INT_MAX) return false;
  const int size = static_cast<int>(bytes.size());
  // MB_ERR_INVALID_CHARS: fail on a byte pair that code page 936 does not
  // define, instead of putting a replacement character in its place.
  const int chars =
      MultiByteToWideChar(kCodePageGbk, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
  if (chars == 0) return false;
  if (utf8 == nullptr) return true;
  std::wstring wide(static_cast<std::size_t>(chars), L'\0');
  MultiByteToWideChar(kCodePageGbk, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(), chars);
  *utf8 += Utf8FromUtf16(wide);
  return true;
}

bool EncodeGbk(std::string_view utf8, std::string* gbk) {
  if (utf8.empty()) return true;
  const std::wstring wide = Utf16FromUtf8(utf8);
  if (wide.empty() || wide.size() > INT_MAX) return false;
  // Text that is not UTF-8 comes back with U+FFFD, which GBK has no code for.
  const int size = static_cast<int>(wide.size());
  BOOL defaulted = FALSE;
  // WC_NO_BEST_FIT_CHARS: a character without a code is told, not written
  // as a look-alike.
  const int bytes = WideCharToMultiByte(kCodePageGbk, WC_NO_BEST_FIT_CHARS, wide.data(), size,
                                        nullptr, 0, nullptr, &defaulted);
  if (bytes == 0 || defaulted) return false;
  if (gbk == nullptr) return true;
  std::string out(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(kCodePageGbk, WC_NO_BEST_FIT_CHARS, wide.data(), size, out.data(), bytes,
                      nullptr, nullptr);
  *gbk += out;
  return true;
}

}  // namespace torvane
