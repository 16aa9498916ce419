#include "batch/conversion_run.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <vector>

#include "batch/point_file.h"
#include "batch/result_line.h"
#include "os/file_system.h"

namespace torvane {
namespace {

constexpr std::size_t kFlushBytes = 1 << 20;
constexpr std::size_t kBatchPoints = 64;
constexpr int kTemporaryNameTries = 16;

namespace fs = std::filesystem;

RunError WriteFailure(const std::string& result_path, const std::string& reason) {
  RunError e;
  e.kind = RunErrorKind::kCannotWrite;
  e.path = result_path;
  e.detail = reason;
  return e;
}

// Where the table is written until it is complete: a new file beside the
// result, so that the final rename stays within one folder.
class PendingResult {
 public:
  explicit PendingResult(std::string result_path) : result_path_(std::move(result_path)) {}
  ~PendingResult() {
    if (file_ != nullptr) std::fclose(file_);
    if (!temporary_.empty()) {
      std::error_code ignored;
      fs::remove(temporary_, ignored);
    }
  }
  PendingResult(const PendingResult&) = delete;
  PendingResult& operator=(const PendingResult&) = delete;

  Expected<bool, RunError> Create() {
    const fs::path result = PathFromUtf8(result_path_);
    std::error_code ec;
    if (fs::is_directory(result, ec)) {
      return Fail(WriteFailure(result_path_, "a folder of that name is in the way"));
    }
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
      fs::path candidate = result;
      candidate += ".tmp" + std::to_string(random() % 1000000);
      // A new file only: never reuse one that happens to exist.
      file_ = CreateNewFile(candidate);
      if (file_ != nullptr) {
        temporary_ = candidate;
        return true;
      }
      if (errno != EEXIST) break;
    }
    return Fail(WriteFailure(result_path_, SystemReason(errno)));
  }

  std::FILE* file() const { return file_; }

  Expected<bool, RunError> Commit() {
    const int closed = std::fclose(file_);
    file_ = nullptr;
    if (closed != 0) return Fail(WriteFailure(result_path_, SystemReason(errno)));
    if (const int failed = RenameOnto(temporary_, PathFromUtf8(result_path_))) {
      return Fail(WriteFailure(result_path_, SystemReason(failed)));
    }
    temporary_.clear();
    return true;
  }

 private:
  std::string result_path_;
  fs::path temporary_;
  std::FILE* file_ = nullptr;
};

// The table on its way to the file: lines are written in place and go out
// in large blocks.
class TableBuffer {
 public:
  explicit TableBuffer(std::FILE* sink)
      : sink_(sink), data_(new char[kFlushBytes]), capacity_(kFlushBytes) {}

  // Room for `bytes` more bytes, after writing out what is held when it
  // does not fit; a line longer than the buffer grows it. nullptr when the
  // write fails (errno says why).
  char* Room(std::size_t bytes) {
    if (size_ + bytes > capacity_) {
      if (!Flush()) return nullptr;
      if (bytes > capacity_) {
        data_.reset(new char[bytes]);
        capacity_ = bytes;
      }
    }
    return data_.get() + size_;
  }
  // The bytes up to `end` of the room just given are part of the table.
  void Used(const char* end) { size_ = end - data_.get(); }

  bool Flush() {
    const bool written = std::fwrite(data_.get(), 1, size_, sink_) == size_;
    size_ = 0;
    return written;
  }

 private:
  std::FILE* sink_;
  std::unique_ptr<char[]> data_;
  std::size_t capacity_;
  std::size_t size_ = 0;
};

RunError AtLine(RunErrorKind kind, const std::string& path, std::size_t line) {
  RunError e;
  e.kind = kind;
  e.path = path;
  e.line = line;
  return e;
}

// Reads every point of the file once, checking it, without writing.
Expected<std::size_t, RunError> CheckAll(PointFileReader& reader, const RunRequest& request) {
  std::size_t points = 0;
  for (;;) {
    auto point = reader.Next();
    if (!point) return Fail(point.error());
    if (!point.value()) break;
    if (request.field_limit && reader.fields_read() > *request.field_limit) {
      RunError e = AtLine(RunErrorKind::kTooManyFields, request.point_path, point.value()->line);
      e.limit = *request.field_limit;
      return Fail(std::move(e));
    }
    ++points;
  }
  if (points == 0) return Fail(AtLine(RunErrorKind::kNoPoints, request.point_path, 0));
  return points;
}

}  // namespace

Expected<RunSummary, RunError> ConvertRun(const RunRequest& request, const RunParams& params) {
  auto opened = PointFileReader::Open(request.point_path);
  if (!opened) return Fail(opened.error());
  PointFileReader& reader = *opened.value();

  const bool to_stdout = request.result_path == "-";
  if (to_stdout || request.field_limit || request.require_set_params) {
    auto checked = CheckAll(reader, request);
    if (!checked) return Fail(checked.error());
    if (request.require_set_params) {
      switch (StateOf(params.x_offset, params.y_offset, params.theta)) {
        case ParamState::kSet:
          break;
        case ParamState::kNotComputed:
          return Fail(AtLine(RunErrorKind::kParamsNotComputed, request.point_path, 0));
        case ParamState::kIncomplete:
          return Fail(AtLine(RunErrorKind::kParamsIncomplete, request.point_path, 0));
      }
    }
    auto rewound = reader.Rewind();
    if (!rewound) return Fail(rewound.error());
  }

  PendingResult pending(request.result_path);
  std::FILE* sink = stdout;
  if (!to_stdout) {
    auto created = pending.Create();
    if (!created) return Fail(created.error());
    sink = pending.file();
  }
  const Transform transform(params);
  TableBuffer out(sink);
  RunSummary summary;
  // Converts and writes one point; false, with *failure set, when it cannot.
  auto write = [&](const PointRecord& point, PlanePoint converted, RunError* failure) {
    if (!std::isfinite(converted.x) || !std::isfinite(converted.y)) {
      *failure = AtLine(RunErrorKind::kResultOutOfRange, request.point_path, point.line);
      failure->field = std::isfinite(converted.x) ? "Y" : "X";
      return false;
    }
    // The reader knows of a BOM by its first point: the BOM is on line 1.
    const bool bom = summary.points == 0 && reader.encoding() == TextEncoding::kUtf8WithBom;
    char* room = out.Room(bom * kUtf8Bom.size() + ResultLineCapacity(point));
    if (room == nullptr) {
      *failure = WriteFailure(request.result_path, SystemReason(errno));
      return false;
    }
    if (bom) room = std::copy(kUtf8Bom.begin(), kUtf8Bom.end(), room);
    out.Used(WriteResultLine(room, point, converted, reader.encoding()));
    ++summary.points;
    return true;
  };
  // Usual lines are read a batch at a time, then converted, then written:
  // the steps of neighbouring points overlap in the processor.
  std::vector<PointRecord> batch(kBatchPoints);
  std::vector<PlanePoint> converted(kBatchPoints);
  RunError failure;
  for (;;) {
    if (const std::size_t n = reader.NextUsualPoints(batch.data(), batch.size())) {
      for (std::size_t i = 0; i < n; ++i) {
        converted[i] = transform.Apply(request.direction, {batch[i].x, batch[i].y});
      }
      for (std::size_t i = 0; i < n; ++i) {
        if (!write(batch[i], converted[i], &failure)) return Fail(std::move(failure));
      }
      continue;
    }
    auto next = reader.Next();
    if (!next) return Fail(next.error());
    if (!next.value()) break;
    const PointRecord& point = *next.value();
    if (!write(point, transform.Apply(request.direction, {point.x, point.y}), &failure)) {
      return Fail(std::move(failure));
    }
  }
  if (summary.points == 0) return Fail(AtLine(RunErrorKind::kNoPoints, request.point_path, 0));
  if (!out.Flush() || std::fflush(sink) != 0) {
    return Fail(WriteFailure(request.result_path, SystemReason(errno)));
  }
  if (!to_stdout) {
    // The point file is closed first: Windows renames nothing onto a file
    // that is open, and the result may be the point file itself.
    opened.value().reset();
    auto committed = pending.Commit();
    if (!committed) return Fail(committed.error());
  }
  return summary;
}

}  // namespace torvane
