// windows.h first: the other system headers build on its types.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "os/file_system.h"
#include "os/pending_file.h"
#include "os/windows_error.h"

namespace torvane {
namespace {

namespace fs = std::filesystem;

// Whether Windows removes the file when its last handle is closed, which
// it does also when the program is killed.
bool MarkForDeletion(HANDLE file, bool remove) {
  FILE_DISPOSITION_INFO disposition = {};
  disposition.DeleteFile = remove ? TRUE : FALSE;
  return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition) !=
         0;
}

// Gives the open file the name `target`, replacing a file of that name.
bool RenameHandle(HANDLE file, const fs::path& target) {
  const std::wstring& name = target.native();
  // FILE_RENAME_INFO ends in the name, of any length.
  std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t));
  auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  rename->ReplaceIfExists = TRUE;
  rename->RootDirectory = nullptr;
  rename->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
  std::memcpy(rename->FileName, name.c_str(), name.size() * sizeof(wchar_t));
  return SetFileInformationByHandle(file, FileRenameInfo, rename,
                                    static_cast<DWORD>(buffer.size())) != 0;
}

class WindowsPendingFile final : public PendingFile {
 public:
  WindowsPendingFile(fs::path target, HANDLE handle, std::FILE* stream)
      : target_(std::move(target)), handle_(handle), stream_(stream) {}

  // Closing the last handle of a file marked for deletion removes it.
  ~WindowsPendingFile() override {
    if (stream_ != nullptr) std::fclose(stream_);
  }

  std::FILE* stream() override { return stream_; }

  int Commit() override {
    if (std::fflush(stream_) != 0) return errno;
    if (!FlushFileBuffers(handle_)) return ErrnoFromWindows(GetLastError());
    if (!MarkForDeletion(handle_, false)) return ErrnoFromWindows(GetLastError());
    if (!RenameHandle(handle_, target_)) {
      const int failed = ErrnoFromWindows(GetLastError());
      MarkForDeletion(handle_, true);
      return failed;
    }
    std::fclose(stream_);  // flushed to disk above: nothing left to fail
    stream_ = nullptr;
    return 0;
  }

 private:
  fs::path target_;
  HANDLE handle_;  // owned by stream_
  std::FILE* stream_;
};

}  // namespace

std::unique_ptr<PendingFile> PendingFile::Begin(const fs::path& target, int* error,
                                                bool /*unnamed*/) {
  // The rename takes a full path.
  std::error_code ec;
  const fs::path absolute_target = fs::absolute(target, ec);
  if (ec) {
    *error = ec.value();
    return nullptr;
  }
  std::random_device seed;
  std::mt19937_64 random(seed());
  HANDLE handle = INVALID_HANDLE_VALUE;
  fs::path name;
  for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
    name = TemporaryNameBeside(absolute_target, random());
    // DELETE access: the file is renamed through this handle.
    handle = CreateFileW(name.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (handle == INVALID_HANDLE_VALUE) {
    *error = ErrnoFromWindows(GetLastError());
    return nullptr;
  }
  if (!MarkForDeletion(handle, true)) {
    *error = ErrnoFromWindows(GetLastError());
    CloseHandle(handle);
    DeleteFileW(name.c_str());
    return nullptr;
  }
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
  std::FILE* stream = fd >= 0 ? _fdopen(fd, "wb") : nullptr;
  if (stream == nullptr) {
    *error = errno;
    if (fd >= 0) {
      _close(fd);
    } else {
      CloseHandle(handle);
    }
    return nullptr;
  }
  return std::make_unique<WindowsPendingFile>(absolute_target, handle, stream);
}

}  // namespace torvane
