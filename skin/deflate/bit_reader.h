#pragma once
// Least-significant-bit-first input for the Deflate decoder. Past the end of
// the input it feeds zero bytes rather than failing at once, because a
// Huffman look-up peeks more bits than the last code may need; whether any
// of those padding bits were really consumed is asked through Overran().
#include <cstddef>
#include <cstdint>

#include "base/bytes.h"

namespace skin::deflate {

class BitReader {
public:
  explicit BitReader(base::ByteView input) : input_(input) {}

  // After this at least n (at most 57) bits are held.
  void Ensure(unsigned n) {
    if (held_ >= n) return;
    if (input_.size() - next_ >= 8) {
      // Eight bytes at once; the bytes that do not fit whole are loaded
      // again, at the same bit positions, by the next refill.
      std::uint64_t word = 0;
      for (int i = 7; i >= 0; --i) word = (word << 8) | input_[next_ + static_cast<std::size_t>(i)];
      bits_ |= word << held_;
      const unsigned take = (63 - held_) >> 3;
      next_ += take;
      held_ += take * 8;
      return;
    }
    while (held_ <= 56) {
      std::uint64_t byte = 0;
      if (next_ < input_.size()) {
        byte = input_[next_++];
      } else {
        ++padding_;
      }
      bits_ |= byte << held_;
      held_ += 8;
    }
  }
  // The next n bits (Ensure(n) first), not consumed.
  std::uint32_t Peek(unsigned n) const {
    return static_cast<std::uint32_t>(bits_ & ((std::uint64_t{1} << n) - 1));
  }
  void Consume(unsigned n) {
    bits_ >>= n;
    held_ -= n;
  }
  std::uint32_t Read(unsigned n) {
    Ensure(n);
    const std::uint32_t value = Peek(n);
    Consume(n);
    return value;
  }

  // True once a consumed bit was padding: the input ended too early. Every
  // padding byte entered the accumulator after all real ones, so padding was
  // consumed exactly when fewer bits are held than were padded.
  bool Overran() const { return padding_ * 8 > held_; }

  // For a stored block: drops the bits up to the byte boundary and gives
  // the whole bytes still held back to the input, so the block's bytes can
  // be taken straight from it. Returns false when the input already ran out.
  bool AlignToInput() {
    Consume(held_ % 8);
    if (Overran()) return false;
    const std::size_t held_bytes = held_ / 8;
    next_ = next_ + padding_ - held_bytes;
    bits_ = 0;
    held_ = 0;
    padding_ = 0;
    return true;
  }
  // Byte access while aligned (after AlignToInput, before the next Read).
  std::size_t BytesLeft() const { return input_.size() - next_; }
  const std::uint8_t* TakeBytes(std::size_t n) {
    const std::uint8_t* p = input_.data() + next_;
    next_ += n;
    return p;
  }

private:
  base::ByteView input_;
  std::size_t next_ = 0;     // next input byte to enter the accumulator
  std::uint64_t bits_ = 0;   // accumulator, next bit lowest
  unsigned held_ = 0;        // valid bits in the accumulator
  std::size_t padding_ = 0;  // zero bytes fed after the input's end
};

}  // namespace skin::deflate
