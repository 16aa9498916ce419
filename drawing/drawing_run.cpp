#include "drawing/drawing_run.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <unordered_set>
#include <vector>

#include "batch/kept_input.h"
#include "batch/point_file.h"
#include "batch/result_buffer.h"
#include "batch/result_path.h"
#include "batch/result_target.h"
#include "drawing/dxf_blockers.h"
#include "drawing/dxf_groups.h"
#include "drawing/dxf_plan.h"
#include "os/file_system.h"
#include "os/pending_file.h"

namespace torvane {
namespace {

namespace fs = std::filesystem;

// The progress callback is asked after every this many bytes read.
constexpr std::uint64_t kProgressBytes = 1 << 22;
constexpr std::size_t kCopyBytes = 1 << 20;

bool EndsWithNoCase(std::string_view text, std::string_view end) {
  if (text.size() < end.size()) return false;
  text = text.substr(text.size() - end.size());
  for (std::size_t i = 0; i < end.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != end[i]) return false;
  }
  return true;
}

// A drawing's first bytes tell a binary DXF and a DWG drawing (whose
// version "AC1015" and the like comes first) from an ASCII DXF.
Expected<void, RunError> CheckKind(std::FILE* file, const std::string& path) {
  char start[22] = {};
  const std::size_t got = std::fread(start, 1, sizeof start, file);
  const std::string_view head(start, got);
  if (head.substr(0, 18) == "AutoCAD Binary DXF") {
    return Fail(FileError(RunErrorKind::kDrawingBinary, path, 0));
  }
  if (got >= 6 && head.substr(0, 4) == "AC10" &&
      std::isdigit(static_cast<unsigned char>(start[4])) &&
      std::isdigit(static_cast<unsigned char>(start[5]))) {
    return Fail(FileError(RunErrorKind::kDrawingDwg, path, 0));
  }
  if (!SeekTo(file, 0)) {
    RunError e = FileError(RunErrorKind::kCannotRead, path, 0);
    e.detail = SystemReason(errno);
    return Fail(std::move(e));
  }
  return {};
}

enum class Section { kNone, kHeader, kTables, kBlocks, kEntities, kOther };

Section SectionNamed(std::optional<std::string_view> name) {
  if (!name) return Section::kOther;
  if (*name == "HEADER") return Section::kHeader;
  if (*name == "TABLES") return Section::kTables;
  if (*name == "BLOCKS") return Section::kBlocks;
  if (*name == "ENTITIES") return Section::kEntities;
  return Section::kOther;
}

// A dimension's block ("*D12"), drawn in world coordinates.
bool IsDimensionBlock(std::optional<std::string_view> name) {
  return name && name->size() >= 2 && (*name)[0] == '*' && ((*name)[1] == 'D' || (*name)[1] == 'd');
}

using NameSet = std::unordered_set<std::string>;

// The names of the blocks that the dimensions of model space (DIMENSION,
// ARC_DIMENSION, LARGE_RADIAL_DIMENSION) are drawn with: those blocks hold
// world coordinates. The blocks of the dimensions of paper space and of
// block definitions do not. The drawing is read for
// them once, group by group, up to the end of its ENTITIES section.
NameSet WorldDimensionBlocks(std::FILE* file) {
  NameSet names;
  DxfGroupReader reader(file);
  DxfGroup group;
  Section section = Section::kNone;
  bool in_section_start = false, in_dimension = false, paper = false;
  std::string name;
  auto end_unit = [&] {
    if (in_dimension && !paper && section == Section::kEntities && !name.empty()) {
      names.insert(name);
    }
  };
  while (reader.Next(&group) == DxfGroupReader::Status::kGroup) {
    const std::string_view value = TrimmedValue(group.value);
    if (group.code == 0) {
      end_unit();
      in_section_start = value == "SECTION";
      in_dimension =
          value == "DIMENSION" || value == "ARC_DIMENSION" || value == "LARGE_RADIAL_DIMENSION";
      paper = false;
      name.clear();
      if (value == "EOF" || (value == "ENDSEC" && section == Section::kEntities)) break;
      if (value == "ENDSEC") section = Section::kNone;
    } else if (group.code == 2 && in_section_start) {
      section = SectionNamed(value);
    } else if (group.code == 2 && in_dimension) {
      name = value;
    } else if (group.code == 67 && in_dimension) {
      paper = value == "1";
    }
  }
  end_unit();
  return names;
}

// A drawing that breaks the structure of DXF at `line`: `what` it found there.
RunError Damaged(std::uint64_t line, std::string what, std::string_view text = {}) {
  RunError e;
  e.kind = RunErrorKind::kDrawingDamaged;
  e.line = line;
  e.detail = std::move(what);
  e.field_text = std::string(text);
  return e;
}

// A group that stands outside any section (its code and text) at `line`.
RunError OutsideSection(std::uint64_t line, int code, std::string_view text) {
  return Damaged(line,
                 "group " + std::to_string(code) +
                     " stands outside any section (a section starts with 0 SECTION):",
                 text);
}

// Walks a drawing unit by unit, converting what is in model space. The
// drawing is read by its structure: sections, each "0 SECTION", "2 NAME",
// its units, "0 ENDSEC", then "0 EOF"; comments (999) anywhere between. A
// unit that breaks it (a section's start lost, a section not ended, a file
// that is no drawing at all) makes the drawing damaged, at its line.
class DrawingConverter {
 public:
  // `file`, the drawing at `path` being read, is read a second time from
  // its start for WorldDimensionBlocks when it has dimension blocks (a
  // drawing without needs no second reading), then put back where it was.
  DrawingConverter(const DrawingMotion& motion, std::FILE* file, const std::string& path,
                   DrawingSummary* summary)
      : motion_(motion), file_(file), path_(path), summary_(summary) {}

  Expected<void, RunError> Convert(DxfUnit& unit) {
    if (auto sound = CheckStructure(unit); !sound) return sound;
    const std::string_view type = unit.Type();
    if (unit.code(0) != 0) return {};
    if (type == "SECTION") {
      section_ = SectionNamed(unit.Find(2));
      if (section_ == Section::kHeader) return ConvertExtents(unit, motion_);
      return {};
    }
    if (type == "ENDSEC") {
      section_ = Section::kNone;
      return {};
    }
    switch (section_) {
      case Section::kTables:
        if (type == "VPORT") return ConvertActiveView(unit, motion_);
        return {};
      case Section::kBlocks:
        if (type == "BLOCK") {
          in_dimension_block_ = false;
          if (IsDimensionBlock(unit.Find(2))) {
            if (!world_blocks_) {
              std::uint64_t at = 0;
              if (!PositionIn(file_, &at) || !SeekTo(file_, 0)) return Fail(ReadFailure());
              world_blocks_ = WorldDimensionBlocks(file_);
              if (std::ferror(file_) || !SeekTo(file_, at)) return Fail(ReadFailure());
            }
            in_dimension_block_ = world_blocks_->count(std::string(*unit.Find(2))) > 0;
          }
          sequence_ = DxfSequence{};
          return {};
        }
        if (type == "ENDBLK") {
          in_dimension_block_ = false;
          return {};
        }
        if (!in_dimension_block_) return {};
        ++summary_->entities;
        return ConvertEntity(unit, motion_, &sequence_);
      case Section::kEntities:
        ++summary_->entities;
        return ConvertEntity(unit, motion_, &sequence_);
      default:
        return {};
    }
  }

  // After the last unit, the file's end at `line` (the line after its
  // last): a drawing ends with its 0 EOF, which `at_eof` says was read.
  Expected<void, RunError> CheckEnd(bool at_eof, std::uint64_t line) const {
    if (at_eof) return {};
    if (line == 1) return Fail(Damaged(line, "the file is empty"));
    if (in_section_) {
      return Fail(Damaged(line, "the file ends in the section that starts on line " +
                                    std::to_string(section_line_) +
                                    ", without 0 ENDSEC and 0 EOF: it is cut short"));
    }
    return Fail(Damaged(line, "the file ends without 0 EOF: it is cut short"));
  }

 private:
  RunError ReadFailure() const {
    RunError e = FileError(RunErrorKind::kCannotRead, path_, 0);
    e.detail = SystemReason(errno);
    return e;
  }

  Expected<void, RunError> CheckStructure(const DxfUnit& unit) {
    // A unit's groups after its group 0 (the first unit's from its first):
    // between sections only comments stand.
    const bool between = unit.code(0) != 0 || unit.Type() == "ENDSEC" || unit.Type() == "EOF";
    for (std::size_t i = unit.code(0) != 0 ? 0 : 1; between && i < unit.size(); ++i) {
      if (unit.code(i) != 999)
        return Fail(OutsideSection(unit.line(i), unit.code(i), unit.text(i)));
    }
    if (unit.code(0) != 0) return {};
    const std::string_view type = unit.Type();
    const std::uint64_t line = unit.line(0);
    if (type == "SECTION") {
      if (in_section_) {
        return Fail(Damaged(line, "a section starts inside the section that starts on line " +
                                      std::to_string(section_line_) +
                                      " (its 0 ENDSEC is missing)"));
      }
      if (unit.size() < 2 || unit.code(1) != 2) {
        return Fail(Damaged(line, "a section without its name (0 SECTION, then 2 and the name)"));
      }
      in_section_ = true;
      section_line_ = line;
    } else if (type == "ENDSEC") {
      if (!in_section_) return Fail(Damaged(line, "0 ENDSEC ends no section"));
      in_section_ = false;
    } else if (type == "EOF") {
      if (in_section_) {
        return Fail(Damaged(line, "0 EOF comes in the section that starts on line " +
                                      std::to_string(section_line_) +
                                      " (its 0 ENDSEC is missing)"));
      }
    } else if (!in_section_) {
      return Fail(Damaged(line,
                          "an entity stands outside any section (a section starts with 0 "
                          "SECTION):",
                          type));
    }
    return {};
  }

  const DrawingMotion& motion_;
  std::FILE* file_;
  const std::string& path_;
  std::optional<NameSet> world_blocks_;  // read when the first dimension block comes
  DrawingSummary* summary_;
  Section section_ = Section::kNone;
  bool in_section_ = false;
  std::uint64_t section_line_ = 0;  // the line of the open section's 0 SECTION
  bool in_dimension_block_ = false;
  DxfSequence sequence_;
};

}  // namespace

bool IsDrawingName(std::string_view path) { return EndsWithNoCase(path, ".dxf"); }

bool IsDwgName(std::string_view path) { return EndsWithNoCase(path, ".dwg"); }

bool IsDrawingFileName(std::string_view path) { return IsDrawingName(path) || IsDwgName(path); }

std::string DrawingResultPathFor(std::string_view drawing_path) {
  const std::string_view stem = FileStem(drawing_path);
  std::string result(drawing_path.substr(0, stem.data() - drawing_path.data()));
  result += stem;
  result += kDrawingResultSuffix;
  result += ".dxf";
  return result;
}

std::string DrawingResultPathIn(std::string_view folder, std::string_view drawing_path) {
  const std::size_t separator = drawing_path.find_last_of("/\\");
  const std::string_view name =
      separator == std::string_view::npos ? drawing_path : drawing_path.substr(separator + 1);
  std::string result(folder);
  if (!result.empty() && result.back() != '/' && result.back() != '\\') result += '/';
  result += DrawingResultPathFor(name);
  return result;
}

Expected<DrawingSummary, RunError> ConvertDrawing(const DrawingRequest& request,
                                                  const RunParams& params) {
  const std::string& path = request.drawing_path;
  if (IsDwgName(path)) return Fail(FileError(RunErrorKind::kDrawingDwg, path, 0));
  FileHandle file(OpenFile(PathFromUtf8(path), "rb"));
  if (!file) {
    RunError e = FileError(RunErrorKind::kCannotOpen, path, 0);
    e.detail = KindOf(PathFromUtf8(path)) == PathKind::kFolder ? kIsAFolder : SystemReason(errno);
    return Fail(std::move(e));
  }
  // A pipe, a process substitution or a device is read once, as a point
  // file is: the drawing is read from a copy, which a second reading and
  // the check of its first bytes can go back in.
  if (KindOf(PathFromUtf8(path)) == PathKind::kStream) {
    auto kept = KeepInTemporaryFile(file.get(), KeptInput::kDrawing,
                                    FileError(RunErrorKind::kCannotRead, path, 0));
    if (!kept) return Fail(kept.error());
    file.reset(*kept);
  }
  if (auto kind = CheckKind(file.get(), path); !kind) return Fail(kind.error());
  // A file is written where it will replace the result when complete; a
  // device, a pipe or a terminal gets the result only once all of it is in
  // a temporary file, and is never replaced.
  auto target = ResolveResultTarget(path, request.result_path);
  if (!target) return Fail(target.error());
  std::uint64_t size = 0;
  {
    std::error_code ec;
    size = fs::file_size(PathFromUtf8(path), ec);
    if (ec) size = 0;
  }

  auto sink = ResultSink::Open(*target, request.result_path);
  if (!sink) return Fail(sink.error());
  ResultBuffer out(sink->stream());
  bool written = true;
  // Most runs are a line or two: copied straight into the buffer's room.
  auto write = [&](const char* bytes, std::size_t n) {
    char* room = out.Room(n);
    if (room == nullptr) {
      written = false;
      return;
    }
    std::memcpy(room, bytes, n);
    out.Used(room + n);
  };

  // Heights move only when asked, and never those of a plan, which would
  // be lifted off its plane.
  DrawingSummary summary;
  std::optional<std::string> height_offset;
  if (request.height_offset && *request.height_offset != "0") {
    summary.heights = DrawingHeightsDone::kNotAsked;
    if (request.heights == DrawingHeights::kMoved) {
      const bool plan = IsPlanDrawing(file.get());
      if (std::ferror(file.get()) || !SeekTo(file.get(), 0)) {
        RunError e = FileError(RunErrorKind::kCannotRead, path, 0);
        e.detail = SystemReason(errno);
        return Fail(std::move(e));
      }
      summary.heights = plan ? DrawingHeightsDone::kPlan : DrawingHeightsDone::kMoved;
      if (!plan) height_offset = request.height_offset;
    }
  }
  const DrawingMotion motion(params, request.direction, request.axis, height_offset);
  DrawingConverter converter(motion, file.get(), path, &summary);
  DxfGroupReader reader(file.get());
  DxfUnit unit;
  DxfGroup group;
  std::uint64_t next_tell = kProgressBytes;
  bool at_eof_group = false;
  std::uint64_t next_line = 1;  // the line after the last group read
  auto located = [&](RunError e) {
    e.path = path;
    return e;
  };
  // The entities that stop the drawing: once one is found, the drawing is
  // read to its end to name them all, and nothing more is written.
  DrawingBlockers blockers;
  // The unit read so far, converted and written.
  auto finish_unit = [&]() -> Expected<void, RunError> {
    if (unit.size() == 0) return {};
    if (auto converted = converter.Convert(unit); !converted) {
      if (!DrawingBlockers::Blocks(converted.error())) return Fail(located(converted.error()));
      blockers.Add(located(converted.error()));
    }
    if (!blockers.empty()) {
      unit.Clear();
      return {};
    }
    unit.WriteOut(write);
    if (!written) return Fail(WriteFailure(request.result_path, SystemReason(errno)));
    unit.Clear();
    return {};
  };
  for (;;) {
    const DxfGroupReader::Status status = reader.Next(&group);
    if (status == DxfGroupReader::Status::kEnd) break;
    if (status == DxfGroupReader::Status::kReadFailed) {
      RunError e = FileError(RunErrorKind::kCannotRead, path, 0);
      e.detail = SystemReason(errno);
      return Fail(std::move(e));
    }
    if (status != DxfGroupReader::Status::kGroup) {
      RunError e = FileError(RunErrorKind::kDrawingDamaged, path, reader.bad_line());
      if (status == DxfGroupReader::Status::kOddLine) {
        e.detail = "the file ends after a group code, without its value";
      } else if (status == DxfGroupReader::Status::kLongLine) {
        e.detail = "a line is longer than " + std::to_string(kMaxLineBytes) + " bytes";
      } else {
        e.detail = "the group code is not a whole number";
      }
      return Fail(std::move(e));
    }
    if (group.code == 0) {
      if (auto done = finish_unit(); !done) return Fail(done.error());
      if (reader.bytes_read() >= next_tell && request.progress) {
        next_tell = reader.bytes_read() + kProgressBytes;
        const double share = size > 0 ? static_cast<double>(reader.bytes_read()) / size : 0.0;
        if (!request.progress(share < 1 ? share : 1)) {
          return Fail(FileError(RunErrorKind::kCancelled, path, 0));
        }
      }
    }
    // Before the first group 0 only comments stand: a file that is no
    // drawing is refused as soon as that shows, not held whole first.
    if (group.code != 0 && group.code != 999 && (unit.size() == 0 || unit.code(0) != 0)) {
      return Fail(located(OutsideSection(group.line, group.code, TrimmedValue(group.value))));
    }
    unit.Add(group);
    next_line = group.line + 2;
    if (group.code == 0 && TrimmedValue(group.value) == "EOF") {
      at_eof_group = true;
      break;
    }
  }
  if (auto done = finish_unit(); !done) return Fail(done.error());
  if (auto ended = converter.CheckEnd(at_eof_group, next_line); !ended) {
    return Fail(located(ended.error()));
  }
  if (!blockers.empty()) return Fail(blockers.Refusal());
  if (at_eof_group) {
    // What follows the drawing's end is copied as it is.
    const std::string_view unread = reader.TakeUnread();
    write(unread.data(), unread.size());
    std::vector<char> block(kCopyBytes);
    std::size_t got;
    while ((got = std::fread(block.data(), 1, block.size(), file.get())) > 0) {
      write(block.data(), got);
    }
    if (std::ferror(file.get())) {
      RunError e = FileError(RunErrorKind::kCannotRead, path, 0);
      e.detail = SystemReason(errno);
      return Fail(std::move(e));
    }
  }
  if (request.progress && !request.progress(1.0)) {
    return Fail(FileError(RunErrorKind::kCancelled, path, 0));
  }
  if (!written || !out.Flush() || std::fflush(sink->stream()) != 0) {
    return Fail(WriteFailure(request.result_path, SystemReason(errno)));
  }
  // The drawing is closed first: Windows renames nothing onto an open file.
  file.reset();
  if (auto finished = sink.value().Finish("drawing"); !finished) return Fail(finished.error());
  return summary;
}

}  // namespace torvane
