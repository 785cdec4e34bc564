#pragma once
// PNG pictures in, inflated with zlib: what a lossless encoder of opaque
// pictures writes, which is how the programs carry their pictures (a
// BITMAP resource whose DIB says BI_PNG, see bmp_codec.h).
//
// Read: greyscale (colour type 0) at 1, 2, 4 and 8 bits, RGB (type 2) at 8
// bits and palette pictures (type 3) at 1, 2, 4 and 8 bits; not interlaced.
// Alpha (types 4 and 6), 16-bit samples and interlacing are refused, as is
// anything the format forbids. Ancillary chunks (transparency, gamma,
// colour profiles, text) are skipped after their CRC is checked: the
// toolkit's bitmaps are opaque and their colours uncorrected. Reading stops
// at IEND; nothing after it is examined.
//
// Nothing read from the input is trusted: every chunk must lie inside the
// input with its CRC right, IHDR must be first and sound, the inflated data
// must be exactly the rows IHDR promises (a short or an overlong stream is
// refused, and zlib checks its Adler-32), every row's filter type must be
// 0-4 and every palette index inside the palette. Any fault throws
// base::Error "Bitmap image is not valid" without reading outside the
// input. Sides above kMaxBitmapSide, or more than kMaxPngPixels pixels, are
// refused before anything is allocated; the rows are inflated one at a
// time into the bitmap, so a picture costs its bitmap and two rows.
#include <cstddef>

#include "base/bytes.h"
#include "framework/graphics/bitmap.h"

namespace graphics {

inline constexpr std::size_t kMaxPngPixels = std::size_t{1} << 26;  // 256 MiB of pixels

TBitmap ReadPng(base::ByteView data);

// The width and height from the signature and IHDR alone (no pixels are
// allocated, nothing after IHDR is read); throws as ReadPng does for a
// start it refuses.
TPictureSize ReadPngSize(base::ByteView data);

}  // namespace graphics
