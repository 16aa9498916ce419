#include "site/conversion_plan.h"

#include <algorithm>
#include <cassert>

#include "batch/conversion_run.h"
#include "batch/result_path.h"
#include "drawing/drawing_run.h"

namespace torvane {

Expected<std::vector<FileConversion>, PlanRefusal> PlanConversion(
    std::span<const std::string> files, const ResultPlace& place, std::string_view extension) {
  assert(std::none_of(files.begin(), files.end(), [](const auto& f) { return f.empty(); }));
  const bool to_standard_output = place.kind == ResultPlace::kFile && place.path == "-";
  if (place.kind == ResultPlace::kFolder &&
      std::find(files.begin(), files.end(), "-") != files.end()) {
    return Fail(PlanRefusal{PlanRefusal::kStandardInputToFolder, 0, {}, {}});
  }
  if (place.kind == ResultPlace::kFile && !to_standard_output && files.size() > 1) {
    return Fail(PlanRefusal{PlanRefusal::kOneResultForMany, files.size(), {}, {}});
  }
  std::vector<FileConversion> plan;
  std::vector<std::string> results;  // as FindResultClash takes them
  for (const std::string& path : files) {
    // A .dwg's result is never written: the run refuses the drawing first.
    const bool dxf = IsDrawingName(path);
    if (dxf && to_standard_output) {
      return Fail(PlanRefusal{PlanRefusal::kDrawingToStandardOutput, 0, {}, {}});
    }
    std::string result;
    switch (place.kind) {
      case ResultPlace::kFile:
        result = place.path;
        break;
      case ResultPlace::kFolder:
        result =
            dxf ? DrawingResultPathIn(place.path, path) : ResultPathIn(place.path, path, extension);
        break;
      case ResultPlace::kBeside:
        result = dxf           ? DrawingResultPathFor(path)
                 : path == "-" ? path
                               : ResultPathFor(path, extension);
        break;
    }
    results.push_back(result);
    plan.push_back({path, std::move(result), IsDrawingFileName(path)});
  }
  // Results that would replace each other, or a point file before it is
  // read, are refused before anything is written.
  if (const auto clash = FindResultClash({files.begin(), files.end()}, results)) {
    return Fail(PlanRefusal{PlanRefusal::kClash, 0, *clash, results[clash->second]});
  }
  return plan;
}

Expected<FileConverted, RunError> ConvertFile(const FileConversion& file,
                                              const ConversionSettings& settings,
                                              ResultWriter& writer,
                                              const std::function<bool(double)>& progress) {
  // What a drawing's request and a point file's share.
  const auto fill = [&](auto& request) {
    request.direction = settings.direction;
    request.height_offset = settings.height_offset;
    request.progress = progress;
  };
  if (file.drawing) {
    DrawingRequest drawing;
    drawing.drawing_path = file.path;
    drawing.result_path = file.result_path;
    drawing.axis = settings.axis;
    drawing.heights = settings.drawing_heights;
    fill(drawing);
    auto run = ConvertDrawing(drawing, settings.params);
    if (!run) return Fail(run.error());
    return FileConverted{run->entities, false, run->heights, 0, {}};
  }
  RunRequest request;
  request.point_path = file.path;
  request.result_path = file.result_path;
  request.layout = settings.layout;
  request.encoding = settings.encoding;
  request.result_encoding = settings.result_encoding;
  fill(request);
  request.height_model = settings.height_model;
  request.height_hull = settings.height_hull;
  auto run = ConvertRun(request, settings.params, writer);
  if (!run) return Fail(run.error());
  return FileConverted{static_cast<std::uint64_t>(run->points), run->encoding_undecided,
                       DrawingHeightsDone::kNoOffset, run->outside_coverage, run->outside_names};
}

}  // namespace torvane
