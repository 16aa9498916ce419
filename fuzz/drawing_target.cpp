#include <charconv>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "drawing/drawing_run.h"
#include "drawing/dxf_groups.h"
#include "fuzz/check.h"
#include "fuzz/fuzz_targets.h"
#include "fuzz/temp_folder.h"
#include "os/file_system.h"

namespace torvane::fuzz {
namespace {

namespace fs = std::filesystem;

// A site turned a little over 30°, moved, scaled, with heights shifted.
const RunParams kSite{500, 600, 0.5280590614494144, 1.0002};
const RunParams kIdentity{0, 0, 0, 1};

struct Group {
  int code;
  std::string value;
};

// The groups of a file the converter wrote, values without their blanks.
std::vector<Group> GroupsOf(const fs::path& path) {
  std::vector<Group> groups;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenFile(path, "rb"), &std::fclose);
  Check(file != nullptr, "a written drawing cannot be opened");
  DxfGroupReader reader(file.get());
  DxfGroup g;
  while (reader.Next(&g) == DxfGroupReader::Status::kGroup) {
    groups.push_back({g.code, std::string(TrimmedValue(g.value))});
  }
  return groups;
}

bool IsNumber(const std::string& text) {
  double v;
  const char* begin = text.data() + (!text.empty() && text[0] == '+');
  auto [ptr, ec] = std::from_chars(begin, text.data() + text.size(), v);
  return ec == std::errc() && ptr == text.data() + text.size();
}

// What the motion alone can make a conversion fail with: a number beyond
// the range of doubles, a height that cannot be shifted.
bool MotionFailure(const RunError& e) {
  return e.kind == RunErrorKind::kResultOutOfRange ||
         ((e.kind == RunErrorKind::kNotANumber || e.kind == RunErrorKind::kNumberTooLarge) &&
          e.field == "z");
}

Expected<DrawingSummary, RunError> Convert(const fs::path& from, const fs::path& to,
                                           const RunParams& params, Direction direction,
                                           std::optional<std::string> height_offset = "1.25") {
  DrawingRequest request;
  request.drawing_path = from.string();
  request.result_path = to.string();
  request.direction = direction;
  request.height_offset = std::move(height_offset);
  request.heights = DrawingHeights::kMoved;
  return ConvertDrawing(request, params);
}

}  // namespace

void Drawing(const std::uint8_t* data, std::size_t size) {
  const std::filesystem::path folder = Folder("Drawing");
  const fs::path drawing = folder / "site.dxf";
  const fs::path result = folder / "result.dxf";
  const fs::path back = folder / "back.dxf";
  WriteAll(drawing, data, size);
  const std::string earlier = "an earlier result\r\n";
  WriteAll(result, earlier.data(), earlier.size());
  fs::remove(back);

  // Parameters that move nothing give the drawing back byte for byte.
  auto same = Convert(drawing, result, kIdentity, Direction::kSurveyToConstruction, std::nullopt);
  if (same) {
    Check(ReadAll(result) == ReadAll(drawing), "moving nothing changed the drawing");
    WriteAll(result, earlier.data(), earlier.size());
  }

  // Converted: all or nothing; a failure writes nothing, and where moving
  // nothing succeeds only the motion's own failures are met.
  auto run = Convert(drawing, result, kSite, Direction::kSurveyToConstruction);
  if (!run) {
    Check(ReadAll(result) == earlier, "a failed run touched the earlier result");
    Check(FilesIn(folder) == 2, "a failed run left a file behind");
    Check(!same || MotionFailure(run.error()),
          "a drawing that converts unmoved fails to convert: " + Describe(run.error()));
    return;
  }
  Check(same.ok(), "a drawing that fails to convert unmoved converts");

  // Back with the inverse: the same groups as the result, each either the
  // same text or a number in both.
  auto returned = Convert(result, back, kSite, Direction::kConstructionToSurvey);
  if (!returned) {
    Check(MotionFailure(returned.error()),
          "a converted drawing fails to convert back: " + Describe(returned.error()));
    return;
  }
  Check(returned->entities == run->entities, "converted back, other entities are converted");
  const std::vector<Group> there = GroupsOf(result), again = GroupsOf(back);
  Check(there.size() == again.size(), "converted back, the drawing has other groups");
  for (std::size_t i = 0; i < there.size(); ++i) {
    Check(there[i].code == again[i].code,
          "converted back, group " + std::to_string(i) + " has another code");
    Check(
        there[i].value == again[i].value || (IsNumber(there[i].value) && IsNumber(again[i].value)),
        "converted back, group " + std::to_string(i) + " changed text that is no number");
  }
}

}  // namespace torvane::fuzz
