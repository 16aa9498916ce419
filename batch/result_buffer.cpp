#include "batch/result_buffer.h"

#include <algorithm>

#include "batch/utf16_text.h"

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
  // A character cut off at the end of what was held stays for UTF-16.
  if (size_ + bytes > capacity_) {
    std::unique_ptr<char[]> larger(new char[size_ + bytes]);
    std::copy(data_.get(), data_.get() + size_, larger.get());
    data_ = std::move(larger);
    capacity_ = size_ + bytes;
  }
  return data_.get() + size_;
}

bool ResultBuffer::Append(std::string_view text) {
  char* room = Room(text.size());
  if (room == nullptr) return false;
  Used(std::copy(text.begin(), text.end(), room));
  return true;
}

bool ResultBuffer::Flush() {
  if (utf16_) {
    units_.clear();
    const std::size_t taken = AppendUtf16(std::string_view(data_.get(), size_), *utf16_, &units_);
    std::copy(data_.get() + taken, data_.get() + size_, data_.get());
    size_ -= taken;
    return std::fwrite(units_.data(), 1, units_.size(), sink_) == units_.size();
  }
  const bool written = std::fwrite(data_.get(), 1, size_, sink_) == size_;
  size_ = 0;
  return written;
}

void ResultBuffer::WriteAsUtf16(TextEncoding order) {
  assert(IsUtf16(order) && size_ == 0);
  utf16_ = order;
}

}  // namespace torvane
