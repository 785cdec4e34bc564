#include "framework/graphics/bmp_codec.h"

#include <bit>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "base/error.h"
#include "framework/graphics/png_codec.h"

namespace graphics {
namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiPng = 5;

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;

[[noreturn]] void Invalid() { throw base::Error("Bitmap image is not valid"); }

// Bounds-checked reads: every access to the input goes through here.
class Reader {
public:
  explicit Reader(base::ByteView data) : data_(data) {}
  std::size_t size() const { return data_.size(); }
  bool Has(std::size_t pos, std::size_t count) const {
    return pos <= data_.size() && count <= data_.size() - pos;
  }
  std::uint8_t U8(std::size_t pos) const {
    if (!Has(pos, 1)) Invalid();
    return data_[pos];
  }
  std::uint16_t U16(std::size_t pos) const {
    if (!Has(pos, 2)) Invalid();
    return base::GetU16(data_.data() + pos);
  }
  std::uint32_t U32(std::size_t pos) const {
    if (!Has(pos, 4)) Invalid();
    return base::GetU32(data_.data() + pos);
  }
  std::int32_t I32(std::size_t pos) const { return static_cast<std::int32_t>(U32(pos)); }
  const std::uint8_t* At(std::size_t pos, std::size_t count) const {
    if (!Has(pos, count)) Invalid();
    return data_.data() + pos;
  }

private:
  base::ByteView data_;
};

// One colour channel of a bit-field pixel.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint32_t max = 0;  // the largest value of the field
  int bits = 0;

  static Channel FromMask(std::uint32_t mask) {
    Channel c;
    c.mask = mask;
    if (mask == 0) return c;
    c.shift = std::countr_zero(mask);
    c.bits = std::popcount(mask);
    // A field with holes in it has no meaningful value.
    if (((mask >> c.shift) & ((mask >> c.shift) + 1)) != 0) Invalid();
    c.max = mask >> c.shift;
    return c;
  }

  std::uint32_t Value8(std::uint32_t pixel) const {
    if (mask == 0) return 0;
    std::uint32_t v = (pixel & mask) >> shift;
    if (bits >= 8) return v >> (bits - 8);
    return (v * 255 + max / 2) / max;  // scaled, so that the field's top is 255
  }
};

struct DibLayout {
  int width = 0;
  int height = 0;
  bool top_down = false;
  int bpp = 0;
  std::uint32_t compression = kBiRgb;
  Channel red, green, blue;
  std::vector<Pixel32> palette;
  std::size_t bits_pos = 0;      // where the pixels begin in the input
  std::uint32_t image_size = 0;  // BI_PNG: the PNG's length
};

// Reads the header, masks and palette starting at header_pos; bits_pos is
// where the pixels are (from a file header), or nothing for a packed DIB,
// whose pixels follow the palette.
DibLayout ReadLayout(const Reader& in, std::size_t header_pos,
                     std::optional<std::size_t> bits_pos) {
  DibLayout d;
  const std::uint32_t header_size = in.U32(header_pos);
  std::size_t palette_entries = 0;
  std::size_t entry_size = 4;
  std::size_t after_header = header_pos + header_size;

  if (header_size == kCoreHeaderSize) {
    d.width = in.U16(header_pos + 4);
    d.height = in.U16(header_pos + 6);
    d.bpp = in.U16(header_pos + 10);
    entry_size = 3;
    if (d.bpp <= 8) palette_entries = std::size_t{1} << d.bpp;
  } else if (header_size == kInfoHeaderSize || header_size == 52 || header_size == 56 ||
             header_size == 108 || header_size == 124) {
    if (!in.Has(header_pos, header_size)) Invalid();
    d.width = in.I32(header_pos + 4);
    std::int32_t height = in.I32(header_pos + 8);
    d.bpp = in.U16(header_pos + 14);
    d.compression = in.U32(header_pos + 16);
    d.image_size = in.U32(header_pos + 20);
    std::uint32_t colours_used = in.U32(header_pos + 32);
    if (height < 0) {
      if (height == std::numeric_limits<std::int32_t>::min()) Invalid();
      d.top_down = true;
      height = -height;
    }
    d.height = height;
    if (colours_used > 256) Invalid();
    if (d.compression == kBiPng) {
      // The PNG holds its own palette; one in front of it is skipped.
      palette_entries = colours_used;
    } else if (d.bpp <= 8) {
      std::size_t full = std::size_t{1} << d.bpp;
      if (colours_used > full) Invalid();
      palette_entries = colours_used ? colours_used : full;
    } else {
      // Deep pictures may carry a palette as a hint; it is skipped.
      palette_entries = colours_used;
    }
    if (d.compression == kBiBitfields) {
      // A 40-byte header has the three masks after it; larger ones hold
      // them at the same offset inside.
      std::size_t masks = header_pos + kInfoHeaderSize;
      d.red = Channel::FromMask(in.U32(masks));
      d.green = Channel::FromMask(in.U32(masks + 4));
      d.blue = Channel::FromMask(in.U32(masks + 8));
      if (header_size == kInfoHeaderSize) after_header += 12;
    }
  } else {
    Invalid();
  }

  if (d.width <= 0 || d.height <= 0 || d.width > kMaxBmpSide || d.height > kMaxBmpSide)
    Invalid();
  if (static_cast<std::size_t>(d.width) * static_cast<std::size_t>(d.height) > kMaxBmpPixels)
    Invalid();

  switch (d.compression) {
    case kBiRgb:
      if (d.bpp != 1 && d.bpp != 4 && d.bpp != 8 && d.bpp != 16 && d.bpp != 24 && d.bpp != 32)
        Invalid();
      if (d.bpp == 16) {
        d.red = Channel::FromMask(0x7C00);
        d.green = Channel::FromMask(0x03E0);
        d.blue = Channel::FromMask(0x001F);
      } else if (d.bpp == 32) {
        d.red = Channel::FromMask(0xFF0000);
        d.green = Channel::FromMask(0x00FF00);
        d.blue = Channel::FromMask(0x0000FF);
      }
      break;
    case kBiRle8:
      if (d.bpp != 8 || d.top_down) Invalid();
      break;
    case kBiRle4:
      if (d.bpp != 4 || d.top_down) Invalid();
      break;
    case kBiBitfields:
      if (d.bpp != 16 && d.bpp != 32) Invalid();
      break;
    case kBiPng:
      // A compressed DIB cannot be top-down; the PNG's rows run top-down as
      // its format has them, whatever the header's sign would say.
      if (d.bpp != 0 || d.top_down) Invalid();
      break;
    default:
      Invalid();  // JPEG inside a BMP, and other rarities
  }

  const std::uint8_t* palette = in.At(after_header, palette_entries * entry_size);
  if (d.bpp <= 8 && d.compression != kBiPng) {
    d.palette.resize(palette_entries);
    for (std::size_t i = 0; i < palette_entries; ++i) {
      const std::uint8_t* e = palette + i * entry_size;  // blue, green, red[, reserved]
      d.palette[i] = (Pixel32{e[2]} << 16) | (Pixel32{e[1]} << 8) | e[0];
    }
  }
  d.bits_pos = bits_pos ? *bits_pos : after_header + palette_entries * entry_size;
  if (d.bits_pos > in.size()) Invalid();
  return d;
}

Pixel32 PaletteColour(const DibLayout& d, unsigned index) {
  return index < d.palette.size() ? d.palette[index] : 0;
}

Pixel32 FieldColour(const DibLayout& d, std::uint32_t value) {
  return (d.red.Value8(value) << 16) | (d.green.Value8(value) << 8) | d.blue.Value8(value);
}

void DecodeUncompressed(const Reader& in, const DibLayout& d, TBitmap& out) {
  const std::uint64_t row_bits = static_cast<std::uint64_t>(d.width) * d.bpp;
  const std::uint64_t stride = (row_bits + 31) / 32 * 4;
  // The last row's padding may be missing; its pixels may not.
  const std::uint64_t need = stride * (d.height - 1) + (row_bits + 7) / 8;
  if (need > in.size() - d.bits_pos) Invalid();
  const std::uint8_t* bits = in.At(d.bits_pos, static_cast<std::size_t>(need));

  for (int r = 0; r < d.height; ++r) {
    const std::uint8_t* src = bits + static_cast<std::size_t>(stride) * r;
    Pixel32* dst = out.Row(d.top_down ? r : d.height - 1 - r);
    for (int x = 0; x < d.width; ++x) {
      switch (d.bpp) {
        case 1:
          dst[x] = PaletteColour(d, (src[x >> 3] >> (7 - (x & 7))) & 1);
          break;
        case 4:
          dst[x] = PaletteColour(d, (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF);
          break;
        case 8:
          dst[x] = PaletteColour(d, src[x]);
          break;
        case 16:
          dst[x] = FieldColour(d, base::GetU16(src + 2 * x));
          break;
        case 24: {
          const std::uint8_t* p = src + 3 * x;
          dst[x] = (Pixel32{p[2]} << 16) | (Pixel32{p[1]} << 8) | p[0];
          break;
        }
        default:
          dst[x] = FieldColour(d, base::GetU32(src + 4 * x));
          break;
      }
    }
  }
}

// Run-length encoded pictures (always bottom-up). Pixels that the encoding
// skips (line ends, deltas) stay black; pixels past the right edge are
// dropped. The data must end with the end-of-bitmap mark.
void DecodeRle(const Reader& in, const DibLayout& d, TBitmap& out) {
  const bool four = d.compression == kBiRle4;
  std::size_t p = d.bits_pos;
  long long x = 0;
  long long row = 0;  // counted from the bottom
  auto put = [&](unsigned index) {
    if (x < d.width && row < d.height) {
      out.Row(d.height - 1 - static_cast<int>(row))[x] = PaletteColour(d, index);
    }
    ++x;
  };
  for (;;) {
    const std::uint8_t count = in.U8(p);
    const std::uint8_t value = in.U8(p + 1);
    p += 2;
    if (count > 0) {  // a run of one index (RLE4: two alternating indices)
      for (unsigned i = 0; i < count; ++i) {
        put(four ? ((i & 1) ? value & 0xF : value >> 4) : value);
      }
      continue;
    }
    switch (value) {
      case 0:  // end of line
        x = 0;
        ++row;
        break;
      case 1:  // end of bitmap
        return;
      case 2:  // delta
        x += in.U8(p);
        row += in.U8(p + 1);
        p += 2;
        break;
      default: {  // literal indices, padded to a 16-bit boundary
        const std::size_t bytes = four ? (value + 1u) / 2 : value;
        const std::uint8_t* literal = in.At(p, bytes + (bytes & 1));
        for (unsigned i = 0; i < value; ++i) {
          put(four ? ((i & 1) ? literal[i / 2] & 0xF : literal[i / 2] >> 4) : literal[i]);
        }
        p += bytes + (bytes & 1);
        break;
      }
    }
  }
}

// A PNG as the pixels: biSizeImage bytes of it, which must make a picture of
// the header's size (checked before its pixels are allocated, so that the
// header's size is what a caller budgets with ReadBmpSize).
TBitmap DecodePng(const Reader& in, const DibLayout& d, base::ByteView data) {
  if (!in.Has(d.bits_pos, d.image_size)) Invalid();
  const base::ByteView png = data.subspan(d.bits_pos, d.image_size);
  const TPictureSize size = ReadPngSize(png);
  if (size.width != d.width || size.height != d.height) Invalid();
  return ReadPng(png);
}

TBitmap Decode(base::ByteView data, std::size_t header_pos, std::optional<std::size_t> bits_pos) {
  Reader in(data);
  DibLayout d = ReadLayout(in, header_pos, bits_pos);
  if (d.compression == kBiPng) return DecodePng(in, d, data);
  TBitmap out(d.width, d.height);
  if (d.compression == kBiRle8 || d.compression == kBiRle4) {
    DecodeRle(in, d, out);
  } else {
    DecodeUncompressed(in, d, out);
  }
  return out;
}

}  // namespace

TBitmap ReadBmp(base::ByteView file) {
  Reader in(file);
  if (!in.Has(0, kFileHeaderSize) || file[0] != 'B' || file[1] != 'M') Invalid();
  return Decode(file, kFileHeaderSize, in.U32(10));
}

TPictureSize ReadBmpSize(base::ByteView file) {
  Reader in(file);
  if (!in.Has(0, kFileHeaderSize) || file[0] != 'B' || file[1] != 'M') Invalid();
  const DibLayout d = ReadLayout(in, kFileHeaderSize, in.U32(10));
  return {d.width, d.height};
}

TBitmap ReadPackedDib(base::ByteView dib) { return Decode(dib, 0, std::nullopt); }

base::Bytes WriteBmp(const TBitmap& bitmap, int bits_per_pixel) {
  if (bits_per_pixel != 24 && bits_per_pixel != 32) throw base::Error("Unsupported bitmap depth");
  const std::size_t width = static_cast<std::size_t>(bitmap.Width());
  const std::size_t height = static_cast<std::size_t>(bitmap.Height());
  const std::size_t stride = (width * bits_per_pixel + 31) / 32 * 4;
  const std::size_t offset = kFileHeaderSize + kInfoHeaderSize;
  const std::size_t image_size = stride * height;

  base::Bytes out(offset + image_size, 0);
  std::uint8_t* h = out.data();
  h[0] = 'B';
  h[1] = 'M';
  base::PutU32(h + 2, static_cast<std::uint32_t>(out.size()));
  base::PutU32(h + 10, static_cast<std::uint32_t>(offset));
  std::uint8_t* info = h + kFileHeaderSize;
  base::PutU32(info, kInfoHeaderSize);
  base::PutU32(info + 4, static_cast<std::uint32_t>(width));
  base::PutU32(info + 8, static_cast<std::uint32_t>(height));  // positive: bottom-up
  base::PutU16(info + 12, 1);
  base::PutU16(info + 14, static_cast<std::uint16_t>(bits_per_pixel));
  base::PutU32(info + 16, kBiRgb);
  base::PutU32(info + 20, static_cast<std::uint32_t>(image_size));
  base::PutU32(info + 24, 2835);  // 72 dpi, in pixels per metre
  base::PutU32(info + 28, 2835);

  const std::size_t bytes_per_pixel = static_cast<std::size_t>(bits_per_pixel) / 8;
  for (std::size_t y = 0; y < height; ++y) {
    const Pixel32* src = bitmap.Row(static_cast<int>(y));
    std::uint8_t* dst = out.data() + offset + (height - 1 - y) * stride;
    for (std::size_t x = 0; x < width; ++x) {
      std::uint8_t* p = dst + x * bytes_per_pixel;
      p[0] = static_cast<std::uint8_t>(src[x]);
      p[1] = static_cast<std::uint8_t>(src[x] >> 8);
      p[2] = static_cast<std::uint8_t>(src[x] >> 16);
    }
  }
  return out;
}

}  // namespace graphics
