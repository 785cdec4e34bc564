#pragma once
// The optional header's CheckSum. Windows only verifies it for drivers and a few system DLLs,
// but signing and packaging tools check it, so a rewritten image gets a correct one.
#include <cstddef>
#include <cstdint>

#include "base/bytes.h"

namespace pe {

// The file summed as little-endian 16-bit words with end-around carry (an odd last byte padded
// with zero), the 4-byte field at `checksum_offset` counted as zero, plus the file length.
std::uint32_t ComputeChecksum(base::ByteView file, std::size_t checksum_offset);

}  // namespace pe
