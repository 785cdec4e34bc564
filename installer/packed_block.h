#pragma once
// The packed block: a 4-byte little-endian length N, then a zlib stream
// whose inflated content is exactly N bytes. SETUPINI and SETUPPACK both
// travel in this layout.
#include <cstdint>

#include "base/bytes.h"
#include "base/memory_stream.h"

namespace installer {

// Replaces the stream's whole content, a packed block, by its N unpacked
// bytes. Throws "Stream read error" when the block is shorter than its
// length field or the zlib stream ends before N bytes came out, "Error" when
// zlib reports damaged data. Inflation stops once N bytes are out: whatever
// follows, the Adler-32 value included, is not examined.
void UnpackStream(base::MemoryStream& stream);

// The same for a block held elsewhere; returns the unpacked bytes.
base::Buffer UnpackToBuffer(base::ByteView packed);
// As UnpackToBuffer, in a vector (a copy: for small blocks and tools).
base::Bytes UnpackBlock(base::ByteView packed);

// The N recorded in a packed block's length field (the block must have one).
std::uint32_t PackedBlockLength(base::ByteView packed);

// Packs data into a block (zlib level 0..9). progress, when given, is called
// with the number of input bytes consumed so far.
using PackProgress = void (*)(std::uint64_t done, std::uint64_t total, void* context);
base::Bytes PackBlock(base::ByteView data, int level = 9, PackProgress progress = nullptr,
                      void* context = nullptr);

}  // namespace installer
