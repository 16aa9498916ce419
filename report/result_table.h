// The result table the window writes: one line a point, name from column
// 1, X from column 13, Y from column 31, H from column 50, in a fixed-width
// font, in the point file's encoding.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "base/expected.h"
#include "batch/point_file.h"
#include "batch/result_writer.h"
#include "batch/text_encoding.h"
#include "number/fixed_format.h"
#include "params/transform.h"

namespace torvane {

// Result tables, in every format, end their lines as Windows does.
inline constexpr std::string_view kTableLineEnd = "\r\n";
inline constexpr std::size_t kNameColumn = 1, kXColumn = 13, kYColumn = 31, kHColumn = 50;
inline constexpr FixedPattern kXPattern{"#######.00000", 5};
inline constexpr FixedPattern kYPattern{"########.00000", 5};
inline constexpr FixedPattern kHPattern{"####.0000", 4};

// The most bytes the line of `point` takes.
std::size_t ResultLineCapacity(const PointRecord& point);

// Writes the line of `point`, converted to `converted`, at `out`, which has
// room for ResultLineCapacity(point) bytes, and returns its end. X and Y
// are rounded to 15 digits, then to five decimals; an H that is a decimal
// number is written with four decimals, any other H as its text. An item
// that cannot start at its column follows the one before after one space.
// The name and H are in the given encoding, which decides their widths.
char* WriteResultLine(char* out, const PointRecord& point, PlanePoint converted,
                      TextEncoding encoding);

// The writer of the table: each line written straight into the result
// buffer by WriteResultLine; extension ".txt", in the point file's encoding.
std::unique_ptr<ResultWriter> MakeTableWriter();

}  // namespace torvane
