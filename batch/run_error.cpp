#include "batch/run_error.h"

#include <system_error>
#include <utility>

#include "os/pending_file.h"

namespace torvane {
namespace {

constexpr std::size_t kExcerptBytes = 60;

// Why a height that is not a number stops a run: only --dh reads heights.
std::string HeightsShifted(const RunError& e) {
  return e.field == "H" ? ", and --dh shifts heights" : "";
}

}  // namespace

RunError WriteFailure(const std::string& result_path, const std::string& reason) {
  RunError e = FileError(RunErrorKind::kCannotWrite, result_path, 0);
  e.detail = reason;
  return e;
}

std::string SystemReason(int error_number) { return std::generic_category().message(error_number); }

std::string NotWrittenText(const NotWritten& why) {
  switch (why.kind) {
    case PathKind::kFolder:
      return "is a folder";
    case PathKind::kStream:
      return "is not a regular file";
    case PathKind::kMissing:
    case PathKind::kFile:
      break;
  }
  return "cannot write: " + SystemReason(why.error);
}

RunError NumberFieldError(DecimalError why, std::size_t line, const char* field,
                          std::string_view text) {
  RunError e;
  e.kind =
      why == DecimalError::kTooLarge ? RunErrorKind::kNumberTooLarge : RunErrorKind::kNotANumber;
  e.line = line;
  e.field = field;
  e.field_text = std::string(text);
  return e;
}

bool HoldWords(std::string_view x_text, std::string_view y_text) {
  auto words = [](std::string_view text) {
    auto value = ParseDecimal(text);
    return !text.empty() && !value && value.error() == DecimalError::kNotANumber;
  };
  return words(x_text) && words(y_text);
}

RunError FileError(RunErrorKind kind, std::string path, std::size_t line) {
  RunError e;
  e.kind = kind;
  e.path = std::move(path);
  e.line = line;
  return e;
}

RunError LineError(RunErrorKind kind, std::size_t line, std::string_view text) {
  RunError e;
  e.kind = kind;
  e.line = line;
  e.field_text = std::string(TrimBlanks(text));
  return e;
}

std::string EscapeControlBytes(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string shown;
  shown.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) {
      shown += "\\x";
      shown += kHex[byte >> 4];
      shown += kHex[byte & 0xf];
    } else {
      shown += c;
    }
  }
  return shown;
}

std::string MessageExcerpt(const std::string& text) {
  // Control bytes are shown escaped, after the cut: the length told is the text's own.
  if (text.size() <= kExcerptBytes) return EscapeControlBytes(text);
  // Cut after two ASCII bytes in a row: the last of them is a character of
  // its own in UTF-8 and in GBK alike.
  std::size_t cut = kExcerptBytes;
  auto ascii = [&](std::size_t i) { return static_cast<unsigned char>(text[i]) < 0x80; };
  while (cut > 1 && !(ascii(cut - 1) && ascii(cut - 2))) --cut;
  if (cut == 1 && !ascii(0)) cut = 0;
  return EscapeControlBytes(std::string_view(text).substr(0, cut)) + "... (" +
         std::to_string(text.size()) + " bytes)";
}

bool IsAcisBody(std::string_view type) {
  constexpr std::string_view kSurface = "SURFACE";
  return type == "3DSOLID" || type == "REGION" || type == "BODY" ||
         (type.size() >= kSurface.size() && type.substr(type.size() - kSurface.size()) == kSurface);
}

namespace {

// "HATCH (handle 2F)", or "HATCH" for an entity without a handle.
std::string DrawingEntityName(const RunError& e) {
  std::string name = EscapeControlBytes(e.entity_type);
  if (!e.handle.empty()) name += " (handle " + MessageExcerpt(e.handle) + ")";
  return name;
}

}  // namespace

namespace {

// The message of `e`, then for a drawing stopped by more than one entity,
// every one of them, a line for each kind.
std::string DescribeOne(const RunError& e);

}  // namespace

std::string Describe(const RunError& e) {
  std::string message = DescribeOne(e);
  if (e.blocking.empty()) return message;
  message += "\n" + EscapeControlBytes(e.path) + ": every entity that stops the drawing, by kind:";
  for (const BlockingKind& k : e.blocking) {
    const char* why = k.kind == RunErrorKind::kDrawingProxy       ? "a proxy"
                      : k.kind == RunErrorKind::kDrawingExtrusion ? "sloping plane, scale not 1"
                      : IsAcisBody(k.type)                        ? "an ACIS body, not converted"
                                                                  : "not converted";
    message += "\n  " + EscapeControlBytes(k.type) + " (" + why + "): " + std::to_string(k.count) +
               (k.count == 1 ? ", on line " : ", on lines ");
    for (std::size_t i = 0; i < k.first.size(); ++i) {
      message +=
          (i > 0 ? ", " : "") + std::to_string(k.first[i].line) +
          (k.first[i].handle.empty() ? "" : " (handle " + MessageExcerpt(k.first[i].handle) + ")");
    }
    if (k.count > k.first.size()) {
      message += " and " + std::to_string(k.count - k.first.size()) + " more";
    }
  }
  if (e.blocking_others > 0) {
    message += "\n  " + std::to_string(e.blocking_others) + " more of other kinds";
  }
  return message;
}

namespace {

std::string DescribeOne(const RunError& e) {
  // "-" is standard output for the result, standard input for the point file.
  std::string where = e.path != "-"                          ? EscapeControlBytes(e.path)
                      : e.kind == RunErrorKind::kCannotWrite ? "standard output"
                                                             : "standard input";
  if (e.line > 0) where += ":" + std::to_string(e.line);
  where += ": ";
  const std::string quoted = "\"" + MessageExcerpt(e.field_text) + "\"";
  switch (e.kind) {
    case RunErrorKind::kCannotOpen:
      return where + "cannot open: " + e.detail;
    case RunErrorKind::kCannotRead:
      return where + "cannot read: " + e.detail;
    case RunErrorKind::kNoPoints:
      if (e.limit > 0) {
        return where + "no points: the file has " + std::to_string(e.other_line) +
               (e.other_line == 1 ? " line" : " lines") +
               ", and --skip-lines=" + std::to_string(e.limit) + " skips them all";
      }
      return where + "no points: the file is empty or holds only blank lines";
    case RunErrorKind::kTooFewFields:
      // A file in a layout of its own names the columns it needs.
      if (e.limit > 0) {
        return where + "line " + quoted + " has fewer than " + std::to_string(e.limit) +
               " fields (" + e.field + ")";
      }
      return where + "line " + quoted + " has fewer than three fields (name, X, Y)";
    case RunErrorKind::kNotACommonPoint:
      if (e.limit > 0) {
        return where + "line " + quoted + " has fewer than " + std::to_string(e.limit) +
               " fields (" + e.field + ")";
      }
      return where + "line " + quoted + " has fewer than five fields (name, Xs, Ys, Xc, Yc)";
    case RunErrorKind::kDuplicateName:
      return where + "point name " + quoted + " is used again (first on line " +
             std::to_string(e.other_line) + ")";
    case RunErrorKind::kNotANumber:
      return where + e.field + " field " + quoted + " is not a number" + HeightsShifted(e);
    case RunErrorKind::kHeaderLine:
      return where + "line " + quoted +
             " looks like a header, not a point: no number in X and Y (give --skip-lines=" +
             std::to_string(e.line) + " to pass over it)";
    case RunErrorKind::kWorkbook:
      return where + "this is a spreadsheet workbook: save it as CSV (逗号分隔)";
    case RunErrorKind::kNumberTooLarge:
      return where + e.field + " field " + quoted + " is too large" + HeightsShifted(e);
    case RunErrorKind::kBadEncoding:
      if (e.detail == kEncodingByOption) {
        return where + "line is not " + e.field +
               " text (--encoding=" + (e.field == "GBK" ? "gbk" : "utf-8") + ")";
      }
      if (e.detail == kEncodingForResult) {
        return where + quoted + " has no code in " + e.field + ": it cannot be written with " +
               "--output-encoding=" + (e.field == "GBK" ? "gbk" : "utf-8");
      }
      if (e.field == "UTF-16") {
        return where + "line " + quoted + " is not UTF-16 text: " + e.detail;
      }
      if (!e.field.empty()) return where + "line is not " + e.field + " text, but " + e.detail;
      return where + "line is neither UTF-8 nor GBK text";
    case RunErrorKind::kNulByte:
      return where + "line holds a NUL byte: not UTF-8 or GBK text (saved as UTF-16?)";
    case RunErrorKind::kLineTooLong:
      return where + "line is longer than " + std::to_string(e.limit) + " bytes: not a point file";
    case RunErrorKind::kTooManyFields:
      return where + "more than " + std::to_string(e.limit) + " fields in the file";
    case RunErrorKind::kResultOutOfRange:
      return where + (e.field == "H" ? "shifted " : "converted ") +
             (e.entity_type.empty() ? e.field : e.entity_type) + " is too large to write";
    case RunErrorKind::kParamsNotComputed:
      return "parameters not computed: X offset, Y offset and rotation are all zero";
    case RunErrorKind::kParamsIncomplete:
      return "parameters incomplete: X offset, Y offset and rotation must all be non-zero";
    case RunErrorKind::kCannotWrite:
      return where + "cannot write: " + e.detail;
    case RunErrorKind::kResultIsPointFile:
      return where + "the result would replace the point file itself";
    case RunErrorKind::kCancelled:
      return where + "cancelled: no result written";
    case RunErrorKind::kDrawingEntity:
      if (IsAcisBody(e.entity_type)) {
        return where + DrawingEntityName(e) +
               " is an ACIS solid or surface, which torvane does not convert: explode it in CAD "
               "until it is lines and arcs (a solid explodes to regions, a region to lines), or "
               "save the drawing without it, then convert the drawing";
      }
      return where + DrawingEntityName(e) +
             " is not converted by torvane: explode it in CAD (or erase it), then convert the "
             "drawing";
    case RunErrorKind::kDrawingExtrusion:
      return where + DrawingEntityName(e) + " lies in a sloping plane (extrusion " + e.detail +
             "), which a scale other than 1 stretches more one way than the other: what it "
             "draws there would not keep its shape; convert it with the scale 1, or explode it "
             "in CAD";
    case RunErrorKind::kDrawingProxy:
      return where + DrawingEntityName(e) +
             " is a proxy entity that only the program that made it can draw: explode it in "
             "CAD, then convert the drawing";
    case RunErrorKind::kDrawingBinary:
      return where + "this is a binary DXF drawing: save it as ASCII DXF in CAD, then convert that";
    case RunErrorKind::kDrawingDwg:
      return where + "this is a DWG drawing: save it as DXF in CAD, then convert the DXF";
    case RunErrorKind::kDrawingDamaged:
      return where + "not a DXF drawing as CAD writes it: " + e.detail +
             (e.field_text.empty() ? "" : " " + quoted);
  }
  return where + "unknown error";
}

}  // namespace

}  // namespace torvane
