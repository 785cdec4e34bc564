// BMP reading and writing: every depth and header the reader takes, the
// layouts of files and packed DIBs, run-length encoding, and damaged input,
// which must fail cleanly without reading past the end (ASan watches).
#include "framework/graphics/bmp_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "base/error.h"
#include "graphics_test_support.h"

namespace {

using base::Bytes;
using graphics::TBitmap;
using graphics::TColor;
using testing_support::Coord;
using testing_support::CoordBitmap;

// A DIB described field by field; ToPacked()/ToFile() lay it out.
struct Dib {
  std::uint32_t header_size = 40;
  std::int32_t width = 0;
  std::int32_t height = 0;  // negative: top-down
  std::uint16_t bpp = 24;
  std::uint32_t compression = 0;
  std::uint32_t colours_used = 0;
  std::vector<std::uint32_t> masks;    // written after a 40-byte header, or inside larger ones
  std::vector<std::uint32_t> palette;  // 0x00RRGGBB
  Bytes bits;

  Bytes Header() const {
    // Room for every field; an unknown short size cuts them off at the end.
    Bytes h(std::max<std::uint32_t>(header_size, 40), 0);
    base::PutU32(h.data(), header_size);
    if (header_size == 12) {
      base::PutU16(h.data() + 4, static_cast<std::uint16_t>(width));
      base::PutU16(h.data() + 6, static_cast<std::uint16_t>(height));
      base::PutU16(h.data() + 8, 1);
      base::PutU16(h.data() + 10, bpp);
      h.resize(12);
      return h;
    }
    base::PutU32(h.data() + 4, static_cast<std::uint32_t>(width));
    base::PutU32(h.data() + 8, static_cast<std::uint32_t>(height));
    base::PutU16(h.data() + 12, 1);
    base::PutU16(h.data() + 14, bpp);
    base::PutU32(h.data() + 16, compression);
    base::PutU32(h.data() + 20, static_cast<std::uint32_t>(bits.size()));
    base::PutU32(h.data() + 32, colours_used);
    if (header_size > 40) {
      for (std::size_t i = 0; i < masks.size(); ++i) base::PutU32(h.data() + 40 + 4 * i, masks[i]);
    }
    h.resize(header_size);
    return h;
  }

  Bytes Tables() const {
    Bytes t;
    if (header_size == 40) {
      for (std::uint32_t m : masks) {
        t.resize(t.size() + 4);
        base::PutU32(t.data() + t.size() - 4, m);
      }
    }
    for (std::uint32_t c : palette) {
      t.push_back(static_cast<std::uint8_t>(c));
      t.push_back(static_cast<std::uint8_t>(c >> 8));
      t.push_back(static_cast<std::uint8_t>(c >> 16));
      if (header_size != 12) t.push_back(0);
    }
    return t;
  }

  Bytes ToPacked() const {
    Bytes out = Header();
    Bytes t = Tables();
    out.insert(out.end(), t.begin(), t.end());
    out.insert(out.end(), bits.begin(), bits.end());
    return out;
  }

  // gap: bytes between the tables and the pixels, which only the file
  // header's offset can find.
  Bytes ToFile(std::size_t gap = 0) const {
    Bytes dib = Header();
    Bytes t = Tables();
    dib.insert(dib.end(), t.begin(), t.end());
    dib.insert(dib.end(), gap, 0xEE);
    Bytes out(14 + dib.size() + bits.size(), 0);
    out[0] = 'B';
    out[1] = 'M';
    base::PutU32(out.data() + 2, static_cast<std::uint32_t>(out.size()));
    base::PutU32(out.data() + 10, static_cast<std::uint32_t>(14 + dib.size()));
    std::copy(bits.begin(), bits.end(), std::copy(dib.begin(), dib.end(), out.begin() + 14));
    return out;
  }
};

// Rows of packed bits, each padded to 4 bytes; pack(row, bytes) fills one.
Bytes Rows(int height, std::size_t row_bytes,
           const std::function<void(int, std::uint8_t*)>& pack) {
  std::size_t stride = (row_bytes + 3) / 4 * 4;
  Bytes out(stride * height, 0);
  for (int r = 0; r < height; ++r) pack(r, out.data() + stride * r);
  return out;
}

std::string ErrorOf(const Bytes& data, bool file = true) {
  try {
    if (file) {
      graphics::ReadBmp(data);
    } else {
      graphics::ReadPackedDib(data);
    }
  } catch (const base::Error& e) {
    return e.what();
  }
  return "no error";
}

void ExpectSame(const TBitmap& a, const TBitmap& b) {
  ASSERT_EQ(a.Width(), b.Width());
  ASSERT_EQ(a.Height(), b.Height());
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) {
      ASSERT_EQ(a.Pixel(x, y), b.Pixel(x, y)) << "at " << x << "," << y;
    }
  }
}

constexpr char kInvalid[] = "Bitmap image is not valid";

TEST(BmpWrite, TwentyFourAndThirtyTwoBitsRoundTrip) {
  TBitmap picture = CoordBitmap(7, 5);  // 21 bytes a row: padded to 24
  for (int bpp : {24, 32}) {
    Bytes file = graphics::WriteBmp(picture, bpp);
    const std::size_t stride = bpp == 24 ? 24 : 28;
    ASSERT_EQ(file.size(), 54 + stride * 5);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(base::GetU32(file.data() + 2), file.size());
    EXPECT_EQ(base::GetU32(file.data() + 10), 54u);
    EXPECT_EQ(base::GetU32(file.data() + 14), 40u);
    EXPECT_EQ(static_cast<std::int32_t>(base::GetU32(file.data() + 22)), 5);  // bottom-up
    EXPECT_EQ(base::GetU16(file.data() + 28), bpp);
    // The first stored row is the bottom one, blue first.
    EXPECT_EQ(file[54], 0x80);
    EXPECT_EQ(file[55], 4);  // green = y = 4
    EXPECT_EQ(file[56], 0);  // red = x = 0
    ExpectSame(graphics::ReadBmp(file), picture);
  }
  EXPECT_EQ(ErrorOf(graphics::WriteBmp(TBitmap(0, 0))), kInvalid);
  EXPECT_THROW(graphics::WriteBmp(picture, 16), base::Error);
}

TEST(BmpRead, OneBitWithPalette) {
  Dib d;
  d.width = 10;
  d.height = 3;
  d.bpp = 1;
  d.palette = {0x102030, 0xA0B0C0};
  // Stored bottom-up: stored row r is picture row 2 - r; bit 7 first.
  d.bits = Rows(3, 2, [](int r, std::uint8_t* p) {
    p[0] = r == 0 ? 0xAA : r == 1 ? 0xFF : 0x00;
    p[1] = r == 0 ? 0x80 : r == 1 ? 0x40 : 0xC0;
  });
  TBitmap b = graphics::ReadBmp(d.ToFile());
  ASSERT_EQ(b.Width(), 10);
  const TColor c0 = graphics::PixelToColor(0x102030), c1 = graphics::PixelToColor(0xA0B0C0);
  for (int x = 0; x < 8; ++x) {
    EXPECT_EQ(b.Pixel(x, 2), x % 2 == 0 ? c1 : c0);
    EXPECT_EQ(b.Pixel(x, 1), c1);
    EXPECT_EQ(b.Pixel(x, 0), c0);
  }
  EXPECT_EQ(b.Pixel(8, 2), c1);
  EXPECT_EQ(b.Pixel(9, 2), c0);
  EXPECT_EQ(b.Pixel(8, 1), c0);
  EXPECT_EQ(b.Pixel(9, 1), c1);
  EXPECT_EQ(b.Pixel(8, 0), c1);
  EXPECT_EQ(b.Pixel(9, 0), c1);
}

TEST(BmpRead, FourBitsOddWidthAndIndexesPastTheColoursUsed) {
  Dib d;
  d.width = 5;
  d.height = -2;  // top-down
  d.bpp = 4;
  d.colours_used = 3;
  d.palette = {0x0000FF, 0x00FF00, 0xFF0000};
  d.bits = Rows(2, 3, [](int r, std::uint8_t* p) {
    if (r == 0) {
      p[0] = 0x01;
      p[1] = 0x21;
      p[2] = 0x30;  // index 3 is past the three colours: black
    } else {
      p[0] = 0x22;
      p[1] = 0x22;
      p[2] = 0x2F;  // the low nibble is past the width
    }
  });
  TBitmap b = graphics::ReadBmp(d.ToFile());
  EXPECT_EQ(b.Pixel(0, 0), graphics::clBlue);
  EXPECT_EQ(b.Pixel(1, 0), graphics::clLime);
  EXPECT_EQ(b.Pixel(2, 0), graphics::clRed);
  EXPECT_EQ(b.Pixel(3, 0), graphics::clLime);
  EXPECT_EQ(b.Pixel(4, 0), graphics::clBlack);
  for (int x = 0; x < 5; ++x) EXPECT_EQ(b.Pixel(x, 1), graphics::clRed);
}

TEST(BmpRead, EightBitsTopDownFromAFileAndAPackedDib) {
  Dib d;
  d.width = 3;
  d.height = -3;
  d.bpp = 8;
  for (std::uint32_t i = 0; i < 256; ++i) d.palette.push_back(i * 0x010101);
  d.bits = Rows(3, 3, [](int r, std::uint8_t* p) {
    for (int x = 0; x < 3; ++x) p[x] = static_cast<std::uint8_t>(10 * r + x);
  });
  TBitmap from_file = graphics::ReadBmp(d.ToFile(6));
  TBitmap from_dib = graphics::ReadPackedDib(d.ToPacked());
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 3; ++x) {
      std::uint8_t v = static_cast<std::uint8_t>(10 * y + x);
      EXPECT_EQ(from_file.Pixel(x, y), graphics::RGB(v, v, v));
    }
  }
  ExpectSame(from_file, from_dib);
}

TEST(BmpRead, SixteenBitsFiveFiveFiveAndFiveSixFive) {
  Dib d;
  d.width = 4;
  d.height = 1;
  d.bpp = 16;
  d.bits = Rows(1, 8, [](int, std::uint8_t* p) {
    base::PutU16(p, 0x7FFF);
    base::PutU16(p + 2, 0x7C00);
    base::PutU16(p + 4, 0x0010);  // blue 16 of 31
    base::PutU16(p + 6, 0x8000);  // the top bit is no colour
  });
  TBitmap b = graphics::ReadBmp(d.ToFile());
  EXPECT_EQ(b.Pixel(0, 0), graphics::clWhite);
  EXPECT_EQ(b.Pixel(1, 0), graphics::clRed);
  EXPECT_EQ(b.Pixel(2, 0), graphics::RGB(0, 0, 132));  // 16 * 255 / 31, rounded
  EXPECT_EQ(b.Pixel(3, 0), graphics::clBlack);

  d.compression = 3;  // bit fields, after the 40-byte header
  d.masks = {0xF800, 0x07E0, 0x001F};
  d.bits = Rows(1, 8, [](int, std::uint8_t* p) {
    base::PutU16(p, 0xF800);
    base::PutU16(p + 2, 0x07E0);
    base::PutU16(p + 4, 0x0400);  // green 32 of 63
    base::PutU16(p + 6, 0x001F);
  });
  for (const TBitmap& f : {graphics::ReadBmp(d.ToFile()), graphics::ReadPackedDib(d.ToPacked())}) {
    EXPECT_EQ(f.Pixel(0, 0), graphics::clRed);
    EXPECT_EQ(f.Pixel(1, 0), graphics::clLime);
    EXPECT_EQ(f.Pixel(2, 0), graphics::RGB(0, 130, 0));
    EXPECT_EQ(f.Pixel(3, 0), graphics::clBlue);
  }
}

TEST(BmpRead, ThirtyTwoBitsIgnoreTheFourthByteAndHonourBitFields) {
  Dib d;
  d.width = 2;
  d.height = 1;
  d.bpp = 32;
  d.bits = {0x30, 0x20, 0x10, 0xFF, 0x01, 0x02, 0x03, 0x7F};
  TBitmap b = graphics::ReadBmp(d.ToFile());
  EXPECT_EQ(b.Pixel(0, 0), graphics::RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(b.Row(0)[0], 0x102030u);
  EXPECT_EQ(b.Pixel(1, 0), graphics::RGB(3, 2, 1));

  // A V4 header carries its masks inside: here red in the lowest byte.
  d.header_size = 108;
  d.compression = 3;
  d.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
  TBitmap v4 = graphics::ReadPackedDib(d.ToPacked());
  EXPECT_EQ(v4.Pixel(0, 0), graphics::RGB(0x30, 0x20, 0x10));
  EXPECT_EQ(v4.Pixel(1, 0), graphics::RGB(1, 2, 3));
}

TEST(BmpRead, V5AndCoreHeaders) {
  Dib v5;
  v5.header_size = 124;
  v5.width = 2;
  v5.height = -2;
  v5.bpp = 24;
  v5.bits = Rows(2, 6, [](int r, std::uint8_t* p) {
    for (int x = 0; x < 2; ++x) {
      p[3 * x] = 0x80;
      p[3 * x + 1] = static_cast<std::uint8_t>(r);
      p[3 * x + 2] = static_cast<std::uint8_t>(x);
    }
  });
  ExpectSame(graphics::ReadPackedDib(v5.ToPacked()), CoordBitmap(2, 2));
  ExpectSame(graphics::ReadBmp(v5.ToFile()), CoordBitmap(2, 2));

  Dib core;  // palette entries of three bytes
  core.header_size = 12;
  core.width = 2;
  core.height = 2;
  core.bpp = 8;
  for (std::uint32_t i = 0; i < 256; ++i) core.palette.push_back(i << 16);
  core.bits = Rows(2, 2, [](int r, std::uint8_t* p) {
    p[0] = static_cast<std::uint8_t>(r);
    p[1] = 200;
  });
  for (const TBitmap& b : {graphics::ReadPackedDib(core.ToPacked()),
                           graphics::ReadBmp(core.ToFile())}) {
    EXPECT_EQ(b.Pixel(0, 1), graphics::RGB(0, 0, 0));
    EXPECT_EQ(b.Pixel(0, 0), graphics::RGB(1, 0, 0));
    EXPECT_EQ(b.Pixel(1, 0), graphics::RGB(200, 0, 0));
  }
}

TEST(BmpRead, PackedDibSkipsThePaletteHintOfDeepPictures) {
  Dib d;
  d.width = 1;
  d.height = 1;
  d.bpp = 24;
  d.colours_used = 2;
  d.palette = {0xFFFFFF, 0xFFFFFF};
  d.bits = {0x33, 0x22, 0x11, 0};
  EXPECT_EQ(graphics::ReadPackedDib(d.ToPacked()).Pixel(0, 0), graphics::RGB(0x11, 0x22, 0x33));
}

TEST(BmpRead, TheLastRowMayLackItsPadding) {
  Dib d;
  d.width = 1;
  d.height = 2;
  d.bpp = 24;
  d.bits = {1, 2, 3, 0, 4, 5, 6};
  TBitmap b = graphics::ReadBmp(d.ToFile());
  EXPECT_EQ(b.Pixel(0, 0), graphics::RGB(6, 5, 4));
  EXPECT_EQ(b.Pixel(0, 1), graphics::RGB(3, 2, 1));
}

TEST(BmpRead, RunLengthEncodedEightBits) {
  Dib d;
  d.width = 6;
  d.height = 4;
  d.bpp = 8;
  d.compression = 1;
  for (std::uint32_t i = 0; i < 256; ++i) d.palette.push_back(i);  // blue = index
  d.bits = {
      3, 7,             // bottom row: 7 7 7
      0, 3, 1, 2, 3, 0, // literal 1 2 3, padded
      0, 0,             // end of line
      0, 2, 2, 1,       // delta: right 2, up 1 (row 2 from the bottom, x = 2)
      2, 9,             // 9 9 at x = 2..3
      0, 0,             // end of line (row 3 from the bottom = picture row 0)
      8, 5,             // eight 5s: the last two fall past the right edge
      0, 1,             // end of bitmap
  };
  TBitmap b = graphics::ReadBmp(d.ToFile());
  auto blue = [&](int x, int y) { return graphics::GetBValue(b.Pixel(x, y)); };
  const int bottom[6] = {7, 7, 7, 1, 2, 3};
  for (int x = 0; x < 6; ++x) EXPECT_EQ(blue(x, 3), bottom[x]);
  for (int x = 0; x < 6; ++x) EXPECT_EQ(blue(x, 2), 0);  // skipped by end of line
  const int skipped[6] = {0, 0, 9, 9, 0, 0};
  for (int x = 0; x < 6; ++x) EXPECT_EQ(blue(x, 1), skipped[x]) << x;
  for (int x = 0; x < 6; ++x) EXPECT_EQ(blue(x, 0), 5);
}

TEST(BmpRead, RunLengthEncodedFourBits) {
  Dib d;
  d.width = 5;
  d.height = 1;
  d.bpp = 4;
  d.compression = 2;
  for (std::uint32_t i = 0; i < 16; ++i) d.palette.push_back(i);
  d.bits = {
      3, 0x12,          // 1 2 1
      0, 3, 0x45, 0x60, // literal 4 5 6: two bytes, already even
      0, 1,
  };
  TBitmap b = graphics::ReadPackedDib(d.ToPacked());
  const int expected[5] = {1, 2, 1, 4, 5};
  for (int x = 0; x < 5; ++x) EXPECT_EQ(graphics::GetBValue(b.Pixel(x, 0)), expected[x]);
}

TEST(BmpRead, MalformedHeadersAreRefused) {
  Dib good;
  good.width = 2;
  good.height = 2;
  good.bits = Bytes(16, 0);
  EXPECT_EQ(ErrorOf(good.ToFile()), "no error");

  EXPECT_EQ(ErrorOf({}), kInvalid);
  EXPECT_EQ(ErrorOf({'B', 'M'}), kInvalid);
  EXPECT_EQ(ErrorOf({}, false), kInvalid);
  Bytes magic = good.ToFile();
  magic[0] = 'P';
  EXPECT_EQ(ErrorOf(magic), kInvalid);

  auto with = [&](const std::function<void(Dib&)>& change) {
    Dib d = good;
    change(d);
    return ErrorOf(d.ToFile());
  };
  EXPECT_EQ(with([](Dib& d) { d.header_size = 20; }), kInvalid);
  EXPECT_EQ(with([](Dib& d) { d.width = 0; }), kInvalid);
  EXPECT_EQ(with([](Dib& d) { d.width = -2; }), kInvalid);
  EXPECT_EQ(with([](Dib& d) { d.height = 0; }), kInvalid);
  EXPECT_EQ(with([](Dib& d) { d.height = INT32_MIN; }), kInvalid);
  EXPECT_EQ(with([](Dib& d) { d.bpp = 7; }), kInvalid);
  EXPECT_EQ(with([](Dib& d) { d.bpp = 64; }), kInvalid);
  EXPECT_EQ(with([](Dib& d) { d.compression = 4; }), kInvalid);  // JPEG inside
  EXPECT_EQ(with([](Dib& d) { d.compression = 1; }), kInvalid);  // RLE8 needs 8 bits
  EXPECT_EQ(with([](Dib& d) { d.compression = 3; }), kInvalid);  // bit fields need 16 or 32
  EXPECT_EQ(with([](Dib& d) {
              d.bpp = 8;
              d.compression = 1;
              d.height = -2;  // run-length pictures are never top-down
              d.bits = {0, 1};
            }),
            kInvalid);
  EXPECT_EQ(with([](Dib& d) {
              d.bpp = 8;
              d.colours_used = 257;
            }),
            kInvalid);
  EXPECT_EQ(with([](Dib& d) {
              d.bpp = 1;
              d.colours_used = 3;  // more than a 1-bit index can name
              d.palette = {0, 0, 0};
            }),
            kInvalid);
  EXPECT_EQ(with([](Dib& d) {
              d.bpp = 32;
              d.compression = 3;
              d.masks = {0x00FF00FF, 0x0000FF00, 0};  // a field with a hole
            }),
            kInvalid);
  // Sides and pixel counts that would make a few bytes allocate gigabytes.
  EXPECT_EQ(with([](Dib& d) { d.width = graphics::kMaxBmpSide + 1; }), kInvalid);
  EXPECT_EQ(with([](Dib& d) {
              d.width = graphics::kMaxBmpSide;
              d.height = graphics::kMaxBmpSide;
            }),
            kInvalid);

  Bytes offset = good.ToFile();
  base::PutU32(offset.data() + 10, static_cast<std::uint32_t>(offset.size() + 1));
  EXPECT_EQ(ErrorOf(offset), kInvalid);
  base::PutU32(offset.data() + 10, 0xFFFFFFF0u);
  EXPECT_EQ(ErrorOf(offset), kInvalid);
}

TEST(BmpRead, EveryTruncationFailsUntilThePixelsAreComplete) {
  Dib d;
  d.width = 5;  // 15 bytes a row, padded to 16
  d.height = 3;
  d.bpp = 8;
  for (std::uint32_t i = 0; i < 256; ++i) d.palette.push_back(i);
  d.bits = Rows(3, 5, [](int r, std::uint8_t* p) {
    for (int x = 0; x < 5; ++x) p[x] = static_cast<std::uint8_t>(r * 5 + x);
  });
  const Bytes file = d.ToFile();
  const std::size_t complete = file.size() - 3;  // the last row's padding may go
  for (std::size_t n = 0; n < file.size(); ++n) {
    Bytes cut(file.begin(), file.begin() + n);
    EXPECT_EQ(ErrorOf(cut), n < complete ? kInvalid : "no error") << n;
  }
  const Bytes packed = d.ToPacked();
  for (std::size_t n = 0; n < packed.size() - 3; ++n) {
    EXPECT_EQ(ErrorOf(Bytes(packed.begin(), packed.begin() + n), false), kInvalid) << n;
  }
}

TEST(BmpRead, RunLengthDataMustEndWithItsMark) {
  Dib d;
  d.width = 4;
  d.height = 2;
  d.bpp = 8;
  d.compression = 1;
  d.colours_used = 2;
  d.palette = {0, 0xFFFFFF};
  d.bits = {4, 1, 0, 0, 0, 4, 1, 1, 1, 1, 0, 1};
  const Bytes file = d.ToFile();
  EXPECT_EQ(ErrorOf(file), "no error");
  const std::size_t pixels = file.size() - d.bits.size();
  for (std::size_t n = pixels; n < file.size(); ++n) {
    EXPECT_EQ(ErrorOf(Bytes(file.begin(), file.begin() + n)), kInvalid) << n;
  }
  // A literal run that claims more bytes than there are.
  d.bits = {0, 200, 1, 1};
  EXPECT_EQ(ErrorOf(d.ToFile()), kInvalid);
}

}  // namespace
