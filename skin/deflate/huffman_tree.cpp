#include "skin/deflate/huffman_tree.h"

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

bool THuffmanTree::Build(std::span<const std::uint8_t> lengths, unsigned first_extra_symbol,
                         std::span<const std::uint8_t> extra_bits) {
  if (limit_ > kMaxCodeLength) return false;
  std::array<unsigned, kMaxCodeLength + 1> count{};
  unsigned max_length = 0;
  for (const std::uint8_t length : lengths) {
    if (length > limit_) return false;
    ++count[length];
    if (length > max_length) max_length = length;
  }

  // RFC 1951, 3.2.2: the first code of each length.
  std::array<std::uint32_t, kMaxCodeLength + 1> next_code{};
  std::uint32_t code = 0;
  count[0] = 0;
  for (unsigned bits = 1; bits <= limit_; ++bits) {
    code = (code + count[bits - 1]) << 1;
    next_code[bits] = code;
  }

  max_bits_ = max_length;
  table_.assign(std::size_t{1} << max_length, kEmptyEntry);
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
    for (std::size_t i = ReverseBits(next_code[length]++, length); i < table_.size();
         i += std::size_t{1} << length) {
      table_[i] = entry;
    }
  }
  return true;
}

}  // namespace skin::deflate
