// The result on its way to its file: a writer asks for room, writes its
// bytes straight into it and says where they end; the buffer writes them
// out in large blocks.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "batch/text_encoding.h"

namespace torvane {

class ResultBuffer {
 public:
  // `sink` is the open stream the result goes to; it outlives the buffer.
  explicit ResultBuffer(std::FILE* sink);

  // Room for `bytes` more bytes, after writing out what is held when they
  // do not fit; more bytes than the buffer holds grow it. nullptr when the
  // write fails (errno says why).
  char* Room(std::size_t bytes) {
    if (size_ + bytes > capacity_) return RoomAfterFlush(bytes);
    return data_.get() + size_;
  }

  // The bytes up to `end`, in the room just given, are part of the result.
  void Used(const char* end) {
    assert(end >= data_.get() && end <= data_.get() + capacity_);
    size_ = static_cast<std::size_t>(end - data_.get());
  }

  // Room(text.size()), `text` copied into it and Used; false when the
  // write fails (errno says why).
  bool Append(std::string_view text);

  // Writes out what is held; false when the write fails (errno says why).
  // What reached the stream is then left to its own buffer.
  bool Flush();

  // From now on, the bytes written (UTF-8) go out as the same text in UTF-16
  // of `order` (kUtf16Le or kUtf16Be; see AppendUtf16), for a point file in
  // UTF-16. Called before anything is written.
  void WriteAsUtf16(TextEncoding order);

 private:
  char* RoomAfterFlush(std::size_t bytes);

  std::FILE* sink_;
  std::unique_ptr<char[]> data_;
  std::size_t capacity_;
  std::size_t size_ = 0;
  std::optional<TextEncoding> utf16_;  // none: written as it is
  std::string units_;                  // the held bytes in UTF-16, on their way out
};

}  // namespace torvane
