// H0 as the workbench's box holds it: one rule for the box's colour, saving
// and converting, the one the command line's --dh and the runs follow.
#pragma once

#include <QString>

#include <optional>
#include <string>

#include "base/expected.h"

namespace torvane {

// The H0 a run takes for the box's text, metres (HeightOffsetText: "."
// reads 0, as the windows write zero); none for an empty box, which leaves
// heights as written. Rejects, in Chinese, quoting the text: one that is not
// a number, and one with a digit past the last exact decimal.
Expected<std::optional<std::string>, QString> HeightOffsetOfBox(const QString& text);

}  // namespace torvane
