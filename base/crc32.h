#pragma once
// CRC-32 with the polynomial that ZIP, PNG and gzip share (0xEDB88320,
// reflected), from a 1 KB table made at compile time. The programs use
// this one rather than zlib's, whose tables are five times the size and
// come with its gzip support.
#include <cstddef>
#include <cstdint>

namespace base {

// One step of the raw register, without the inversions before and after
// (the PKWARE key schedule works on the register itself).
std::uint32_t Crc32Update(std::uint32_t crc, std::uint8_t byte);

// The CRC-32 of data, continuing from crc, the CRC-32 of what came before
// (0 for nothing): Crc32(b, n, Crc32(a, m)) is the CRC-32 of a then b, as
// zlib's crc32() counts.
std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0);

}  // namespace base
