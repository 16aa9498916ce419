#include "batch/conversion_run.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include "batch/point_file.h"
#include "batch/result_buffer.h"
#include "batch/result_recoding.h"
#include "batch/result_target.h"
#include "batch/text_encoding.h"
#include "fit/height_coverage.h"
#include "number/exact_decimal.h"
#include "number/number_text.h"
#include "number/pattern.h"
#include "os/file_system.h"
#include "os/pending_file.h"

namespace torvane {
namespace {

constexpr std::size_t kBatchPoints = 64;

namespace fs = std::filesystem;

// The error for a file without points: one that --skip-lines passes over
// whole says so.
RunError NoPoints(const RunRequest& request, const PointFileReader& reader) {
  RunError e = FileError(RunErrorKind::kNoPoints, request.point_path, 0);
  if (request.layout.skip_lines > 0 && reader.line_number() <= request.layout.skip_lines) {
    e.limit = request.layout.skip_lines;
    e.other_line = reader.line_number();
  }
  return e;
}

// The run's progress as RunRequest::progress is told it. Asking whether it
// is due is one comparison, made every batch of points; the callback is
// called only every kProgressPoints points.
class Progress {
 public:
  explicit Progress(const RunRequest& request)
      : report_(request.progress), size_(ReadableSize(request.point_path)) {}

  // A reading of the file starts that takes the run from `from` to `from` +
  // `span` of it (shares 0 to 1).
  void StartReading(double from, double span) {
    from_ = from;
    span_ = span;
    next_ = report_ ? kProgressPoints : std::numeric_limits<std::size_t>::max();
  }
  // Whether the callback is due once `points` points of this reading are done.
  bool Due(std::size_t points) const { return points >= next_; }
  // Tells the callback how far `bytes` of the file read take the run; false
  // when it cancels the run.
  bool Tell(std::uint64_t bytes, std::size_t points) {
    next_ = points + kProgressPoints;
    const double read =
        size_ > 0 ? std::min(1.0, static_cast<double>(bytes) / static_cast<double>(size_)) : 0.0;
    return report_(from_ + span_ * read);
  }
  // Tells the callback the reading is over; false when it cancels the run.
  bool TellEnd() const { return !report_ || report_(1.0); }

 private:
  // The bytes of a point file whose size is known: 0 for standard input, a
  // stream or a file that cannot be measured.
  static std::uint64_t ReadableSize(const std::string& path) {
    if (path == "-") return 0;
    std::error_code ec;
    const fs::path file = PathFromUtf8(path);
    if (!fs::is_regular_file(file, ec)) return 0;
    const std::uintmax_t size = fs::file_size(file, ec);
    return ec ? 0 : size;
  }

  const std::function<bool(double)>& report_;
  std::uint64_t size_;
  double from_ = 0, span_ = 1;
  std::size_t next_ = std::numeric_limits<std::size_t>::max();
};

RunError Cancelled(const RunRequest& request) {
  return FileError(RunErrorKind::kCancelled, request.point_path, 0);
}

// Reads every point of the file once, checking it, without writing.
Expected<std::size_t, RunError> CheckAll(PointFileReader& reader, const RunRequest& request,
                                         Progress& progress) {
  std::size_t points = 0;
  for (;;) {
    auto point = reader.Next();
    if (!point) return Fail(point.error());
    if (!point.value()) break;
    if (request.field_limit && reader.fields_read() > *request.field_limit) {
      RunError e = FileError(RunErrorKind::kTooManyFields, request.point_path, point.value()->line);
      e.limit = *request.field_limit;
      return Fail(std::move(e));
    }
    ++points;
    if (progress.Due(points) && !progress.Tell(reader.bytes_read(), points)) {
      return Fail(Cancelled(request));
    }
  }
  if (points == 0) return Fail(NoPoints(request, reader));
  return points;
}

// `point` into *shifted with its height shifted by `offset` (see
// RunRequest::height_offset) the way `direction` goes, the text in
// *height; false, with *failure set but for the path, when H is not a
// number or the shifted one is beyond the range of doubles.
bool ShiftHeight(const PointRecord& point, std::string_view offset, Direction direction,
                 PointRecord* shifted, std::string* height, RunError* failure) {
  auto sum = ExactDecimalSum(point.h_text, offset, direction == Direction::kSurveyToConstruction);
  if (!sum) {
    *failure = NumberFieldError(sum.error(), point.line, "H", point.h_text);
    return false;
  }
  if (!ParseDecimal(*sum)) {
    *failure = LineError(RunErrorKind::kResultOutOfRange, point.line, {});
    failure->field = "H";
    return false;
  }
  *height = std::move(*sum);
  *shifted = point;
  shifted->h_text = *height;
  shifted->h_decimal = ScanShortDecimal(*height);
  shifted->h_shifted = true;
  return true;
}

// A height moved by a fitted model: to 0.1 mm, the model's own precision
// being a few millimetres at best.
constexpr std::string_view kModelledHeightPattern = "0.0000";

}  // namespace

Expected<RunSummary, RunError> ConvertRun(const RunRequest& request, const RunParams& params,
                                          ResultWriter& writer) {
  auto opened = PointFileReader::Open(request.point_path, request.layout, request.encoding);
  if (!opened) return Fail(opened.error());
  PointFileReader& reader = *opened.value();

  Progress progress(request);
  const bool check_first = request.field_limit || request.refuse_unset_params;
  if (check_first) {
    progress.StartReading(0, 0.5);
    auto checked = CheckAll(reader, request, progress);
    if (!checked) return Fail(checked.error());
    if (request.refuse_unset_params) {
      switch (StateOf(params.x_offset, params.y_offset, params.theta)) {
        case ParamState::kSet:
          break;
        case ParamState::kNotComputed:
          return Fail(FileError(RunErrorKind::kParamsNotComputed, request.point_path, 0));
        case ParamState::kIncomplete:
          return Fail(FileError(RunErrorKind::kParamsIncomplete, request.point_path, 0));
      }
    }
    auto rewound = reader.Rewind();
    if (!rewound) return Fail(rewound.error());
  }

  // A file is written where it will replace the result when complete; a
  // stream gets the result only once all of it is in a temporary file.
  auto target = ResolveResultTarget(request.point_path, request.result_path);
  if (!target) return Fail(target.error());
  auto sink = ResultSink::Open(*target, request.result_path);
  if (!sink) return Fail(sink.error());
  const Transform transform(params);
  ResultBuffer out(sink->stream());
  RunSummary summary;
  // The texts recoded when the result is asked for in an encoding of its own.
  std::optional<ResultRecoding> recoding;
  if (request.result_encoding && writer.Encoding() == ResultEncoding::kAsPointFile) {
    recoding.emplace(*request.result_encoding);
  }
  PointRecord shifted;         // a point with its height shifted
  std::string shifted_height;  // its height's text
  // Converts and writes one point; false, with *failure set, when it cannot.
  auto write = [&](const PointRecord& point, PlanePoint converted, RunError* failure) {
    if (!std::isfinite(converted.x) || !std::isfinite(converted.y)) {
      *failure = FileError(RunErrorKind::kResultOutOfRange, request.point_path, point.line);
      failure->field = std::isfinite(converted.x) ? "Y" : "X";
      return false;
    }
    bool written = true;
    if (summary.points == 0) {
      // The reader knows of a BOM by its first point. A UTF-16 file's
      // result is in its UTF-16, the BOM (U+FEFF) first; a result asked for
      // in an encoding of its own is in that one.
      if (recoding) {
        if (*request.result_encoding == TextEncoding::kUtf8WithBom) written = out.Append(kUtf8Bom);
      } else if (writer.Encoding() == ResultEncoding::kAsPointFile) {
        if (IsUtf16(reader.encoding())) out.WriteAsUtf16(reader.encoding());
        if (IsUtf16(reader.encoding()) || reader.encoding() == TextEncoding::kUtf8WithBom) {
          written = out.Append(kUtf8Bom);
        }
      }
      written = written && writer.Begin(out);
    }
    if (!written) {
      *failure = WriteFailure(request.result_path, SystemReason(errno));
      return false;
    }
    if (recoding) {
      const PointRecord* const recoded = recoding->Recode(point, reader.encoding(), failure);
      if (recoded == nullptr) {
        failure->path = request.point_path;
        return false;
      }
      written = writer.Write(out, *recoded, converted, recoding->texts());
    } else {
      written = writer.Write(out, point, converted, reader.encoding());
    }
    if (!written) {
      *failure = WriteFailure(request.result_path, SystemReason(errno));
      return false;
    }
    ++summary.points;
    return true;
  };
  // write for a run that shifts heights: the point with its height shifted.
  auto write_shifted = [&](const PointRecord& point, PlanePoint converted, RunError* failure) {
    if (point.h_text.empty()) return write(point, converted, failure);
    if (!ShiftHeight(point, *request.height_offset, request.direction, &shifted, &shifted_height,
                     failure)) {
      *failure = reader.Located(std::move(*failure));
      return false;
    }
    return write(shifted, converted, failure);
  };
  // write for a run with a height model: the point with its height moved
  // by d at its survey X, Y, and counted when that is beyond the coverage.
  std::optional<HeightCoverage> coverage;
  if (request.height_model) coverage.emplace(request.height_hull);
  const bool forward = request.direction == Direction::kSurveyToConstruction;
  auto write_modelled = [&](const PointRecord& point, PlanePoint converted, RunError* failure) {
    if (point.h_text.empty()) return write(point, converted, failure);
    const PlanePoint survey = forward ? PlanePoint{point.x, point.y} : converted;
    if (!coverage->Covers(survey)) {
      if (summary.outside_coverage++ < kOutsideNamed) {
        std::string name(point.name);
        if (reader.encoding() == TextEncoding::kGbk) {
          auto utf8 = GbkToUtf8(name);
          name = utf8 ? *utf8 : std::string();
        }
        summary.outside_names.push_back(name.empty() ? "line " + std::to_string(point.line) : name);
      }
    }
    auto value = ParseDecimal(point.h_text);
    if (!value) {
      *failure = reader.Located(NumberFieldError(value.error(), point.line, "H", point.h_text));
      return false;
    }
    const double d = HeightDifference(*request.height_model, survey);
    const double moved = forward ? *value - d : *value + d;
    if (!std::isfinite(moved)) {
      *failure = reader.Located(LineError(RunErrorKind::kResultOutOfRange, point.line, {}));
      failure->field = "H";
      return false;
    }
    shifted_height = FormatPattern(moved, kModelledHeightPattern);
    shifted = point;
    shifted.h_text = shifted_height;
    shifted.h_decimal = ScanShortDecimal(shifted_height);
    shifted.h_shifted = true;
    return write(shifted, converted, failure);
  };
  const auto write_point = [&](const PointRecord& point, PlanePoint converted, RunError* failure) {
    if (request.height_model) return write_modelled(point, converted, failure);
    return request.height_offset ? write_shifted(point, converted, failure)
                                 : write(point, converted, failure);
  };
  // Usual lines are read a batch at a time, then converted, then written:
  // the steps of neighbouring points overlap in the processor.
  std::vector<PointRecord> batch(kBatchPoints);
  std::vector<PlanePoint> converted(kBatchPoints);
  RunError failure;
  if (check_first) {
    progress.StartReading(0.5, 0.5);
  } else {
    progress.StartReading(0, 1);
  }
  for (;;) {
    if (const std::size_t n = reader.NextUsualPoints(batch.data(), batch.size())) {
      for (std::size_t i = 0; i < n; ++i) {
        converted[i] = transform.Apply(request.direction, {batch[i].x, batch[i].y});
      }
      // Whether heights are shifted is asked once a batch, not at every point.
      if (request.height_model) {
        for (std::size_t i = 0; i < n; ++i) {
          if (!write_modelled(batch[i], converted[i], &failure)) return Fail(std::move(failure));
        }
      } else if (request.height_offset) {
        for (std::size_t i = 0; i < n; ++i) {
          if (!write_shifted(batch[i], converted[i], &failure)) return Fail(std::move(failure));
        }
      } else {
        for (std::size_t i = 0; i < n; ++i) {
          if (!write(batch[i], converted[i], &failure)) return Fail(std::move(failure));
        }
      }
      if (progress.Due(summary.points) && !progress.Tell(reader.bytes_read(), summary.points)) {
        return Fail(Cancelled(request));
      }
      continue;
    }
    auto next = reader.Next();
    if (!next) return Fail(next.error());
    if (!next.value()) break;
    const PointRecord& point = *next.value();
    const PlanePoint converted_point = transform.Apply(request.direction, {point.x, point.y});
    if (!write_point(point, converted_point, &failure)) {
      return Fail(std::move(failure));
    }
    if (progress.Due(summary.points) && !progress.Tell(reader.bytes_read(), summary.points)) {
      return Fail(Cancelled(request));
    }
  }
  if (summary.points == 0) return Fail(NoPoints(request, reader));
  summary.encoding_undecided = reader.encoding_undecided();
  // The last moment to stop: nothing has replaced the earlier result yet.
  if (!progress.TellEnd()) return Fail(Cancelled(request));
  if (!writer.End(out) || !out.Flush() || std::fflush(sink->stream()) != 0) {
    return Fail(WriteFailure(request.result_path, SystemReason(errno)));
  }
  opened.value().reset();  // the point file closed before the result is put in place
  if (auto finished = sink.value().Finish("table"); !finished) return Fail(finished.error());
  return summary;
}

}  // namespace torvane
