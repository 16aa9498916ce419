// One conversion run: a point file in, its result out in the format of the
// writer given, or an error that says what failed and where. The window's
// conversion button and the command line both run it.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/expected.h"
#include "batch/point_layout.h"
#include "batch/result_writer.h"
#include "batch/run_error.h"
#include "fit/height_surface.h"
#include "params/conversion_params.h"
#include "params/transform.h"

namespace torvane {

struct RunRequest {
  std::string point_path;                // "-" for standard input
  std::string result_path;               // "-" for standard output
  PointLayout layout;                    // how the point file's lines are read
  std::optional<TextEncoding> encoding;  // kUtf8 or kGbk; none: decided by the file's bytes
  // The result's encoding, for a writer that writes in the point file's
  // (ResultEncoding::kAsPointFile): kUtf8, kUtf8WithBom (a UTF-8 byte-order
  // mark first, for spreadsheets) or kGbk; names, codes and heights are
  // written in it, a text that has no code in GBK refused (kBadEncoding,
  // detail kEncodingForResult). None: the point file's own, its UTF-8
  // byte-order mark or its UTF-16 kept.
  std::optional<TextEncoding> result_encoding;
  Direction direction = Direction::kSurveyToConstruction;
  // The most fields the point file may have in all (kTooManyFields past
  // them, before anything is written); none: no limit.
  std::optional<std::size_t> field_limit;
  // After the whole file has been read and checked, and before anything is
  // written, refuse parameters that are not all non-zero:
  // kParamsNotComputed when all are zero, kParamsIncomplete when some are.
  bool refuse_unset_params = false;
  // H0, the elevation of a site's ±0.000 in metres, as text ParseDecimal
  // reads: every height is shifted by it, exactly in decimal, to
  // construction H = survey H - H0 and back to survey H = construction
  // H + H0; the writers get the shifted height's text. A point without a
  // height keeps none. None: heights as written.
  std::optional<std::string> height_offset;
  // A fitted height model, instead of height_offset: every height moves by
  // d(X, Y) at the point's survey X, Y (its own going to construction, the
  // converted one coming back): construction H = survey H − d(X, Y), survey
  // H = construction H + d(X, Y), written to four decimals (0.1 mm). A
  // point without a height keeps none.
  std::optional<HeightSurface> height_model;
  // With height_model: the fit points' hull (HeightCoverage), where the
  // model is known. A point with a height beyond kCoverageMargin of it is
  // converted the same way and counted in RunSummary.
  std::vector<PlanePoint> height_hull;
  // Called now and then (not for every point: at most every few thousand
  // points, kProgressPoints, and once at the end of reading) with the share
  // of the run done, 0 to 1, by the bytes of the point file read (0 for
  // standard input or a stream, whose size is not known; a run that reads
  // the file twice, for field_limit or refuse_unset_params, counts the
  // first reading as the first half). Returning false cancels the run:
  // kCancelled, and nothing is written (an earlier result stays as it
  // was). None: the run goes to its end unasked.
  std::function<bool(double share)> progress;
};

// The points between two calls of RunRequest::progress.
inline constexpr std::size_t kProgressPoints = 4096;

struct RunSummary {
  std::size_t points = 0;
  // The point file read as UTF-8 though it is valid GBK too and its names
  // did not tell which (PointFileReader::encoding_undecided).
  bool encoding_undecided = false;
  // With a height model: the points with a height beyond its coverage, and
  // the names (UTF-8; "line N" for a point without one) of the first
  // kOutsideNamed of them.
  std::size_t outside_coverage = 0;
  std::vector<std::string> outside_names;
};
inline constexpr std::size_t kOutsideNamed = 10;

// Converts every point of the point file and has `writer` write the result,
// all or nothing: a result file is replaced only by a complete result that
// has reached the disk (see os/pending_file.h), and standard output, or a
// device or pipe the result path names, gets the result only once all of
// it is written to a temporary file. On any failure nothing partial is left
// and an earlier result stays as it was.
// Rejects, besides what reading rejects: a result path that is a folder, a
// link to nothing, or the point file itself (kResultIsPointFile); a
// converted X or Y beyond the range of doubles; a failed write; with a
// height offset, a height that is not a number (kNotANumber, or
// kNumberTooLarge, field "H") and a shifted one beyond the range of
// doubles (kResultOutOfRange, field "H"), and the same with a height
// model; kCancelled when the progress
// callback returns false.
Expected<RunSummary, RunError> ConvertRun(const RunRequest& request, const RunParams& params,
                                          ResultWriter& writer);

}  // namespace torvane
