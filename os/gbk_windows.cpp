// windows.h first: the other system headers build on its types.
#include <windows.h>

#include <climits>

#include "os/gbk.h"

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
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), chars, nullptr, 0, nullptr, nullptr);
  const std::size_t start = utf8->size();
  utf8->resize(start + static_cast<std::size_t>(length));
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), chars, utf8->data() + start, length, nullptr,
                      nullptr);
  return true;
}

}  // namespace torvane
