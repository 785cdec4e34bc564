#pragma once
// BMP pictures: BMP files and packed DIBs (a BITMAP resource is a packed
// DIB: a BMP file without its 14-byte file header) in, 24- and 32-bit BMP
// files out.
//
// Read: BITMAPCOREHEADER, BITMAPINFOHEADER, V2/V3, V4 and V5 headers; 1, 4
// and 8 bits with palettes, 16 bits (5-5-5 or bit fields), 24 and 32 bits
// (the fourth byte is not colour); bottom-up and top-down rows; BI_RGB,
// BI_BITFIELDS, BI_RLE8 and BI_RLE4; and BI_PNG, the form the programs' own
// pictures take (resources/pack_picture.py): biBitCount 0, the pixel data
// biSizeImage bytes of a PNG (png_codec.h) whose width and height must be
// the header's. Like every compressed DIB it must have a positive height;
// its rows are the PNG's, top-down as that format has them.
//
// Nothing read from the input is trusted: a size that the data cannot back
// and anything malformed throw base::Error "Bitmap image is not valid"
// before a byte outside the input is read (a palette index past a BMP
// palette's end is black; past a PNG's, it is refused, as that format
// says). Sides above kMaxBmpSide, or more than kMaxBmpPixels pixels, are
// refused too, so that a few bytes cannot make the reader allocate
// gigabytes.
#include <cstddef>

#include "base/bytes.h"
#include "framework/graphics/bitmap.h"

namespace graphics {

inline constexpr int kMaxBmpSide = kMaxBitmapSide;
inline constexpr std::size_t kMaxBmpPixels = std::size_t{1} << 26;  // 256 MiB of pixels

// A whole BMP file, starting with "BM". The pixels are found at the file
// header's offset.
TBitmap ReadBmp(base::ByteView file);

// The width and height a BMP file would decode to, from its headers alone
// (no pixels are allocated; a PNG inside is not looked at, ReadBmp refuses
// one of another size); throws as ReadBmp does for headers it refuses. For
// callers that budget memory across many pictures.
TPictureSize ReadBmpSize(base::ByteView file);

// A packed DIB: header, colour masks (BI_BITFIELDS with a 40-byte header),
// palette and pixels back to back.
TBitmap ReadPackedDib(base::ByteView dib);

// A BMP file of the bitmap: BITMAPINFOHEADER, BI_RGB, rows bottom-up, 24 or
// 32 bits per pixel (the fourth byte 0). Other depths throw base::Error.
base::Bytes WriteBmp(const TBitmap& bitmap, int bits_per_pixel = 24);

}  // namespace graphics
