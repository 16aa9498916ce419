#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <random>

#include "os/default_signal_posix.h"
#include "os/file_system.h"
#include "os/pending_file.h"

namespace torvane {
namespace {

namespace fs = std::filesystem;

constexpr mode_t kNewFileMode = 0666;  // before the umask, as fopen makes files
constexpr mode_t kPermissionBits = 0777;

// The named temporary file of this run, if any, for the signal handler to
// remove: it may only use what is safe in a handler, so the name is kept in
// a fixed buffer.
char g_named_temporary[PATH_MAX];
volatile std::sig_atomic_t g_named_temporary_set = 0;

extern "C" void RemoveTemporaryAndDie(int signal_number) {
  if (g_named_temporary_set) unlink(g_named_temporary);
  // The handler was reset on entry (SA_RESETHAND): the signal, raised again,
  // ends the program as it would have without the handler.
  raise(signal_number);
}

// SIGINT, SIGTERM, SIGHUP, SIGQUIT (Ctrl-\) and SIGPIPE (a reader that went
// away) remove a named temporary file before the program ends as the signal
// ends it; a signal that is ignored (nohup) or already handled is left as it
// is.
// A file-size limit (SIGXFSZ) no longer kills the program: the write fails
// with EFBIG and the run removes its file like after any write error.
void HandleSignalsOnce() {
  static bool handled = false;
  if (handled) return;
  handled = true;
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE}) {
    HandleIfDefault(signal_number, RemoveTemporaryAndDie, SA_RESETHAND);
  }
  struct sigaction old = {};
  if (sigaction(SIGXFSZ, nullptr, &old) == 0 && old.sa_handler == SIG_DFL) {
    std::signal(SIGXFSZ, SIG_IGN);
  }
}

void RemoveOnSignal(const fs::path& name) {
  if (name.native().size() >= sizeof g_named_temporary) return;
  std::memcpy(g_named_temporary, name.c_str(), name.native().size() + 1);
  g_named_temporary_set = 1;
}

void KeepOnSignal() { g_named_temporary_set = 0; }

// Creates a new file of a fresh temporary name beside `target`; -1 with
// errno set when it cannot.
int CreateNamedTemporary(const fs::path& target, fs::path* name) {
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
    *name = TemporaryNameBeside(target, random());
    const int fd = open(name->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Flushes a folder's entries to disk, so that a rename in it survives a power
// cut. File systems that cannot (EINVAL) have nothing to flush; any other
// failure comes after the table is in place, so it is not reported.
void FlushFolder(const fs::path& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

class PosixPendingFile final : public PendingFile {
 public:
  PosixPendingFile(fs::path target, fs::path folder, fs::path named, std::FILE* stream)
      : target_(std::move(target)),
        folder_(std::move(folder)),
        named_(std::move(named)),
        stream_(stream) {}

  ~PosixPendingFile() override {
    if (stream_ != nullptr) std::fclose(stream_);  // an unnamed file is gone with it
    if (!named_.empty()) {
      unlink(named_.c_str());
      KeepOnSignal();
    }
  }

  std::FILE* stream() override { return stream_; }

  int Commit() override {
    if (std::fflush(stream_) != 0) return errno;
    // EINVAL: a file system that keeps nothing to flush.
    if (fsync(fileno(stream_)) != 0 && errno != EINVAL) return errno;
    if (named_.empty()) {
      if (const int failed = LinkUnnamed()) return failed;
    } else {
      if (std::rename(named_.c_str(), target_.c_str()) != 0) return errno;
      named_.clear();
      KeepOnSignal();
    }
    FlushFolder(folder_);
    std::fclose(stream_);  // everything is on disk: nothing left to fail
    stream_ = nullptr;
    return 0;
  }

 private:
  // Gives the unnamed file the target's name: directly when there is none
  // yet, otherwise through a temporary name renamed onto the target, since a
  // link never replaces a file.
  int LinkUnnamed() {
    char self[64];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", fileno(stream_));
    if (linkat(AT_FDCWD, self, AT_FDCWD, target_.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
    if (errno != EEXIST) return errno;
    std::random_device seed;
    std::mt19937_64 random(seed());
    fs::path name;
    for (int attempt = 0;; ++attempt) {
      name = TemporaryNameBeside(target_, random());
      if (linkat(AT_FDCWD, self, AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) break;
      if (errno != EEXIST || attempt + 1 == kTemporaryNameTries) return errno;
    }
    RemoveOnSignal(name);
    const int renamed = std::rename(name.c_str(), target_.c_str()) == 0 ? 0 : errno;
    if (renamed != 0) unlink(name.c_str());
    KeepOnSignal();
    return renamed;
  }

  fs::path target_;
  fs::path folder_;
  fs::path named_;  // empty for an unnamed file
  std::FILE* stream_;
};

}  // namespace

std::unique_ptr<PendingFile> PendingFile::Begin(const fs::path& target, int* error, bool unnamed) {
  HandleSignalsOnce();
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  fs::path named;
  // An unnamed file needs /proc to be linked in later.
  int fd = unnamed && access("/proc/self/fd", X_OK) == 0
               ? open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, kNewFileMode)
               : -1;
  if (fd < 0) {
    fd = CreateNamedTemporary(target, &named);
    if (fd < 0) {
      *error = errno;
      return nullptr;
    }
    RemoveOnSignal(named);
  }
  // A table that replaces an earlier one keeps its permissions. Not being
  // the earlier file's owner leaves the new one with the usual permissions.
  struct stat earlier = {};
  if (stat(target.c_str(), &earlier) == 0 && S_ISREG(earlier.st_mode)) {
    fchmod(fd, earlier.st_mode & kPermissionBits);
  }
  std::FILE* stream = fdopen(fd, "wb");
  if (stream == nullptr) {
    *error = errno;
    close(fd);
    if (!named.empty()) {
      unlink(named.c_str());
      KeepOnSignal();
    }
    return nullptr;
  }
  return std::make_unique<PosixPendingFile>(target, folder, named, stream);
}

}  // namespace torvane
