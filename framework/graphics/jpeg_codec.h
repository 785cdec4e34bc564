#pragma once
// JPEG pictures in, through libjpeg. Greyscale, YCbCr/RGB and CMYK/YCCK
// (Adobe's inverted CMYK when an Adobe marker is present, as Photoshop
// writes it) become 24-bit colour.
//
// Errors that libjpeg reports (not a JPEG, a broken header, an unsupported
// process) throw base::Error "JPEG error: <libjpeg's message>". Damage that
// libjpeg only warns about, such as data that ends inside the scan, is not
// an error: the picture decodes as far as the data goes and the rest is
// libjpeg's grey, the way image viewers show a cut-off download. Sides
// above kMaxBitmapSide or more than kMaxJpegPixels pixels are refused
// before anything is allocated.
#include <cstddef>

#include "base/bytes.h"
#include "framework/graphics/bitmap.h"

namespace graphics {

inline constexpr std::size_t kMaxJpegPixels = std::size_t{1} << 26;

TBitmap ReadJpeg(base::ByteView data);

}  // namespace graphics
