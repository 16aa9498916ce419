// What went wrong in a conversion run, with everything needed to tell the
// user where: the file, the line, the field and its text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "number/number_text.h"

namespace torvane {

enum class RunErrorKind {
  kCannotOpen,         // the point file cannot be opened (detail: the system's reason)
  kCannotRead,         // reading failed part way (detail: the system's reason)
  kNoPoints,           // the file is empty or holds only blank lines; or, with limit
                       // lines skipped, has no more than those (other_line: its lines)
  kTooFewFields,       // a line with fewer fields than a point needs (field_text: the line;
                       // in a layout of its own, field and limit: the columns needed)
  kNotACommonPoint,    // a common-point line of fewer than five fields (field_text: the line;
                       // in a layout of its own, field and limit: the columns needed)
  kDuplicateName,      // a common point named as one before (field_text, other_line)
  kNotANumber,         // X or Y is not a decimal number (field, field_text); or H, when a
                       // height offset shifts heights
  kHeaderLine,         // the first line that is not blank has no number in X nor in Y:
                       // a header (field_text: the line)
  kWorkbook,           // the file is a spreadsheet workbook (.xlsx, .xls), not text
  kNumberTooLarge,     // X or Y is beyond the range of doubles (field, field_text); or H, as
                       // for kNotANumber
  kBadEncoding,        // a line that is neither UTF-8 nor GBK text; or, in a file whose
                       // encoding is told (field: "UTF-8" or "GBK"; detail: by whom),
                       // not text in that one; or a line of UTF-16 that is not text
                       // (field "UTF-16", field_text: the line, detail: what is wrong);
                       // or a text the result's encoding has no code for
                       // (detail kEncodingForResult)
  kNulByte,            // a line with a NUL byte: binary data, or UTF-16 text without a BOM
  kLineTooLong,        // a line longer than the limit (limit)
  kTooManyFields,      // more fields in the file than the limit (limit)
  kResultOutOfRange,   // a converted X or Y, or a shifted H, beyond the range of doubles (field);
                       // in a drawing, an entity's (entity_type, handle) or the header's
                       // extents (field "$EXTMIN")
  kParamsNotComputed,  // offsets and rotation all zero
  kParamsIncomplete,   // some of the offsets and rotation zero, some not
  kCannotWrite,        // the result cannot be created or written (path: the result)
  kResultIsPointFile,  // the result would replace the point file itself (path: the result)
  kCancelled,          // the run's progress callback asked it to stop (path: the point file)
  // Drawings (DXF): each names the drawing's entity by line, entity_type
  // and handle (empty when it has none).
  kDrawingEntity,     // an entity of a kind that is not converted
  kDrawingExtrusion,  // an entity whose extrusion is not (0,0,1) nor (0,0,-1) (detail: it)
  kDrawingProxy,      // a proxy entity, which only the program that made it can draw
  kDrawingBinary,     // a binary DXF drawing
  kDrawingDwg,        // a DWG drawing
  kDrawingDamaged,    // not DXF as written: a code that is not a number, a value missing, a
                      // coordinate that is not a number (detail: what; field_text: the text)
};

// The reasons a run gives in words of its own, in RunError::detail, where
// the system has none to give.
inline constexpr const char* kIsAFolder = "it is a folder, not a file";
inline constexpr const char* kFolderInTheWay = "a folder of that name is in the way";
inline constexpr const char* kLinkToNothing = "it is a link to nothing";
// Who told a file's encoding, for kBadEncoding.
inline constexpr const char* kEncodingByBom = "the file starts with a UTF-8 byte order mark";
inline constexpr const char* kEncodingByOption = "--encoding";
// The result's encoding, asked for, has no code for a point's text: the
// detail of kBadEncoding (field "GBK"; field_text: the text).
inline constexpr const char* kEncodingForResult = "--output-encoding";
// What is wrong with a line of a UTF-16 file, for kBadEncoding (field
// "UTF-16").
inline constexpr const char* kUtf16Unpaired = "a surrogate without its pair";
inline constexpr const char* kUtf16OddLength =
    "the file ends in half a character (an odd number of bytes)";

// An entity of a drawing, by the line of its group 0 and its handle
// (empty when it has none).
struct EntityPlace {
  std::size_t line = 0;
  std::string handle;
  bool operator==(const EntityPlace&) const = default;
};

// The entities of one kind that stop a drawing: its error kind
// (kDrawingEntity, kDrawingProxy or kDrawingExtrusion), the entity type,
// how many there are, and the first of them by place.
struct BlockingKind {
  RunErrorKind kind = RunErrorKind::kDrawingEntity;
  std::string type;
  std::uint64_t count = 0;
  std::vector<EntityPlace> first;
  bool operator==(const BlockingKind&) const = default;
};

struct RunError {
  RunErrorKind kind = RunErrorKind::kCannotOpen;
  std::string path;        // the point file, or the result file for kCannotWrite
  std::size_t line = 0;    // 1-based line of the point file; 0 when not about a line
  std::string field;       // the field an error is about: "X", "Y"; "Xs", "Ys", "Xc", "Yc"
  std::string field_text;  // the offending text, without the blanks around it
  std::string detail;      // the system's reason for open, read and write failures
  std::size_t limit = 0;   // the field limit for kTooManyFields, bytes for kLineTooLong
  // For kDuplicateName: the line where the name was used first.
  std::size_t other_line = 0;
  // In a drawing: the entity an error is about, by its kind ("LINE", the
  // value of its group 0) and its handle (empty when it has none); `line`
  // is the line of its group 0.
  std::string entity_type;
  std::string handle;
  // For a drawing's kDrawingEntity, kDrawingProxy or kDrawingExtrusion with
  // more entities than the one named that stop the drawing: every one of
  // them, by kind, and how many more there are of kinds not listed; empty
  // when the one named is the only one.
  std::vector<BlockingKind> blocking;
  std::uint64_t blocking_others = 0;
  // For kNotANumber of X (or Xs): Y (or Ys) holds words too, as a header's
  // captions do (see HoldWords); the reader names a first line so a header.
  bool header_like = false;
};

// The error for a number field (X, Y, ...) whose text ParseDecimal rejected
// for `why`, on a 1-based line; the path is left to the caller.
RunError NumberFieldError(DecimalError why, std::size_t line, const char* field,
                          std::string_view text);

// Whether a line's X and Y texts both hold words, neither being empty nor
// a number: a header's captions ("X坐标", "Y坐标") rather than a point.
bool HoldWords(std::string_view x_text, std::string_view y_text);

// The error `kind` about the file at `path`, on a 1-based line, or 0 when
// it is not about a line.
RunError FileError(RunErrorKind kind, std::string path, std::size_t line);

// The error `kind` about a whole line that is not what it should be, on a
// 1-based line, quoting the line without the blanks around it; the path is
// left to the caller.
RunError LineError(RunErrorKind kind, std::size_t line, std::string_view text);

// User text (a point name, a field, an option value, a file name) as a
// message shows it: control bytes (below 0x20, and 0x7f) as \xHH, so that
// text nobody sees typed, such as an ESC sequence, never reaches the
// terminal or the console raw; every other byte, non-ASCII text included,
// as it is.
std::string EscapeControlBytes(std::string_view text);

// How a message shows a field or line: whole when it is short, otherwise
// its start, cut between two characters, then "..." and its length, so that
// a line of megabytes does not fill the screen; control bytes escaped.
std::string MessageExcerpt(const std::string& text);

// kCannotWrite of the result `result_path`, `reason` its detail.
RunError WriteFailure(const std::string& result_path, const std::string& reason);

// The system's words for an errno value ("No such file or directory").
std::string SystemReason(int error_number);

struct NotWritten;  // os/pending_file.h

// Why a whole file was not written, for the command line: "is a folder",
// "is not a regular file", "cannot write: " and the system's words.
std::string NotWrittenText(const NotWritten& why);

// Whether a drawing's entity kind (its group 0) is a body of ACIS, the
// solid modeller's data, which only a CAD program reads: 3DSOLID, REGION,
// BODY, SURFACE and its kinds (EXTRUDEDSURFACE, PLANESURFACE and the like).
// Its refusal (kDrawingEntity) says how to turn it into lines.
bool IsAcisBody(std::string_view entity_type);

// "pts.csv:7: X field \"abc\" is not a number", in English, for the command line.
std::string Describe(const RunError& error);

}  // namespace torvane
