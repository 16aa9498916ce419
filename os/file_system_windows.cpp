// windows.h first: the other system headers build on its types.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
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

std::optional<EntryPlace> PlaceOfNamed(const std::filesystem::path& named) {
  namespace fs = std::filesystem;
  // The name as the system reads it: "." and ".." taken, "/" as "\", the
  // dots and spaces at the end of the last name dropped.
  const DWORD needed = GetFullPathNameW(named.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return std::nullopt;
  std::wstring full(needed, L'\0');
  wchar_t* name_part = nullptr;
  const DWORD length = GetFullPathNameW(named.c_str(), needed, full.data(), &name_part);
  if (length == 0 || length >= needed || name_part == nullptr) return std::nullopt;
  const std::wstring folder(full.data(), name_part);
  std::wstring leaf(name_part, full.data() + length);
  // A name that exists as the folder lists it: its long name for an 8.3 alias.
  WIN32_FIND_DATAW found = {};
  HANDLE find = leaf.find_first_of(L"*?") == std::wstring::npos
                    ? FindFirstFileW(full.c_str(), &found)
                    : INVALID_HANDLE_VALUE;
  if (find != INVALID_HANDLE_VALUE) {
    leaf = found.cFileName;
    FindClose(find);
  }
  HANDLE handle =
      CreateFileW(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info = {};
  const bool is_folder = GetFileInformationByHandle(handle, &info) &&
                         (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  CloseHandle(handle);
  if (!is_folder) return std::nullopt;
  const std::uint64_t index = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
  return EntryPlace{std::to_string(info.dwVolumeSerialNumber) + ":" + std::to_string(index),
                    fs::path(std::move(leaf))};
}

bool SamePlace(const EntryPlace& a, const EntryPlace& b) {
  // As NTFS compares names: each UTF-16 unit by the system's upper-case table.
  return a.folder == b.folder &&
         CompareStringOrdinal(a.leaf.c_str(), -1, b.leaf.c_str(), -1, TRUE) == CSTR_EQUAL;
}

bool SeekTo(std::FILE* file, std::uint64_t offset) {
  return _fseeki64(file, static_cast<__int64>(offset), SEEK_SET) == 0;
}

std::int64_t TellFile(std::FILE* file) { return _ftelli64(file); }

}  // namespace torvane
