#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "batch/conversion_run.h"
#include "batch/point_file.h"
#include "batch/point_layout.h"
#include "fuzz/check.h"
#include "fuzz/fuzz_targets.h"
#include "fuzz/temp_folder.h"
#include "report/result_table.h"

namespace torvane::fuzz {

void PointFile(const std::uint8_t* data, std::size_t size) {
  namespace fs = std::filesystem;
  const std::filesystem::path folder = Folder("PointFile");
  const fs::path points = folder / "points.csv";
  const fs::path table = folder / "table.txt";
  WriteAll(points, data, size);
  const std::string earlier = "an earlier table\r\n";
  std::ofstream(table, std::ios::binary | std::ios::trunc) << earlier;

  // Reading: every point reported once, in order, just as the usual
  // layout reads the file's lines one by one.
  std::size_t points_read = 0;
  bool read_ok = true;
  const PointLayout usual;
  auto reader = PointFileReader::Open(points.string());
  auto lines = PointFileReader::Open(points.string());
  Check(reader.ok() == lines.ok(), "a file opens once and not again");
  if (reader) {
    std::size_t last_line = 0;
    for (;;) {
      auto next = reader.value()->Next();
      // The same by way of the lines.
      std::optional<PointRecord> expected;
      std::optional<RunError> expected_error;
      std::string texts;
      for (std::string_view line;;) {
        auto more = lines.value()->NextLine(&line);
        if (!more) {
          expected_error = more.error();
          break;
        }
        if (!*more) break;
        auto parsed = ParseLayoutLine(line, lines.value()->line_number(), usual, &texts);
        if (!parsed) {
          expected_error = parsed.error();
          break;
        }
        if (*parsed) {
          expected = **parsed;
          break;
        }
      }
      if (!next) {
        read_ok = false;
        const std::size_t line = next.error().line;
        Check(line == 0 || line > last_line, "an error names a line before the last point");
        // The reader names a first point line without numbers a header.
        const bool header = next.error().kind == RunErrorKind::kHeaderLine && expected_error &&
                            expected_error->kind == RunErrorKind::kNotANumber;
        Check(expected_error && (expected_error->kind == next.error().kind || header) &&
                  expected_error->line == line,
              "the reader fails where the line parser does not");
        break;
      }
      Check(!expected_error, "the reader passes a line the line parser rejects");
      if (!next.value()) {
        Check(!expected, "the reader ends early");
        break;
      }
      const PointRecord& p = *next.value();
      Check(expected && expected->line == p.line && expected->name == p.name &&
                expected->x_text == p.x_text && expected->y_text == p.y_text &&
                expected->h_text == p.h_text && expected->x == p.x && expected->y == p.y,
            "the reader and the line parser read point " + std::to_string(p.line) + " apart");
      Check(p.line > last_line, "point lines go backwards");
      last_line = p.line;
      ++points_read;
    }
  } else {
    read_ok = false;
  }

  // Converting: either a table with one CR LF line per point, or an error
  // and the earlier table untouched.
  RunRequest request;
  request.point_path = points.string();
  request.result_path = table.string();
  auto run = ConvertRun(request, RunParams{500, 600, 0.5280590614494144}, *MakeTableWriter());
  const std::string written = ReadAll(table);
  if (run) {
    Check(read_ok, "a file that fails to read converts");
    Check(run->points == points_read, "the run and the reader count different points");
    std::size_t line_ends = 0;
    for (std::size_t at = 0; (at = written.find("\r\n", at)) != std::string::npos; at += 2) {
      ++line_ends;
    }
    Check(line_ends == run->points, "the table does not have one line per point");
  } else {
    Check(written == earlier, "a failed run touched the earlier table");
  }
  Check(FilesIn(folder) == 2, "a temporary file was left behind");
}

}  // namespace torvane::fuzz
