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
