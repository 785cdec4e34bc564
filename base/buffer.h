#pragma once
// A heap byte buffer that is not zero-filled when made: for output that is
// about to be written over anyway (an unpacked package of hundreds of
// megabytes), where clearing it first would cost as much as a second pass.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "base/bytes.h"

namespace base {

class Buffer {
public:
  Buffer() = default;
  // Throws std::bad_alloc when the memory cannot be had.
  explicit Buffer(std::size_t size)
      : data_(size ? std::make_unique_for_overwrite<std::uint8_t[]>(size) : nullptr), size_(size) {}
  explicit Buffer(ByteView bytes) : Buffer(bytes.size()) {
    if (size_) std::memcpy(data_.get(), bytes.data(), size_);
  }

  std::uint8_t* data() { return data_.get(); }
  const std::uint8_t* data() const { return data_.get(); }
  std::size_t size() const { return size_; }
  ByteView View() const { return {data_.get(), size_}; }
  Bytes ToBytes() const { return Bytes(data_.get(), data_.get() + size_); }

private:
  std::unique_ptr<std::uint8_t[]> data_;
  std::size_t size_ = 0;
};

}  // namespace base
