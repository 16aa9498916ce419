// How a conversion run writes its result, point by point, in one format:
// ConvertRun reads and converts the points and hands each to a writer,
// which lays it out in the result buffer. The writers themselves, and the
// choice of one for a format, are in report/result_format.h.
#pragma once

#include <string_view>

#include "batch/point_file.h"
#include "batch/result_buffer.h"
#include "batch/text_encoding.h"
#include "params/transform.h"

namespace torvane {

// The encoding of a result.
enum class ResultEncoding {
  // The point file's: names and heights as their bytes, and a UTF-8
  // byte-order mark at the start of the point file copied to the result's;
  // for a point file in UTF-16, the writer's UTF-8 written in the file's
  // UTF-16 with its byte-order mark.
  kAsPointFile,
  // UTF-8 without a byte-order mark, whatever the point file's encoding.
  kUtf8,
};

// A result format's writer, which ConvertRun drives: Begin at the first
// point, Write for every point, End after the last. Writers write into the
// buffer in place (ResultBuffer::Room), so a format can lay out its points
// without a string of their own.
class ResultWriter {
 public:
  virtual ~ResultWriter() = default;

  // The result file's extension, with its dot (".txt").
  virtual std::string_view Extension() const = 0;

  // The encoding the result is in; ConvertRun copies the byte-order mark.
  virtual ResultEncoding Encoding() const = 0;

  // Starts a result: writes what comes before its first point (after the
  // byte-order mark, which the run writes). Called once the first point is
  // read, so a writer can be used for one result after another. False when
  // the buffer cannot be written out (errno says why).
  virtual bool Begin(ResultBuffer& /*out*/) { return true; }

  // Writes `point`, converted to `converted` (metres, both finite); its
  // name and height are in `encoding`, the point file's. False when the
  // buffer cannot be written out (errno says why).
  virtual bool Write(ResultBuffer& out, const PointRecord& point, PlanePoint converted,
                     TextEncoding encoding) = 0;

  // Writes what comes after the last point; false as Begin.
  virtual bool End(ResultBuffer& /*out*/) { return true; }
};

}  // namespace torvane
