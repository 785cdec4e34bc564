#include "skin/deflate/huffman_table.h"

#include <array>

#include "skin/deflate/deflate_constants.h"

namespace skin::deflate {
namespace {

std::uint32_t ReverseBits(std::uint32_t code, unsigned length) {
  std::uint32_t reversed = 0;
  for (unsigned i = 0; i < length; ++i) {
    reversed = (reversed << 1) | (code & 1);
    code >>= 1;
  }
  return reversed;
}

}  // namespace

bool HuffmanTable::Build(std::span<const std::uint8_t> lengths, unsigned limit, TCodeSpace space,
                         unsigned first_extra_symbol, std::span<const std::uint8_t> extra_bits) {
  if (limit > kMaxCodeLength) return false;
  std::array<unsigned, kMaxCodeLength + 1> count{};
  unsigned max_length = 0;
  unsigned used = 0;
  for (const std::uint8_t length : lengths) {
    if (length > limit) return false;
    ++count[length];
    if (length > max_length) max_length = length;
    if (length) ++used;
  }

  // Code space left after each length: negative means two codes would
  // share a prefix, positive that some bit strings decode to nothing.
  long left = 1;
  for (unsigned bits = 1; bits <= kMaxCodeLength; ++bits) {
    left = (left << 1) - count[bits];
    if (left < 0) return false;
  }
  if (left > 0) {
    const bool allowed = space == TCodeSpace::AllowSingleCode &&
                         (used == 0 || (used == 1 && max_length == 1));
    if (!allowed) return false;
  }

  std::array<std::uint32_t, kMaxCodeLength + 2> next_code{};
  std::uint32_t code = 0;
  count[0] = 0;
  for (unsigned bits = 1; bits <= kMaxCodeLength; ++bits) {
    code = (code + count[bits - 1]) << 1;
    next_code[bits] = code;
  }

  table_bits_ = max_length;
  entries_.assign(std::size_t{1} << max_length, kEmptyEntry);
  for (std::size_t symbol = 0; symbol < lengths.size(); ++symbol) {
    const unsigned length = lengths[symbol];
    if (!length) continue;
    unsigned extra = 0;
    if (symbol >= first_extra_symbol && symbol - first_extra_symbol < extra_bits.size()) {
      extra = extra_bits[symbol - first_extra_symbol];
    }
    const std::uint32_t entry = static_cast<std::uint32_t>(symbol) | (length << 16) | (extra << 24);
    // A code of L bits owns every index whose low L bits are its reversed
    // code: the bits above belong to whatever follows it.
    for (std::size_t i = ReverseBits(next_code[length]++, length); i < entries_.size();
         i += std::size_t{1} << length) {
      entries_[i] = entry;
    }
  }
  return true;
}

}  // namespace skin::deflate
