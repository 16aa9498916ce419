#include "workbench/point_import.h"

#include <QDir>

#include <array>
#include <cassert>
#include <map>

#include "batch/field_split.h"
#include "batch/line_rule.h"
#include "batch/point_file.h"
#include "desktop/run_failure_message.h"
#include "number/number_text.h"
#include "number/round_trip.h"

namespace torvane {
namespace {

// The texts of Xs, Ys, Xc, Yc on one line.
using CoordinateTexts = std::array<std::string, 4>;

// The coordinate texts of the lines `wanted` (1-based numbers) of the file,
// read again as ReadCommonPoints read it. A line the file no longer has
// (it changed in between) is left out.
std::map<std::size_t, CoordinateTexts> CoordinateTextsOf(const std::string& path,
                                                         const CommonPointLayout& layout,
                                                         const std::vector<CommonPoint>& wanted) {
  std::map<std::size_t, CoordinateTexts> found;
  auto opened = PointFileReader::Open(path, PointLayout{}, layout.encoding);
  if (!opened) return found;
  PointFileReader& reader = *opened.value();
  std::size_t next = 0;  // the next point of `wanted`
  std::string_view line;
  std::string texts;
  while (next < wanted.size()) {
    auto more = reader.NextLine(&line);
    if (!more || !*more) break;
    if (reader.line_number() != wanted[next].line) continue;
    CoordinateTexts coordinates;
    std::size_t count = 0;
    SplitFields(line, SeparatorOf(layout.delimiter), &texts, [&](std::string_view text) {
      if (count < layout.fields.size()) {
        const CommonField field = layout.fields[count];
        if (field != CommonField::kName && field != CommonField::kSkip) {
          coordinates[static_cast<int>(field) - static_cast<int>(CommonField::kXs)] = text;
        }
      }
      ++count;
    });
    found.emplace(wanted[next].line, std::move(coordinates));
    ++next;
  }
  return found;
}

// `text` when it reads as `value`, as the command line read it; otherwise
// the shortest text that does.
std::string TextOf(const std::string& text, double value) {
  auto read = ParseDecimal(text);
  return read && *read == value ? text : RoundTripText(value);
}

}  // namespace

Expected<std::vector<ProjectPoint>, RunError> ImportCommonPoints(const std::string& path,
                                                                 const CommonPointLayout& layout) {
  assert(path != "-");
  auto points = ReadCommonPoints(path, layout);
  if (!points) return Fail(points.error());
  if (points->empty()) return Fail(FileError(RunErrorKind::kNoPoints, path, 0));
  const std::map<std::size_t, CoordinateTexts> texts = CoordinateTextsOf(path, layout, *points);
  std::vector<ProjectPoint> rows;
  for (const CommonPoint& p : *points) {
    const auto line = texts.find(p.line);
    const CoordinateTexts none;
    const CoordinateTexts& t = line == texts.end() ? none : line->second;
    rows.push_back({p.name, PointRole::kFit, TextOf(t[0], p.survey.x), TextOf(t[1], p.survey.y),
                    TextOf(t[2], p.construction.x), TextOf(t[3], p.construction.y)});
  }
  return rows;
}

QString ImportFailureMessage(const RunError& error) {
  if (error.kind == RunErrorKind::kHeaderLine) {
    return QStringLiteral(
               "坐标文件“%1”第 %2 行“%3”像是表头，不是公共点：测图X 和 测图Y 都不是数字。\n"
               "请把“跳过开头的行数”设为 %2 后再导入。\n未导入公共点。")
        .arg(QDir::toNativeSeparators(QString::fromStdString(error.path)))
        .arg(error.line)
        .arg(QString::fromStdString(MessageExcerpt(error.field_text)));
  }
  QString message = RunFailureMessage(error);
  const QString not_written = QStringLiteral("\n未写出成果表。");
  if (message.endsWith(not_written)) message.chop(not_written.size());
  return message + QStringLiteral("\n未导入公共点。");
}

}  // namespace torvane
