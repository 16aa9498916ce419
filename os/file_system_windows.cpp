// windows.h first: the other system headers build on its types.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>

#include "os/file_system.h"
#include "os/windows_error.h"

namespace torvane {
namespace {

// A stdio stream over a descriptor from _wsopen_s; null with errno set.
std::FILE* StreamOf(const wchar_t* name, int flags, const char* mode) {
  int fd = -1;
  const errno_t opened = _wsopen_s(&fd, name, flags, _SH_DENYNO, _S_IREAD | _S_IWRITE);
  if (opened != 0) {
    errno = opened;
    return nullptr;
  }
  std::FILE* file = _fdopen(fd, mode);
  if (file == nullptr) {
    const int reason = errno;
    _close(fd);
    errno = reason;
  }
  return file;
}

}  // namespace

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
  std::wstring wide_mode(mode, mode + std::char_traits<char>::length(mode));
  if (wide_mode.find(L'b') == std::wstring::npos) wide_mode += L'b';
  return _wfopen(path.c_str(), wide_mode.c_str());
}

std::FILE* OpenTemporaryFile() {
  wchar_t folder[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
  if (length == 0 || length > MAX_PATH) {
    errno = ErrnoFromWindows(GetLastError());
    return nullptr;
  }
  std::random_device seed;
  std::mt19937 random(seed());
  for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
    const std::wstring name =
        std::wstring(folder, length) + L"torvane-" + std::to_wstring(random()) + L".tmp";
    // _O_TEMPORARY: Windows removes the file when its last handle closes.
    std::FILE* file =
        StreamOf(name.c_str(),
                 _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY | _O_TEMPORARY | _O_SHORT_LIVED, "w+b");
    if (file != nullptr || errno != EEXIST) return file;
  }
  return nullptr;
}

PathKind KindOf(const std::filesystem::path& path) {
  // Opened without access, which devices such as NUL and CON allow too;
  // backup semantics open folders.
  HANDLE handle =
      CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return PathKind::kMissing;
  PathKind kind = PathKind::kStream;
  if (GetFileType(handle) == FILE_TYPE_DISK) {
    BY_HANDLE_FILE_INFORMATION info = {};
    kind = GetFileInformationByHandle(handle, &info) &&
                   (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0
               ? PathKind::kFolder
               : PathKind::kFile;
  }
  CloseHandle(handle);
  return kind;
}

bool SeekTo(std::FILE* file, std::uint64_t offset) {
  return _fseeki64(file, static_cast<__int64>(offset), SEEK_SET) == 0;
}

}  // namespace torvane
