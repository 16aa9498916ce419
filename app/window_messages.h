// The texts of the window's own message boxes.
#pragma once

#include <QString>

#include "app/local_path.h"
#include "batch/run_error.h"

namespace torvane {

// The caption of every box that has no title of its own.
inline constexpr const char* kAppTitle = "Torvane";

// Conversion run, parameters all zero.
inline constexpr const char* kParamsNotComputedMessage = "请先计算Torvane参数！";
// Conversion run, some parameters zero and some not.
inline constexpr const char* kRunParamsIncompleteMessage =
    "X偏移量、Y偏移量和转角必须全部不为零，才能进行坐标转换。\n未写出成果表。";
// Parameter button, some parameters present zero and some not.
inline constexpr const char* kCheckParamsIncompleteMessage =
    "X偏移量、Y偏移量和转角必须全部不为零，才能检查参数。\n参数未改动。";

// Memory ran out in the middle of a step.
inline constexpr const char* kOutOfMemoryMessage =
    "内存不足，这一步没有完成。\n已输入的数值保留不变。";

// A failed conversion run, in Chinese: which file, which line and field,
// what is wrong there, and that no result table was written. The system's
// reason for a file that cannot be opened, read or written is in Chinese
// where it is a usual one (no such file, no permission, disk full, file too
// large, a folder, in use by another program), otherwise in the system's own
// words. Not for the two parameter cases, which have messages of their own.
QString RunFailureMessage(const RunError& error);

// A text box whose number is too large to read. `box` names the box as the
// user sees it ("X偏移量", "A点测图X坐标").
QString NumberTooLargeMessage(const QString& box, const QString& text);

// Nothing to open in the editor: no run has written a result table yet, or
// the one it wrote is gone.
QString NoResultFileMessage(const QString& result_path);

// The editor could not be started on the result table.
QString EditorFailedMessage(const QString& result_path);

// The chosen file, or a folder on its way, shares its shown name with
// another entry of its folder: which one was meant cannot be known.
QString AmbiguousNameMessage(const AmbiguousName& name);

}  // namespace torvane
