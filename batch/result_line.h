// One line of the result table: name from column 1, X from column 13, Y
// from column 31, H from column 50, in a fixed-width font.
#pragma once

#include <string>
#include <string_view>

#include "batch/text_encoding.h"
#include "params/expected.h"
#include "params/fixed_format.h"
#include "params/transform.h"

namespace torvane {

inline constexpr std::size_t kNameColumn = 1, kXColumn = 13, kYColumn = 31, kHColumn = 50;
inline constexpr FixedPattern kXPattern{"#######.00000", 5};
inline constexpr FixedPattern kYPattern{"########.00000", 5};
inline constexpr FixedPattern kHPattern{"####.0000", 4};

// The most bytes the line of a point with these name and H texts takes.
std::size_t ResultLineCapacity(std::string_view name, std::string_view h_text);

// Writes the line for a converted point at `out`, which has room for
// ResultLineCapacity(name, h_text) bytes, and returns its end.
char* WriteResultLine(char* out, std::string_view name, PlanePoint converted,
                      std::string_view h_text, TextEncoding encoding);

// Appends the line for a converted point to `out`, ended with CR LF. X and Y
// are rounded to 15 digits, then to five decimals; an H that is a decimal
// number is written with four decimals, any other H as its text. An item
// that cannot start at its column follows the one before after one space.
// The name and H are in the given encoding, which decides their widths.
void AppendResultLine(std::string& out, std::string_view name, PlanePoint converted,
                      std::string_view h_text, TextEncoding encoding);

}  // namespace torvane
