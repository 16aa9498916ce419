// The texts of the window's own message boxes.
#pragma once

#include <QString>

#include "desktop/chinese_ui.h"
#include "desktop/run_failure_message.h"

namespace torvane {

// Parameter button, some parameters present zero and some not.
inline constexpr const char* kCheckParamsIncompleteMessage =
    "X偏移量、Y偏移量和转角必须全部不为零，才能检查参数。\n参数未改动。";

// Memory ran out in the middle of a step.
inline constexpr const char* kOutOfMemoryMessage =
    "内存不足，这一步没有完成。\n已输入的数值保留不变。";

// A text box whose number is too large to read. `box` names the box as the
// user sees it ("X偏移量", "A点测图X坐标").
QString NumberTooLargeMessage(const QString& box, const QString& text);

// Nothing to open in the editor: no run has written a result table yet, or
// the one it wrote is gone.
QString NoResultFileMessage(const QString& result_path);

// The editor could not be started on the result table.
QString EditorFailedMessage(const QString& result_path);

}  // namespace torvane
