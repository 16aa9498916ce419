// The window's messages for files that cannot be used: Chinese throughout
// for the usual reasons, the system's own words only for the rare ones.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "app/window_messages.h"
#include "batch/run_error.h"

namespace torvane::testing {
namespace {

TEST(WindowMessagesTest, FileFailuresAreToldInChinese) {
  const struct {
    const char* what;
    RunErrorKind kind;
    std::string detail;
    const char* message;
  } rows[] = {
      {"no such file", RunErrorKind::kCannotOpen, SystemReason(ENOENT),
       "无法打开坐标文件“p.csv”：文件或文件夹不存在。"},
      {"no access, or open in another program", RunErrorKind::kCannotOpen, SystemReason(EACCES),
       "无法打开坐标文件“p.csv”：没有访问权限，或文件正被其他程序使用。"},
      {"not permitted", RunErrorKind::kCannotWrite, SystemReason(EPERM),
       "无法写入成果表文件“p.csv”：没有操作权限。"},
      {"disk full", RunErrorKind::kCannotWrite, SystemReason(ENOSPC),
       "无法写入成果表文件“p.csv”：磁盘空间已满。"},
      {"file too large", RunErrorKind::kCannotWrite, SystemReason(EFBIG),
       "无法写入成果表文件“p.csv”：文件太大。"},
      {"a folder", RunErrorKind::kCannotWrite, SystemReason(EISDIR),
       "无法写入成果表文件“p.csv”：这是文件夹，不是文件。"},
      {"busy", RunErrorKind::kCannotWrite, SystemReason(EBUSY),
       "无法写入成果表文件“p.csv”：文件正被其他程序使用。"},
      {"point file is a folder", RunErrorKind::kCannotOpen, "it is a folder, not a file",
       "无法打开坐标文件“p.csv”：这是文件夹，不是文件。"},
      {"a folder where the result goes", RunErrorKind::kCannotWrite,
       "a folder of that name is in the way", "无法写入成果表文件“p.csv”：已有同名的文件夹。"},
      {"a link to nothing as the result", RunErrorKind::kCannotWrite, "it is a link to nothing",
       "无法写入成果表文件“p.csv”：这是指向不存在之处的链接。"},
      {"the point file as its own result", RunErrorKind::kResultIsPointFile, "",
       "成果表文件“p.csv”就是坐标文件本身，不能覆盖。"},
      {"a run cancelled from the workbench", RunErrorKind::kCancelled, "",
       "坐标文件“p.csv”的转换已取消。"},
      {"a rare reason keeps the system's words", RunErrorKind::kCannotRead, "Input/output error",
       "读取坐标文件“p.csv”时出错：Input/output error。"},
  };
  for (const auto& row : rows) {
    RunError e;
    e.kind = row.kind;
    e.path = "p.csv";
    e.detail = row.detail;
    EXPECT_EQ(RunFailureMessage(e).toStdString(), std::string(row.message) + "\n未写出成果表。")
        << row.what;
  }
}

// Files that are no point files at all, or whose first line is a header:
// told as such, with what to do (they were told as a NUL byte, as an X that
// is not a number, or as a line neither UTF-8 nor GBK).
TEST(WindowMessagesTest, FilesThatAreNotPointFilesSayWhatToDo) {
  const struct {
    const char* what;
    RunErrorKind kind;
    std::size_t line;
    std::string field, field_text, detail;
    const char* message;
  } rows[] = {
      {"a header", RunErrorKind::kHeaderLine, 1, "", "点名,X坐标,Y坐标,H", "",
       "坐标文件“p.csv”第 1 行“点名,X坐标,Y坐标,H”像是表头，不是点：X 和 Y 都不是数字。\n"
       "请删去坐标文件中的表头行后再转换，或改用命令行 torvane-cli convert --skip-lines=1 "
       "跳过它。"},
      {"a workbook", RunErrorKind::kWorkbook, 0, "", "", "",
       "坐标文件“p.csv”是电子表格工作簿，不是文本文件：请在电子表格软件中另存为“CSV "
       "(逗号分隔)”格式后再转换。"},
      {"not UTF-8 after a BOM", RunErrorKind::kBadEncoding, 3, "UTF-8", "", kEncodingByBom,
       "坐标文件“p.csv”第 3 行不是 UTF-8 编码的文字，但文件开头有 UTF-8 "
       "的字节顺序标记（BOM）。"},
      {"neither encoding", RunErrorKind::kBadEncoding, 3, "", "", "",
       "坐标文件“p.csv”第 3 行既不是 UTF-8 也不是 GBK 编码的文字。"},
      {"UTF-16, a surrogate alone", RunErrorKind::kBadEncoding, 2, "UTF-16", "B\uFFFD,1,2",
       kUtf16Unpaired,
       "坐标文件“p.csv”第 2 行“B\uFFFD,1,2”不是 UTF-16 "
       "编码的文字：有不成对的代理项（surrogate）。"},
      {"UTF-16, half a character at the end", RunErrorKind::kBadEncoding, 4, "UTF-16", "\uFFFD",
       kUtf16OddLength,
       "坐标文件“p.csv”第 4 行“\uFFFD”不是 UTF-16 "
       "编码的文字：文件在半个字符处结束（字节数为奇数）。"},
  };
  for (const auto& row : rows) {
    RunError e;
    e.kind = row.kind;
    e.path = "p.csv";
    e.line = row.line;
    e.field = row.field;
    e.field_text = row.field_text;
    e.detail = row.detail;
    EXPECT_EQ(RunFailureMessage(e).toStdString(), std::string(row.message) + "\n未写出成果表。")
        << row.what;
  }
}

// Drawings: the entity by kind, handle and line, and how to have the
// drawing converted anyway.
TEST(WindowMessagesTest, DrawingsNameTheEntityAndWhatToDo) {
  const struct {
    RunErrorKind kind;
    std::size_t line;
    std::string entity_type, handle, field_text, detail;
    const char* message;
    std::vector<BlockingKind> blocking = {};  // every entity that stops the drawing
  } rows[] = {
      {RunErrorKind::kDrawingEntity, 11, "MESH", "2F", "", "",
       "图形“s.dxf”第 11 行：实体 MESH（句柄 2F）无法转换。\n请在 CAD "
       "中将它分解（或删除）后再转换图形。"},
      {RunErrorKind::kDrawingEntity, 7, "3DSOLID", "2E", "", "",
       "图形“s.dxf”第 7 行：实体 3DSOLID（句柄 2E）是 ACIS 实体或曲面，无法转换。\n请在 CAD "
       "中将它分解到只剩直线和圆弧（实体分解为面域，面域再分解为直线），或另存一份不含它的图形，再"
       "转换。"},
      {RunErrorKind::kDrawingExtrusion, 5, "CIRCLE", "", "", "(0.6,0,0.8)",
       "图形“s.dxf”第 5 行：实体 CIRCLE位于倾斜的平面内（拉伸方向 "
       "(0.6,0,0.8)），比例不为 1 时该平面各方向的缩放不同，其形状无法保持。\n请以比例 1 "
       "转换，或在 CAD 中将它分解后再转换图形。"},
      {RunErrorKind::kDrawingProxy, 5, "ACAD_PROXY_ENTITY", "30", "", "",
       "图形“s.dxf”第 5 行：实体 ACAD_PROXY_ENTITY（句柄 "
       "30）是代理实体，只有创建它的程序能够绘制。\n请在 CAD 中将它分解后再转换图形。"},
      {RunErrorKind::kDrawingBinary, 0, "", "", "", "",
       "图形“s.dxf”是二进制 DXF：请在 CAD 中另存为 ASCII 格式的 DXF 后再转换。"},
      {RunErrorKind::kDrawingDwg, 0, "", "", "", "",
       "图形“s.dxf”是 DWG 格式：请在 CAD 中另存为 DXF 后，转换 DXF 文件。"},
      {RunErrorKind::kDrawingDamaged, 10, "LINE", "2E", "abc",
       "LINE (handle 2E): group 10 is not a number:",
       "图形“s.dxf”第 10 行不是 CAD 写出的 DXF 图形：LINE (handle 2E): group 10 is not a "
       "number:“abc”。"},
      // More than one: each kind with its first places and the rest counted.
      {RunErrorKind::kDrawingEntity,
       5,
       "MESH",
       "A0",
       "",
       "",
       "图形“s.dxf”第 5 行：实体 MESH（句柄 A0）无法转换。\n请在 CAD "
       "中将它分解（或删除）后再转换图形。\n图形中无法转换的实体，按类：\n"
       "  MESH（无法转换）：12 个，第 5 行（句柄 A0）、第 9 行（句柄 A1），另有 10 个\n"
       "  ACAD_PROXY_ENTITY（代理实体）：1 个，第 53 行\n"
       "  REGION（ACIS 实体，无法转换）：1 个，第 57 行",
       {{RunErrorKind::kDrawingEntity, "MESH", 12, {{5, "A0"}, {9, "A1"}}},
        {RunErrorKind::kDrawingProxy, "ACAD_PROXY_ENTITY", 1, {{53, ""}}},
        {RunErrorKind::kDrawingEntity, "REGION", 1, {{57, ""}}}}},
  };
  for (const auto& row : rows) {
    RunError e;
    e.kind = row.kind;
    e.path = "s.dxf";
    e.line = row.line;
    e.entity_type = row.entity_type;
    e.handle = row.handle;
    e.field_text = row.field_text;
    e.detail = row.detail;
    e.blocking = row.blocking;
    EXPECT_EQ(RunFailureMessage(e).toStdString(),
              std::string(row.message) + "\n未写出转换后的图形。");
  }
}

TEST(WindowMessagesTest, ControlBytesOfAFieldAreShownEscaped) {
  RunError e;
  e.kind = RunErrorKind::kNotANumber;
  e.path = "p.csv";
  e.line = 2;
  e.field = "X";
  e.field_text = "1\x1b[2J";
  EXPECT_EQ(RunFailureMessage(e).toStdString(),
            "坐标文件“p.csv”第 2 行的 X 坐标“1\\x1b[2J”不是数字。\n未写出成果表。");
}

}  // namespace
}  // namespace torvane::testing
