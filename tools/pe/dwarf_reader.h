#pragma once
// Reading DWARF's numbers from a bounded run of bytes: little-endian fixed widths and LEB128.
// Reading past the end throws base::Error "<what> cut short at offset N".
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/bytes.h"
#include "base/error.h"

namespace pe::eh {

class DwarfReader {
public:
  // Reads bytes[at, end); `what` names the data in messages ("Call frame instruction").
  DwarfReader(base::ByteView bytes, std::size_t at, std::size_t end, const char* what)
      : bytes_(bytes), at_(at), end_(end), what_(what) {}

  std::size_t Position() const { return at_; }
  std::size_t Remaining() const { return end_ - at_; }
  bool AtEnd() const { return at_ == end_; }

  std::uint64_t Fixed(unsigned width) {
    Need(width);
    std::uint64_t v = 0;
    for (unsigned i = 0; i < width; ++i) v |= std::uint64_t{bytes_[at_ + i]} << (8 * i);
    at_ += width;
    return v;
  }
  std::uint8_t Byte() { return static_cast<std::uint8_t>(Fixed(1)); }
  std::uint64_t Uleb() {
    std::uint64_t value = 0;
    for (unsigned shift = 0;; shift += 7) {
      const std::uint8_t b = Byte();
      if (shift < 64) {
        value |= std::uint64_t{b & 0x7Fu} << shift;
      } else if ((b & 0x7F) != 0) {
        throw base::Error(std::string(what_) + ": a number past 64 bits at offset " +
                          std::to_string(at_ - 1));
      }
      if ((b & 0x80) == 0) return value;
    }
  }
  std::int64_t Sleb() {
    std::uint64_t value = 0;
    unsigned shift = 0;
    std::uint8_t b = 0;
    do {
      b = Byte();
      if (shift < 64) value |= std::uint64_t{b & 0x7Fu} << shift;
      shift += 7;
    } while (b & 0x80);
    if (shift < 64 && (b & 0x40)) value |= ~std::uint64_t{0} << shift;
    return static_cast<std::int64_t>(value);
  }
  void Skip(std::uint64_t count) {
    Need(count);
    at_ += static_cast<std::size_t>(count);
  }

protected:
  base::ByteView Bytes() const { return bytes_; }

private:
  void Need(std::uint64_t count) const {
    if (count > end_ - at_) {
      throw base::Error(std::string(what_) + " cut short at offset " + std::to_string(at_));
    }
  }

  base::ByteView bytes_;
  std::size_t at_;
  std::size_t end_;
  const char* what_;
};

}  // namespace pe::eh
