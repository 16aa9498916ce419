#include "batch/result_recoding.h"

#include <optional>

namespace torvane {
namespace {

// `text`, in the other of GBK and UTF-8, in `to` (kGbk or kUtf8) into
// *out; false when it has no code there.
bool Recoded(std::string_view text, TextEncoding to, std::string* out) {
  std::optional<std::string> recoded = to == TextEncoding::kGbk ? Utf8ToGbk(text) : GbkToUtf8(text);
  if (!recoded) return false;
  *out = std::move(*recoded);
  return true;
}

}  // namespace

const PointRecord* ResultRecoding::Recode(const PointRecord& point, TextEncoding file_encoding,
                                          RunError* failure) {
  const TextEncoding from =
      file_encoding == TextEncoding::kGbk ? TextEncoding::kGbk : TextEncoding::kUtf8;
  // ASCII is the same in both.
  if (from == texts_ || point.ascii) return &point;
  recoded_ = point;
  const std::string_view texts[] = {point.name, point.code, point.h_text};
  std::string* const into[] = {&name_, &code_, &height_};
  for (int i = 0; i < 3; ++i) {
    if (!Recoded(texts[i], texts_, into[i])) {
      *failure = LineError(RunErrorKind::kBadEncoding, point.line, texts[i]);
      failure->field = texts_ == TextEncoding::kGbk ? "GBK" : "UTF-8";
      failure->detail = kEncodingForResult;
      return nullptr;
    }
  }
  recoded_.name = name_;
  recoded_.code = code_;
  recoded_.h_text = height_;
  return &recoded_;
}

}  // namespace torvane
