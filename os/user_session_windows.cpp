// windows.h first: the other system headers build on its types.
#include <windows.h>

#include <lmcons.h>

#include <ctime>
#include <optional>
#include <string>

#include "os/user_session.h"
#include "os/windows_text.h"

namespace torvane {

std::optional<std::tm> LocalTime(std::time_t when) {
  std::tm local = {};
  return localtime_s(&local, &when) == 0 ? std::optional(local) : std::nullopt;
}

std::string LoginName() {
  wchar_t name[UNLEN + 1];
  DWORD size = UNLEN + 1;
  if (!GetUserNameW(name, &size) || size == 0) return std::string();
  return Utf8FromUtf16(std::wstring_view(name, size - 1));  // size counts the final 0
}

}  // namespace torvane
