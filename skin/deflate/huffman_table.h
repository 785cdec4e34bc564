#pragma once
// A canonical Huffman code laid out for least-significant-bit-first look-up:
// one entry per value of the next table_bits() input bits, so decoding a
// symbol is one look-up, whatever its code length.
#include <cstdint>
#include <span>
#include <vector>

namespace skin::deflate {

// Entry layout: bits 0-15 symbol, 16-23 code length, 24-31 number of extra
// bits that follow the code. An index that no code reaches holds kEmptyEntry.
inline constexpr std::uint32_t kEmptyEntry = 0xFFFFFFFF;
inline unsigned EntrySymbol(std::uint32_t e) { return e & 0xFFFF; }
inline unsigned EntryCodeLength(std::uint32_t e) { return (e >> 16) & 0xFF; }
inline unsigned EntryExtraBits(std::uint32_t e) { return e >> 24; }

// How much of the code space the lengths must fill. Over-subscribed lengths
// are never decodable. An incomplete code is refused too, except where the
// format allows it: a distance (or literal/length) code of one single code
// of one bit, or a distance code with no codes at all (a block of literals).
enum class TCodeSpace { Complete, AllowSingleCode };

class HuffmanTable {
public:
  // lengths[s] is symbol s's code length (0: unused). Symbols at or above
  // first_extra_symbol carry extra_bits[s - first_extra_symbol] extra bits
  // (0 past that table's end). False when a length exceeds limit or the
  // lengths break the code-space rule.
  bool Build(std::span<const std::uint8_t> lengths, unsigned limit, TCodeSpace space,
             unsigned first_extra_symbol = 0, std::span<const std::uint8_t> extra_bits = {});

  unsigned table_bits() const { return table_bits_; }
  // index: the next table_bits() input bits.
  std::uint32_t Lookup(std::uint32_t index) const { return entries_[index]; }

private:
  std::vector<std::uint32_t> entries_{kEmptyEntry};
  unsigned table_bits_ = 0;
};

}  // namespace skin::deflate
