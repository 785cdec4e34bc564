#include "base/memory_stream.h"

#include <algorithm>
#include <cstring>

#include "base/error.h"

namespace base {

std::size_t MemoryStream::Read(std::uint8_t* out, std::size_t count) {
  if (position_ >= data_.size()) return 0;
  std::size_t n = std::min(count, data_.size() - position_);
  if (n != 0) std::memcpy(out, data_.data() + position_, n);
  position_ += n;
  return n;
}

void MemoryStream::ReadExact(std::uint8_t* out, std::size_t count) {
  if (Read(out, count) != count) throw Error("Stream read error");
}

}  // namespace base
