// The texts both windows show when a conversion run fails or a chosen
// file's name cannot be told apart from another's.
#pragma once

#include <QString>

#include "batch/run_error.h"
#include "desktop/local_path.h"

namespace torvane {

// Conversion run, parameters all zero.
inline constexpr const char* kParamsNotComputedMessage = "请先计算Torvane参数！";
// Conversion run, some parameters zero and some not.
inline constexpr const char* kRunParamsIncompleteMessage =
    "X偏移量、Y偏移量和转角必须全部不为零，才能进行坐标转换。\n未写出成果表。";

// A failed conversion run, in Chinese: which file, which line and field,
// what is wrong there, and that no result table was written. The system's
// reason for a file that cannot be opened, read or written is in Chinese
// where it is a usual one (no such file, no permission, disk full, file too
// large, a folder, in use by another program), otherwise in the system's own
// words. Not for the two parameter cases, which have messages of their own.
QString RunFailureMessage(const RunError& error);

// The chosen file, or a folder on its way, shares its shown name with
// another entry of its folder: which one was meant cannot be known.
QString AmbiguousNameMessage(const AmbiguousName& name);

}  // namespace torvane
