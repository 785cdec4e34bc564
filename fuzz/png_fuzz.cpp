// The PNG reader on arbitrary bytes. The invariants:
//   - only base::Error comes out, and nothing is read outside the input
//     (the sanitizers watch);
//   - ReadPngSize refuses what ReadPng refuses at its start, and agrees
//     with the sides of every picture ReadPng decodes;
//   - the same bytes as the pixels of a BI_PNG DIB of the PNG's size decode
//     through ReadPackedDib to the same picture, and fail where ReadPng
//     fails.
// That the pixels are right is the unit tests' and the picture pin test's
// business (every built-in picture against its source).
// Each input is tried as it is and with every whole chunk's CRC made
// right: a mutation nearly always breaks a CRC, and without the second try
// hardly any input would get past the chunk walk to the image data.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "base/bytes.h"
#include "base/error.h"
#include "framework/graphics/bmp_codec.h"
#include "framework/graphics/png_codec.h"

namespace {

bool Decodes(base::ByteView data, graphics::TBitmap& out) {
  try {
    out = graphics::ReadPng(data);
    return true;
  } catch (const base::Error&) {
    return false;
  }
}

bool SameBitmaps(const graphics::TBitmap& a, const graphics::TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y) {
    if (std::memcmp(a.Row(y), b.Row(y), sizeof(graphics::Pixel32) * a.Width()) != 0) return false;
  }
  return true;
}

base::Bytes PngDib(base::ByteView png, int width, int height) {
  base::Bytes dib(40, 0);
  base::PutU32(dib.data(), 40);
  base::PutU32(dib.data() + 4, static_cast<std::uint32_t>(width));
  base::PutU32(dib.data() + 8, static_cast<std::uint32_t>(height));
  base::PutU16(dib.data() + 12, 1);
  base::PutU32(dib.data() + 16, 5);  // BI_PNG, biBitCount 0
  base::PutU32(dib.data() + 20, static_cast<std::uint32_t>(png.size()));
  dib.insert(dib.end(), png.begin(), png.end());
  return dib;
}

// The input with the CRC of every chunk that lies whole inside it
// recomputed (after the 8-byte signature, whatever those bytes are).
base::Bytes WithRightCrcs(base::ByteView input) {
  base::Bytes out(input.begin(), input.end());
  for (std::size_t pos = 8; pos <= out.size() && out.size() - pos >= 12;) {
    const std::uint32_t length = base::GetU32Be(out.data() + pos);
    if (length > out.size() - pos - 12) break;
    const uLong crc = crc32(crc32(0, nullptr, 0), out.data() + pos + 4, 4 + length);
    for (int i = 0; i < 4; ++i)
      out[pos + 8 + length + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    pos += 12 + length;
  }
  return out;
}

void Check(base::ByteView input) {
  graphics::TBitmap ours;
  const bool decoded = Decodes(input, ours);

  graphics::TPictureSize sides;
  bool sized = true;
  try {
    sides = graphics::ReadPngSize(input);
  } catch (const base::Error&) {
    sized = false;
  }
  if (decoded && (!sized || sides.width != ours.Width() || sides.height != ours.Height()))
    __builtin_trap();

  if (sized) {
    graphics::TBitmap through_dib;
    bool dib_decoded = true;
    try {
      through_dib = graphics::ReadPackedDib(PngDib(input, sides.width, sides.height));
    } catch (const base::Error&) {
      dib_decoded = false;
    }
    if (dib_decoded != decoded || (decoded && !SameBitmaps(through_dib, ours))) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const base::ByteView input(data, size);
  Check(input);
  if (size >= 8) Check(WithRightCrcs(input));
  return 0;
}
