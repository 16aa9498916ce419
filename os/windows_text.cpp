// windows.h first: the other system headers build on its types.
#include <windows.h>

#include "os/windows_text.h"

namespace torvane {

std::string Utf8FromUtf16(std::wstring_view utf16) {
  const int size = static_cast<int>(utf16.size());
  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, utf8.data(), bytes, nullptr, nullptr);
  return utf8;
}

std::wstring Utf16FromUtf8(std::string_view utf8) {
  const int size = static_cast<int>(utf8.size());
  const int chars = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring utf16(static_cast<std::size_t>(chars), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, utf16.data(), chars);
  return utf16;
}

}  // namespace torvane
