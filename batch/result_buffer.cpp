#include "batch/result_buffer.h"

#include <algorithm>

namespace torvane {
namespace {

constexpr std::size_t kFlushBytes = 1 << 20;

}  // namespace

ResultBuffer::ResultBuffer(std::FILE* sink)
    : sink_(sink), data_(new char[kFlushBytes]), capacity_(kFlushBytes) {
  assert(sink != nullptr);
}

char* ResultBuffer::RoomAfterFlush(std::size_t bytes) {
  if (!Flush()) return nullptr;
  if (bytes > capacity_) {
    data_.reset(new char[bytes]);
    capacity_ = bytes;
  }
  return data_.get();
}

bool ResultBuffer::Append(std::string_view text) {
  char* room = Room(text.size());
  if (room == nullptr) return false;
  Used(std::copy(text.begin(), text.end(), room));
  return true;
}

bool ResultBuffer::Flush() {
  const bool written = std::fwrite(data_.get(), 1, size_, sink_) == size_;
  size_ = 0;
  return written;
}

}  // namespace torvane
