// A point's texts in the encoding its result is asked for, when that is not
// the point file's: a GBK file's names written in UTF-8 for a spreadsheet,
// a UTF-8 file's in GBK for a Chinese Windows program.
#pragma once

#include <cassert>
#include <string>

#include "batch/point_file.h"
#include "batch/run_error.h"
#include "batch/text_encoding.h"

namespace torvane {

class ResultRecoding {
 public:
  // `result` is the result's encoding: kUtf8, kUtf8WithBom or kGbk.
  explicit ResultRecoding(TextEncoding result)
      : texts_(result == TextEncoding::kGbk ? TextEncoding::kGbk : TextEncoding::kUtf8) {
    assert(!IsUtf16(result) && "a result is asked for in UTF-8 or GBK");
  }

  // The encoding of the texts Recode gives: kGbk or kUtf8.
  TextEncoding texts() const { return texts_; }

  // `point`, read from a file whose encoding the reader gives as
  // `file_encoding` (a UTF-16 file's texts are UTF-8), with its name, code
  // and height in texts(): the point itself when they already are, or a
  // copy valid until the next call. nullptr, with *failure set, when a text
  // has no code in GBK: kBadEncoding on the point's line, field "GBK",
  // field_text the text, detail kEncodingForResult (the path is left to the
  // caller).
  const PointRecord* Recode(const PointRecord& point, TextEncoding file_encoding,
                            RunError* failure);

 private:
  TextEncoding texts_;
  PointRecord recoded_;
  std::string name_, code_, height_;  // recoded_'s texts
};

}  // namespace torvane
