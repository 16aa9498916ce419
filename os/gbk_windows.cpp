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

}  // namespace torvane
