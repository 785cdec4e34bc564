#pragma once
// A canonical Huffman code laid out for least-significant-bit-first look-up:
// one entry per value of the next MaxBits() input bits, so decoding a
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

class THuffmanTree {
public:
  // limit: the longest code the tree may hold (7 for the code-length code,
  // 15 for the others).
  explicit THuffmanTree(unsigned limit) : limit_(limit) {}

  // lengths[s] is symbol s's code length (0: unused). Symbols at or above
  // first_extra_symbol carry extra_bits[s - first_extra_symbol] extra bits
  // (0 past that table's end). False only when a length exceeds Limit().
  //
  // The code space is not checked, as a permissive decoder does not: a bit
  // string that no code reaches is an empty entry and fails at decoding,
  // and over-subscribed lengths wrap onto earlier codes' entries (the
  // reversed code is cut to its length), which never leaves the table.
  // Lengths written by any encoder form a proper code and decode the same.
  bool Build(std::span<const std::uint8_t> lengths, unsigned first_extra_symbol = 0,
             std::span<const std::uint8_t> extra_bits = {});

  unsigned Limit() const { return limit_; }
  // The longest code length present; the table has 2^MaxBits() entries.
  unsigned MaxBits() const { return max_bits_; }
  // index: the next MaxBits() input bits (the caller masks them).
  std::uint32_t Lookup(std::uint32_t index) const { return table_[index]; }

private:
  std::vector<std::uint32_t> table_{kEmptyEntry};
  unsigned limit_;
  unsigned max_bits_ = 0;
};

}  // namespace skin::deflate
