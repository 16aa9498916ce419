// windows.h first: the other system headers build on its types.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <iostream>
#include <streambuf>

#include "os/process_io.h"
#include "os/windows_text.h"

namespace torvane {
namespace {

// A stream buffer that shows UTF-8 text on a console. Text goes out a line
// at a time, and whole when the stream is flushed, so that a character is
// not split between two writes.
class ConsoleBuffer : public std::streambuf {
 public:
  explicit ConsoleBuffer(HANDLE console) : console_(console) {}

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    pending_ += traits_type::to_char_type(c);
    if (c == '\n' && !Show(pending_.size())) return traits_type::eof();
    return c;
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    pending_.append(s, static_cast<std::size_t>(n));
    const std::size_t line_end = pending_.rfind('\n');
    if (line_end != std::string::npos && !Show(line_end + 1)) return 0;
    return n;
  }
  int sync() override { return Show(pending_.size()) ? 0 : -1; }

 private:
  // Writes the first `bytes` held to the console and drops them.
  bool Show(std::size_t bytes) {
    if (bytes == 0) return true;
    const std::wstring wide = Utf16FromUtf8(std::string_view(pending_).substr(0, bytes));
    pending_.erase(0, bytes);
    DWORD written = 0;
    return WriteConsoleW(console_, wide.data(), static_cast<DWORD>(wide.size()), &written,
                         nullptr) != 0;
  }

  HANDLE console_;
  std::string pending_;
};

// Which of descriptors 0, 1 and 2 ReopenClosedStandardStreams found closed.
bool was_closed[3] = {false, false, false};

// A descriptor of the C runtime with no system handle behind it: not open,
// or, for 0 to 2, one the runtime marked as having none (-2) because the
// program started without that standard handle.
bool IsClosed(int fd) {
  const intptr_t handle = _get_osfhandle(fd);
  return handle == -1 || handle == -2;
}

// The console behind a standard handle; null when it is a file or a pipe.
HANDLE ConsoleOf(DWORD which) {
  HANDLE handle = GetStdHandle(which);
  DWORD mode = 0;
  if (handle == INVALID_HANDLE_VALUE || handle == nullptr || !GetConsoleMode(handle, &mode)) {
    return nullptr;
  }
  return handle;
}

}  // namespace

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(Utf8FromUtf16(wide[i]));
  LocalFree(wide);
  return arguments;
}

void ReopenClosedStandardStreams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (!IsClosed(fd)) continue;
    was_closed[fd] = true;
    const int device = _open("NUL", (fd == 0 ? _O_WRONLY : _O_RDONLY) | _O_BINARY);
    if (device >= 0 && device != fd) {
      _dup2(device, fd);
      _close(device);
    }
  }
}

bool StandardOutputWasClosed() { return was_closed[1]; }

void UseBinaryStandardStreams() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

bool StandardInputIsClosed() {
  if (was_closed[0]) return true;
  const HANDLE handle = GetStdHandle(STD_INPUT_HANDLE);
  return handle == nullptr || handle == INVALID_HANDLE_VALUE || _fileno(stdin) < 0;
}

void UseConsoleText() {
  // Never freed: the streams are flushed at exit, after every static
  // object of the program has gone.
  if (HANDLE out = ConsoleOf(STD_OUTPUT_HANDLE)) {
    std::cout.flush();
    std::cout.rdbuf(new ConsoleBuffer(out));
  }
  if (HANDLE err = ConsoleOf(STD_ERROR_HANDLE)) std::cerr.rdbuf(new ConsoleBuffer(err));
}

}  // namespace torvane
