#include "tools/pe/pe_checksum.h"

namespace pe {

std::uint32_t ComputeChecksum(base::ByteView file, std::size_t checksum_offset) {
  // One's-complement addition is associative, so a plain 64-bit sum folded once at the end
  // equals folding after every word; 64 bits cannot overflow for any file below 2^48 bytes.
  std::uint64_t sum = 0;
  const std::size_t even = file.size() & ~std::size_t{1};
  for (std::size_t i = 0; i < even; i += 2) sum += base::GetU16(file.data() + i);
  if (even != file.size()) sum += file[even];
  // The plain sum is exact, so the field's bytes come out again exactly.
  for (std::size_t i = checksum_offset; i < checksum_offset + 4 && i < file.size(); ++i) {
    sum -= std::uint64_t{file[i]} << (8 * (i & 1));
  }
  while (sum > 0xFFFF) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<std::uint32_t>(sum + file.size());
}

}  // namespace pe
