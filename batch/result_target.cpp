#include "batch/result_target.h"

#include <cerrno>
#include <memory>
#include <vector>

#include "os/file_system.h"

namespace torvane {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kCopyBytes = 1 << 20;

}  // namespace

Expected<ResultTarget, RunError> ResolveResultTarget(const std::string& input_path,
                                                     const std::string& result_path) {
  if (result_path == "-") return ResultTarget{ResultTarget::kStandardOutput, {}};
  ResultTarget target{ResultTarget::kFile, PathFromUtf8(result_path)};
  std::error_code ec;
  const PathKind kind = KindOf(target.path);
  if (kind == PathKind::kMissing) {
    if (fs::is_symlink(fs::symlink_status(target.path, ec))) {
      return Fail(WriteFailure(result_path, kLinkToNothing));
    }
    return target;  // a new file
  }
  if (kind == PathKind::kFolder) {
    return Fail(WriteFailure(result_path, kFolderInTheWay));
  }
  if (input_path != "-" && fs::equivalent(PathFromUtf8(input_path), target.path, ec)) {
    return Fail(FileError(RunErrorKind::kResultIsPointFile, result_path, 0));
  }
  if (kind == PathKind::kStream) {
    target.kind = ResultTarget::kStream;
  } else if (fs::is_symlink(fs::symlink_status(target.path, ec))) {
    // The file the link leads to is replaced, the link staying as it is; a
    // link the system makes up, such as /dev/stdout to a deleted file, is
    // written through.
    fs::path file = fs::canonical(target.path, ec);
    if (ec) {
      target.kind = ResultTarget::kStream;
    } else {
      target.path = std::move(file);
    }
  }
  return target;
}

Expected<void, RunError> SendOut(std::FILE* whole, const ResultTarget& target,
                                 const std::string& result_path, std::string_view what) {
  FileHandle opened;
  std::FILE* out = stdout;
  if (target.kind == ResultTarget::kStream) {
    opened.reset(OpenFile(target.path, "wb"));
    if (!opened) return Fail(WriteFailure(result_path, SystemReason(errno)));
    out = opened.get();
  }
  if (!SeekTo(whole, 0)) return Fail(WriteFailure(result_path, SystemReason(errno)));
  std::vector<char> block(kCopyBytes);
  std::size_t got;
  while ((got = std::fread(block.data(), 1, block.size(), whole)) > 0) {
    if (std::fwrite(block.data(), 1, got, out) != got) {
      return Fail(WriteFailure(result_path, SystemReason(errno)));
    }
  }
  if (std::ferror(whole)) {
    return Fail(WriteFailure(
        result_path, "cannot read back the " + std::string(what) + ": " + SystemReason(errno)));
  }
  if (std::fflush(out) != 0) return Fail(WriteFailure(result_path, SystemReason(errno)));
  return {};
}

Expected<ResultSink, RunError> ResultSink::Open(const ResultTarget& target,
                                                const std::string& result_path) {
  ResultSink sink;
  sink.target_ = target;
  sink.result_path_ = result_path;
  if (target.kind == ResultTarget::kFile) {
    int error = 0;
    sink.pending_ = PendingFile::Begin(target.path, &error);
    if (!sink.pending_) return Fail(WriteFailure(result_path, SystemReason(error)));
  } else {
    sink.whole_.reset(OpenTemporaryFile());
    if (!sink.whole_) {
      return Fail(
          WriteFailure(result_path, "cannot make a temporary file: " + SystemReason(errno)));
    }
  }
  return sink;
}

Expected<void, RunError> ResultSink::Finish(std::string_view what) {
  if (!pending_) return SendOut(whole_.get(), target_, result_path_, what);
  if (const int failed = pending_->Commit()) {
    return Fail(WriteFailure(result_path_, SystemReason(failed)));
  }
  return {};
}

}  // namespace torvane
