#pragma once
// An in-memory byte stream with a position, the shape the installer's
// packed resources and package take while they are loaded.
#include <cstddef>
#include <cstdint>

#include "base/buffer.h"
#include "base/bytes.h"

namespace base {

class MemoryStream {
public:
  MemoryStream() = default;
  explicit MemoryStream(ByteView data) : data_(data) {}
  explicit MemoryStream(Buffer data) : data_(std::move(data)) {}

  std::size_t Size() const { return data_.size(); }
  std::size_t Position() const { return position_; }
  // Positions past the end are allowed (as with any stream); reads there
  // return nothing.
  void Seek(std::size_t position) { position_ = position; }

  // Reads up to count bytes at the position into out and advances; returns
  // how many came.
  std::size_t Read(std::uint8_t* out, std::size_t count);
  // Reads exactly count bytes or throws "Stream read error".
  void ReadExact(std::uint8_t* out, std::size_t count);

  ByteView View() const { return data_.View(); }
  // Replaces the whole content; the position goes back to 0.
  void Replace(Buffer data) {
    data_ = std::move(data);
    position_ = 0;
  }

private:
  Buffer data_;
  std::size_t position_ = 0;
};

}  // namespace base
