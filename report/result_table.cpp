#include "report/result_table.h"

#include <algorithm>
#include <cstring>

#include "number/words.h"

namespace torvane {
namespace {

static_assert(kXPattern.decimals <= kMaxFixedDecimals && kYPattern.decimals <= kMaxFixedDecimals &&
              kHPattern.decimals <= kMaxFixedDecimals);

constexpr std::string_view kSpaces = "                                                  ";
static_assert(kSpaces.size() >= kHColumn, "enough spaces to reach any column");

// Copies `text` to `out`; an empty view may have no data at all.
char* Put(char* out, std::string_view text) { return CopyBytes(out, text.data(), text.size()); }

// Writes what is needed so that the next item starts at `column`, the
// byte where that column is, or, when the line has already reached it, one
// space so that items never touch. The next item's place is had from the
// line's start, not from the length of the item before, so that lines can
// be laid out ahead of their numbers' digits.
char* MoveTo(char* out, char* column) {
  if (out < column) {
    // A fixed-size copy of spaces, of which the first column - out count;
    // the line's room has space for the rest.
    std::memcpy(out, kSpaces.data(), kSpaces.size());
    return column;
  }
  *out++ = ' ';
  return out;
}

}  // namespace

std::size_t ResultLineCapacity(const PointRecord& point) {
  // Spaces up to the H column at most, two numbers, the longer of the H
  // text and its number, the separating spaces and the line end.
  return point.name.size() + kHColumn + 2 * kMaxFixedText +
         std::max(point.h_text.size(), kMaxFixedText) + 3 + kTableLineEnd.size();
}

char* WriteResultLine(char* out, const PointRecord& point, PlanePoint converted,
                      TextEncoding encoding) {
  [[maybe_unused]] const char* const room_end = out + ResultLineCapacity(point);
  // Where a column is: the name takes its bytes but its display width in
  // columns; after it, a byte is a column.
  const auto name_width = static_cast<std::ptrdiff_t>(
      point.ascii ? point.name.size() : DisplayWidth(point.name, encoding));
  char* const after_name = Put(out, point.name);
  auto column = [&](std::size_t c) {
    return after_name + (static_cast<std::ptrdiff_t>(c - kNameColumn) - name_width);
  };
  out = MoveTo(after_name, column(kXColumn));
  out = WriteRound15Fixed(out, room_end, converted.x, kXPattern);
  out = MoveTo(out, column(kYColumn));
  out = WriteRound15Fixed(out, room_end, converted.y, kYPattern);
  out = MoveTo(out, column(kHColumn));
  char* h = point.h_decimal
                ? WriteShortDecimalFixed(out, room_end, *point.h_decimal, point.h_text, kHPattern)
                : nullptr;
  if (h == nullptr) h = WriteDecimalFixed(out, room_end, point.h_text, kHPattern);
  if (h != nullptr) {
    out = h;
  } else {
    out = Put(out, point.h_text);  // a height that is not a number is kept as written
  }
  return Put(out, kTableLineEnd);
}

namespace {

class TableWriter final : public ResultWriter {
 public:
  std::string_view Extension() const override { return ".txt"; }
  ResultEncoding Encoding() const override { return ResultEncoding::kAsPointFile; }
  bool Write(ResultBuffer& out, const PointRecord& point, PlanePoint converted,
             TextEncoding encoding) override {
    char* room = out.Room(ResultLineCapacity(point));
    if (room == nullptr) return false;
    out.Used(WriteResultLine(room, point, converted, encoding));
    return true;
  }
};

}  // namespace

std::unique_ptr<ResultWriter> MakeTableWriter() { return std::make_unique<TableWriter>(); }

}  // namespace torvane
