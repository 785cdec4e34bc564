// PNG reading: every colour type and depth the reader takes, each row
// filter, pictures inside DIBs (BI_PNG), and damaged input of every kind,
// which must be refused cleanly without reading outside it (ASan watches:
// every damaged input is a vector of its own exact size). The pictures are
// made here, chunk by chunk, by a writer of the test's own with zlib's
// deflate; each damaged one is a good one with one thing changed, and the
// good one is shown to decode first.
#include "framework/graphics/png_codec.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "framework/graphics/bmp_codec.h"

namespace {

using base::Bytes;
using graphics::Pixel32;
using graphics::TBitmap;

constexpr char kInvalid[] = "Bitmap image is not valid";

// --------------------------------------------------------------------------
// A PNG writer

void AppendBe32(Bytes& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

Bytes Chunk(std::string_view type, const Bytes& data) {
  Bytes out;
  AppendBe32(out, static_cast<std::uint32_t>(data.size()));
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  const uLong crc = crc32(crc32(0, nullptr, 0), out.data() + 4, static_cast<uInt>(out.size() - 4));
  AppendBe32(out, static_cast<std::uint32_t>(crc));
  return out;
}

Bytes Zlib(const Bytes& data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  Bytes out(size);
  EXPECT_EQ(compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), 9), Z_OK);
  out.resize(size);
  return out;
}

// The predictor of filter 4, written out as the format defines it.
int PaethPredictor(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = p > a ? p - a : a - p;
  const int pb = p > b ? p - b : b - p;
  const int pc = p > c ? p - c : c - p;
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

// A picture described by its samples; Build() lays it out as a PNG.
struct Png {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint8_t depth = 8;
  std::uint8_t colour_type = 2;
  std::uint8_t compression = 0;
  std::uint8_t filter_method = 0;
  std::uint8_t interlace = 0;
  Bytes palette;                      // RGB triples; empty: no PLTE chunk
  std::vector<Bytes> rows;            // each row's samples, packed, unfiltered
  std::vector<std::uint8_t> filters;  // the filter of each row; none given: 0

  std::size_t Step() const {
    const std::size_t bits = std::size_t{depth} * (colour_type == 2 ? 3 : 1);
    return bits < 8 ? 1 : bits / 8;
  }

  Bytes Ihdr() const {
    Bytes d;
    AppendBe32(d, width);
    AppendBe32(d, height);
    d.insert(d.end(), {depth, colour_type, compression, filter_method, interlace});
    return d;
  }

  // Each row as its filter byte and its bytes less the filter's prediction.
  Bytes ImageData() const {
    Bytes out;
    const std::size_t step = Step();
    for (std::size_t y = 0; y < rows.size(); ++y) {
      const std::uint8_t filter = y < filters.size() ? filters[y] : 0;
      const Bytes& row = rows[y];
      out.push_back(filter);
      for (std::size_t i = 0; i < row.size(); ++i) {
        const int a = i >= step ? row[i - step] : 0;
        const int b = y > 0 ? rows[y - 1][i] : 0;
        const int c = i >= step && y > 0 ? rows[y - 1][i - step] : 0;
        int prediction = 0;
        switch (filter) {
          case 1:
            prediction = a;
            break;
          case 2:
            prediction = b;
            break;
          case 3:
            prediction = (a + b) / 2;
            break;
          case 4:
            prediction = PaethPredictor(a, b, c);
            break;
          default:
            break;
        }
        out.push_back(static_cast<std::uint8_t>(row[i] - prediction));
      }
    }
    return out;
  }

  // The chunks in order; tests put others between them.
  Bytes Signature() const { return {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}; }
  Bytes IhdrChunk() const { return Chunk("IHDR", Ihdr()); }
  Bytes PlteChunk() const { return palette.empty() ? Bytes{} : Chunk("PLTE", palette); }
  Bytes IdatChunk() const { return Chunk("IDAT", Zlib(ImageData())); }
  Bytes IendChunk() const { return Chunk("IEND", {}); }

  Bytes Build() const {
    return Join({Signature(), IhdrChunk(), PlteChunk(), IdatChunk(), IendChunk()});
  }

  static Bytes Join(const std::vector<Bytes>& parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
  }
};

// Rows of depth-bit samples, the first in the high bits of each byte;
// sample(x, y) for each of width samples per row.
std::vector<Bytes> PackedRows(std::uint32_t width, std::uint32_t height, int depth,
                              const std::function<unsigned(std::uint32_t, std::uint32_t)>& sample) {
  std::vector<Bytes> rows;
  for (std::uint32_t y = 0; y < height; ++y) {
    Bytes row((width * depth + 7) / 8, 0);
    for (std::uint32_t x = 0; x < width; ++x) {
      const std::size_t bit = std::size_t{x} * depth;
      row[bit / 8] |= static_cast<std::uint8_t>(sample(x, y) << (8 - depth - bit % 8));
    }
    rows.push_back(row);
  }
  return rows;
}

// An RGB picture of bytes that exercise the filters: the Average filter's
// sums pass 255, the Paeth predictor meets ties (between a and b, a and c,
// and b and c, each broken the format's way).
Png RgbPicture(std::uint32_t width, std::uint32_t height) {
  Png p;
  p.width = width;
  p.height = height;
  std::uint32_t seed = 12345;
  for (std::uint32_t y = 0; y < height; ++y) {
    Bytes row;
    for (std::uint32_t x = 0; x < width * 3; ++x) {
      seed = seed * 1103515245u + 12345u;
      // Two rows in three from the values 0-3 only, so that the Paeth
      // predictor's distances tie in every way; the third row random.
      const std::uint8_t v = static_cast<std::uint8_t>(seed >> 16);
      row.push_back(y % 3 ? v % 4 : v);
    }
    p.rows.push_back(row);
  }
  return p;
}

Pixel32 RgbPixel(const Png& p, std::uint32_t x, std::uint32_t y) {
  const std::uint8_t* s = p.rows[y].data() + 3 * x;
  return (Pixel32{s[0]} << 16) | (Pixel32{s[1]} << 8) | s[2];
}

// A palette picture of depth bits: colours spread over the palette's
// entries, index (x + 3y) mod entries.
Png PalettePicture(int depth, std::uint32_t entries, std::uint32_t width = 13,
                   std::uint32_t height = 4) {
  Png p;
  p.width = width;
  p.height = height;
  p.depth = static_cast<std::uint8_t>(depth);
  p.colour_type = 3;
  for (std::uint32_t i = 0; i < entries; ++i) {
    p.palette.insert(p.palette.end(),
                     {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                      static_cast<std::uint8_t>(i * 7)});
  }
  p.rows = PackedRows(width, height, depth, [entries](std::uint32_t x, std::uint32_t y) {
    return (x + 3 * y) % entries;
  });
  return p;
}

Pixel32 PaletteColour(const Png& p, unsigned index) {
  const std::uint8_t* e = p.palette.data() + 3 * index;
  return (Pixel32{e[0]} << 16) | (Pixel32{e[1]} << 8) | e[2];
}

std::string ErrorOf(const Bytes& data) {
  try {
    graphics::ReadPng(data);
  } catch (const base::Error& e) {
    return e.what();
  }
  return "no error";
}

std::uint32_t Be32At(const Bytes& b, std::size_t pos) { return base::GetU32Be(b.data() + pos); }

// --------------------------------------------------------------------------
// Good pictures

// Every pixel of b is want(x, y).
void ExpectPixels(const TBitmap& b, const Png& p,
                  const std::function<Pixel32(std::uint32_t, std::uint32_t)>& want) {
  ASSERT_EQ(b.Width(), static_cast<int>(p.width));
  ASSERT_EQ(b.Height(), static_cast<int>(p.height));
  for (std::uint32_t y = 0; y < p.height; ++y) {
    for (std::uint32_t x = 0; x < p.width; ++x) {
      ASSERT_EQ(b.Row(static_cast<int>(y))[x], want(x, y)) << "at " << x << "," << y;
    }
  }
}

TEST(PngRead, GreyAtEveryDepthScalesToFullRange) {
  for (int depth : {1, 2, 4, 8}) {
    SCOPED_TRACE(depth);
    Png p;
    p.width = 11;  // rows end inside a byte at every depth below 8
    p.height = 3;
    p.depth = static_cast<std::uint8_t>(depth);
    p.colour_type = 0;
    const unsigned levels = 1u << depth;
    auto level = [levels](std::uint32_t x, std::uint32_t y) { return (x * 5 + y) % levels; };
    p.rows = PackedRows(11, 3, depth, level);
    // Bit replication, as the format has it: the top level is 255, each
    // level a multiple of 0xFF, 0x55, 0x11 or 1.
    const unsigned step = depth == 1 ? 0xFF : depth == 2 ? 0x55 : depth == 4 ? 0x11 : 1;
    ExpectPixels(graphics::ReadPng(p.Build()), p,
                 [&](std::uint32_t x, std::uint32_t y) { return level(x, y) * step * 0x010101u; });
  }
}

TEST(PngRead, PaletteAtEveryDepth) {
  for (const auto& [depth, entries] :
       std::vector<std::pair<int, std::uint32_t>>{{1, 2}, {2, 3}, {4, 16}, {8, 200}, {8, 256}}) {
    SCOPED_TRACE(depth);
    const Png p = PalettePicture(depth, entries, 70, 4);  // 70 * 3 > 200: every entry is used
    ExpectPixels(graphics::ReadPng(p.Build()), p, [&](std::uint32_t x, std::uint32_t y) {
      return PaletteColour(p, (x + 3 * y) % entries);
    });
  }
}

// Each filter alone and mixed, on whole pixels of three bytes and on
// samples of one byte or less, which are predicted from the byte before
// (not from a pixel before).
TEST(PngRead, EveryFilter) {
  std::vector<std::vector<std::uint8_t>> sequences = {{4, 3, 2, 1, 0, 4, 3, 2},
                                                      {3, 4, 1, 2, 4, 0, 4, 1}};
  for (std::uint8_t filter = 0; filter <= 4; ++filter) sequences.emplace_back(8, filter);
  Png rgb = RgbPicture(9, 8);
  Png two_bits = PalettePicture(2, 4, 29, 8);
  Png eight_bits = PalettePicture(8, 256, 29, 8);
  for (const auto& filters : sequences) {
    SCOPED_TRACE(::testing::PrintToString(filters));
    rgb.filters = two_bits.filters = eight_bits.filters = filters;
    ExpectPixels(graphics::ReadPng(rgb.Build()), rgb,
                 [&](std::uint32_t x, std::uint32_t y) { return RgbPixel(rgb, x, y); });
    for (const Png* p : {&two_bits, &eight_bits}) {
      const std::uint32_t entries = static_cast<std::uint32_t>(p->palette.size() / 3);
      ExpectPixels(graphics::ReadPng(p->Build()), *p, [&](std::uint32_t x, std::uint32_t y) {
        return PaletteColour(*p, (x + 3 * y) % entries);
      });
    }
  }
}

TEST(PngRead, SplitImageDataAncillaryChunksAndWhatFollowsIend) {
  Png p = RgbPicture(7, 5);
  p.filters = {1, 2, 3, 4, 0};
  const Bytes stream = Zlib(p.ImageData());
  ASSERT_GT(stream.size(), 10u);
  // The stream cut into three IDAT chunks, one of them empty; ancillary
  // chunks before and after the image data; an RGB picture's suggested
  // palette; bytes after IEND that are not looked at.
  const Bytes png =
      Png::Join({p.Signature(), p.IhdrChunk(), Chunk("gAMA", {0, 0, 0xB1, 0x8F}),
                 Chunk("PLTE", {1, 2, 3, 4, 5, 6}), Chunk("tEXt", {'a', 0, 'b'}),
                 Chunk("IDAT", Bytes(stream.begin(), stream.begin() + 3)), Chunk("IDAT", {}),
                 Chunk("IDAT", Bytes(stream.begin() + 3, stream.end())), Chunk("tIME", Bytes(7, 1)),
                 p.IendChunk(), Bytes{0xDE, 0xAD}});
  ExpectPixels(graphics::ReadPng(png), p,
               [&](std::uint32_t x, std::uint32_t y) { return RgbPixel(p, x, y); });
  const graphics::TPictureSize size = graphics::ReadPngSize(png);
  EXPECT_EQ(size.width, 7);
  EXPECT_EQ(size.height, 5);
}

// --------------------------------------------------------------------------
// Damaged pictures

TEST(PngRead, EveryTruncationIsRefused) {
  Png p = PalettePicture(4, 16, 5, 3);
  const Bytes good = p.Build();
  ASSERT_EQ(ErrorOf(good), "no error");
  for (std::size_t n = 0; n < good.size(); ++n) {
    EXPECT_EQ(ErrorOf(Bytes(good.begin(), good.begin() + n)), kInvalid) << n;
  }
  EXPECT_THROW(graphics::ReadPngSize(Bytes(good.begin(), good.begin() + 32)), base::Error);
}

TEST(PngRead, SignatureLengthsTypesAndCrcsAreChecked) {
  Png p = PalettePicture(8, 40);
  const Bytes good = p.Build();
  ASSERT_EQ(ErrorOf(good), "no error");
  for (std::size_t i = 0; i < 8; ++i) {
    Bytes bad = good;
    bad[i] ^= 0x20;
    EXPECT_EQ(ErrorOf(bad), kInvalid) << "signature byte " << i;
  }
  // Walk the chunks; in each, a flipped bit of the data or of the CRC.
  for (std::size_t pos = 8; pos < good.size();) {
    const std::uint32_t length = Be32At(good, pos);
    const std::string type(good.begin() + pos + 4, good.begin() + pos + 8);
    Bytes bad_crc = good;
    bad_crc[pos + 8 + length + 3] ^= 1;
    EXPECT_EQ(ErrorOf(bad_crc), kInvalid) << type << " CRC";
    if (length > 0) {
      Bytes bad_data = good;
      bad_data[pos + 8 + length / 2] ^= 0x10;
      EXPECT_EQ(ErrorOf(bad_data), kInvalid) << type << " data";
    }
    Bytes bad_type = good;
    bad_type[pos + 5] ^= 0x01;  // still a letter; the CRC no longer fits
    EXPECT_EQ(ErrorOf(bad_type), kInvalid) << type << " type";
    // A length one too long (the CRC is then looked for in the wrong place
    // or past the end), and lengths past the format's 2^31 - 1.
    for (std::uint32_t wrong : {length + 1, 0x80000000u + length, 0xFFFFFFFFu}) {
      Bytes bad_length = good;
      for (int i = 0; i < 4; ++i)
        bad_length[pos + i] = static_cast<std::uint8_t>(wrong >> (24 - 8 * i));
      EXPECT_EQ(ErrorOf(bad_length), kInvalid) << type << " length " << wrong;
    }
    pos += 12 + length;
  }
  // Chunk types are letters, even with a right CRC.
  EXPECT_EQ(ErrorOf(Png::Join({p.Signature(), p.IhdrChunk(), Chunk("t3XT", {1}), p.PlteChunk(),
                               p.IdatChunk(), p.IendChunk()})),
            kInvalid);
}

TEST(PngRead, UnsoundHeadersAreRefused) {
  const Png good = PalettePicture(8, 40);
  ASSERT_EQ(ErrorOf(good.Build()), "no error");
  auto with = [&](const std::function<void(Png&)>& change) {
    Png p = good;
    change(p);
    return ErrorOf(p.Build());
  };
  EXPECT_EQ(with([](Png& p) { p.width = 0; }), kInvalid);
  EXPECT_EQ(with([](Png& p) { p.height = 0; }), kInvalid);
  EXPECT_EQ(with([](Png& p) { p.width = 0x80000000u; }), kInvalid);
  // Sides and pixel counts that would make a few bytes allocate gigabytes.
  EXPECT_EQ(with([](Png& p) { p.width = graphics::kMaxBitmapSide + 1; }), kInvalid);
  EXPECT_EQ(with([](Png& p) { p.height = graphics::kMaxBitmapSide + 1; }), kInvalid);
  EXPECT_EQ(with([](Png& p) {
              p.width = graphics::kMaxBitmapSide;
              p.height = graphics::kMaxPngPixels / graphics::kMaxBitmapSide + 1;
            }),
            kInvalid);
  EXPECT_EQ(with([](Png& p) { p.compression = 1; }), kInvalid);
  EXPECT_EQ(with([](Png& p) { p.filter_method = 1; }), kInvalid);
  EXPECT_EQ(with([](Png& p) { p.interlace = 1; }), kInvalid);  // Adam7 is not read
  for (std::uint8_t type : {1, 4, 5, 6, 7}) {
    EXPECT_EQ(with([&](Png& p) { p.colour_type = type; }), kInvalid) << int(type);
  }
  EXPECT_EQ(with([](Png& p) { p.depth = 16; }), kInvalid);
  EXPECT_EQ(with([](Png& p) { p.depth = 3; }), kInvalid);
  EXPECT_EQ(with([](Png& p) { p.depth = 0; }), kInvalid);
  EXPECT_EQ(with([](Png& p) {
              p.colour_type = 2;  // RGB comes in 8 bits only here
              p.depth = 4;
            }),
            kInvalid);
  EXPECT_EQ(with([](Png& p) {
              p.colour_type = 0;
              p.depth = 16;
              p.palette.clear();
            }),
            kInvalid);

  // IHDR of another length, IHDR not first, a second IHDR.
  const Bytes ihdr = good.Ihdr();
  Bytes long_ihdr = ihdr;
  long_ihdr.push_back(0);
  const Bytes short_ihdr(ihdr.begin(), ihdr.end() - 1);
  for (const Bytes& other : {long_ihdr, short_ihdr}) {
    EXPECT_EQ(ErrorOf(Png::Join({good.Signature(), Chunk("IHDR", other), good.PlteChunk(),
                                 good.IdatChunk(), good.IendChunk()})),
              kInvalid);
  }
  EXPECT_EQ(ErrorOf(Png::Join({good.Signature(), Chunk("tEXt", {'a', 0}), good.IhdrChunk(),
                               good.PlteChunk(), good.IdatChunk(), good.IendChunk()})),
            kInvalid);
  EXPECT_EQ(ErrorOf(Png::Join({good.Signature(), good.IhdrChunk(), good.IhdrChunk(),
                               good.PlteChunk(), good.IdatChunk(), good.IendChunk()})),
            kInvalid);
  EXPECT_THROW(graphics::ReadPngSize(Png::Join({good.Signature(), Chunk("IHDR", short_ihdr)})),
               base::Error);
}

TEST(PngRead, ChunkOrderAndPalettesAreChecked) {
  const Png palette = PalettePicture(2, 4);
  const Png rgb = RgbPicture(3, 2);
  ASSERT_EQ(ErrorOf(palette.Build()), "no error");
  auto build = [](const Png& p, std::vector<Bytes> middle) {
    std::vector<Bytes> parts = {p.Signature(), p.IhdrChunk()};
    parts.insert(parts.end(), middle.begin(), middle.end());
    parts.push_back(p.IendChunk());
    return Png::Join(parts);
  };
  const Bytes plte = palette.PlteChunk();
  const Bytes idat = palette.IdatChunk();
  EXPECT_EQ(ErrorOf(build(palette, {idat})), kInvalid);              // no PLTE
  EXPECT_EQ(ErrorOf(build(palette, {plte, plte, idat})), kInvalid);  // two
  EXPECT_EQ(ErrorOf(build(palette, {idat, plte})), kInvalid);        // after the data
  EXPECT_EQ(ErrorOf(build(palette, {Chunk("PLTE", {}), idat})), kInvalid);
  EXPECT_EQ(ErrorOf(build(palette, {Chunk("PLTE", {1, 2, 3, 4}), idat})), kInvalid);
  EXPECT_EQ(ErrorOf(build(palette, {Chunk("PLTE", Bytes(15, 9)), idat})), kInvalid);  // 5 > 2^2
  EXPECT_EQ(ErrorOf(build(rgb, {Chunk("PLTE", Bytes(3 * 257, 9)), rgb.IdatChunk()})), kInvalid);
  EXPECT_EQ(ErrorOf(build(rgb, {Chunk("PLTE", {1, 2}), rgb.IdatChunk()})), kInvalid);
  Png grey = palette;
  grey.colour_type = 0;
  EXPECT_EQ(ErrorOf(build(grey, {grey.IdatChunk()})), "no error");
  EXPECT_EQ(ErrorOf(build(grey, {plte, grey.IdatChunk()})), kInvalid);  // grey has none

  EXPECT_EQ(ErrorOf(build(palette, {plte})), kInvalid);  // no image data
  // The image data is one run of IDAT chunks.
  const Bytes stream = Zlib(palette.ImageData());
  const Bytes first = Chunk("IDAT", Bytes(stream.begin(), stream.begin() + 4));
  const Bytes rest = Chunk("IDAT", Bytes(stream.begin() + 4, stream.end()));
  EXPECT_EQ(ErrorOf(build(palette, {plte, first, rest})), "no error");
  EXPECT_EQ(ErrorOf(build(palette, {plte, first, Chunk("tEXt", {'a', 0}), rest})), kInvalid);
  // A critical chunk this reader does not know; an ancillary one it skips.
  EXPECT_EQ(ErrorOf(build(palette, {plte, Chunk("ZZZZ", {}), idat})), kInvalid);
  EXPECT_EQ(ErrorOf(build(palette, {plte, Chunk("zZZZ", {1}), idat})), "no error");
  // IEND is empty; without it the data is not whole.
  Bytes with_data_end =
      Png::Join({palette.Signature(), palette.IhdrChunk(), plte, idat, Chunk("IEND", {0})});
  EXPECT_EQ(ErrorOf(with_data_end), kInvalid);
  EXPECT_EQ(ErrorOf(Png::Join({palette.Signature(), palette.IhdrChunk(), plte, idat})), kInvalid);
}

TEST(PngRead, ImageDataMustBeExactlyTheRows) {
  const Png good = PalettePicture(8, 40, 6, 4);
  ASSERT_EQ(ErrorOf(good.Build()), "no error");
  auto with_data = [&](const Bytes& stream) {
    return ErrorOf(Png::Join({good.Signature(), good.IhdrChunk(), good.PlteChunk(),
                              Chunk("IDAT", stream), good.IendChunk()}));
  };
  Bytes rows = good.ImageData();
  EXPECT_EQ(with_data(Zlib(rows)), "no error");
  EXPECT_EQ(with_data(Zlib(Bytes(rows.begin(), rows.end() - 1))), kInvalid);  // a byte short
  EXPECT_EQ(with_data(Zlib(Bytes(rows.begin(), rows.end() - 7))), kInvalid);  // a row short
  Bytes longer = rows;
  longer.push_back(0);
  EXPECT_EQ(with_data(Zlib(longer)), kInvalid);  // one byte too many
  longer.insert(longer.end(), rows.begin(), rows.begin() + 6);
  EXPECT_EQ(with_data(Zlib(longer)), kInvalid);  // a row too many
  EXPECT_EQ(with_data(Zlib({})), kInvalid);

  // Bytes after the zlib stream's end: in its chunk, or in an IDAT after it.
  Bytes trailing = Zlib(rows);
  trailing.push_back(0);
  EXPECT_EQ(with_data(trailing), kInvalid);
  EXPECT_EQ(ErrorOf(Png::Join({good.Signature(), good.IhdrChunk(), good.PlteChunk(),
                               Chunk("IDAT", Zlib(rows)), Chunk("IDAT", {0}), good.IendChunk()})),
            kInvalid);
  // A wrong Adler-32, a wrong zlib header, raw Deflate without one.
  Bytes adler = Zlib(rows);
  adler.back() ^= 1;
  EXPECT_EQ(with_data(adler), kInvalid);
  Bytes header = Zlib(rows);
  header[0] = 0x79;  // not Deflate with a window the format allows
  EXPECT_EQ(with_data(header), kInvalid);
  const Bytes stream = Zlib(rows);
  EXPECT_EQ(with_data(Bytes(stream.begin() + 2, stream.end() - 4)), kInvalid);
  // A stream that ends inside itself.
  EXPECT_EQ(with_data(Bytes(stream.begin(), stream.end() - 5)), kInvalid);
}

TEST(PngRead, FilterTypesPastFourAndPaletteIndexesPastThePaletteAreRefused) {
  Png p = PalettePicture(8, 40, 6, 4);
  ASSERT_EQ(ErrorOf(p.Build()), "no error");
  for (std::uint8_t filter : {5, 255}) {
    Bytes rows = p.ImageData();
    rows[2 * 7] = filter;  // the third row's filter byte
    EXPECT_EQ(ErrorOf(Png::Join({p.Signature(), p.IhdrChunk(), p.PlteChunk(),
                                 Chunk("IDAT", Zlib(rows)), p.IendChunk()})),
              kInvalid);
  }
  // Three colours at 2 bits: index 3 names none; so does 40 with 40 colours,
  // in the last pixel of the last row.
  Png three = PalettePicture(2, 3);
  ASSERT_EQ(ErrorOf(three.Build()), "no error");
  three.rows[1][0] |= 0xC0;
  EXPECT_EQ(ErrorOf(three.Build()), kInvalid);
  p.rows.back().back() = 40;
  EXPECT_EQ(ErrorOf(p.Build()), kInvalid);
  p.rows.back().back() = 39;
  EXPECT_EQ(ErrorOf(p.Build()), "no error");
}

// --------------------------------------------------------------------------
// PNG inside a DIB

// A BITMAPINFOHEADER with BI_PNG and the PNG after it (and after a palette
// hint of colours_used entries).
Bytes PngDib(const Bytes& png, std::int32_t width, std::int32_t height, std::uint16_t bpp = 0,
             std::uint32_t colours_used = 0, std::uint32_t size_image = 0xFFFFFFFF) {
  Bytes h(40, 0);
  base::PutU32(h.data(), 40);
  base::PutU32(h.data() + 4, static_cast<std::uint32_t>(width));
  base::PutU32(h.data() + 8, static_cast<std::uint32_t>(height));
  base::PutU16(h.data() + 12, 1);
  base::PutU16(h.data() + 14, bpp);
  base::PutU32(h.data() + 16, 5);  // BI_PNG
  base::PutU32(h.data() + 20,
               size_image == 0xFFFFFFFF ? static_cast<std::uint32_t>(png.size()) : size_image);
  base::PutU32(h.data() + 32, colours_used);
  h.insert(h.end(), colours_used * 4, 0x77);
  h.insert(h.end(), png.begin(), png.end());
  return h;
}

Bytes AsFile(const Bytes& dib, std::uint32_t colours_used = 0) {
  Bytes file(14, 0);
  file[0] = 'B';
  file[1] = 'M';
  base::PutU32(file.data() + 2, static_cast<std::uint32_t>(14 + dib.size()));
  base::PutU32(file.data() + 10, 14 + 40 + 4 * colours_used);
  file.insert(file.end(), dib.begin(), dib.end());
  return file;
}

TEST(BmpWithPng, FilesAndPackedDibsCarryAPng) {
  Png p = RgbPicture(7, 5);
  p.filters = {4, 4, 1, 2, 3};
  const Bytes png = p.Build();
  for (const std::uint32_t hint : {0u, 3u}) {
    const Bytes dib = PngDib(png, 7, 5, 0, hint);
    // Rows top-down as the PNG has them, though the header's height is
    // positive (which means bottom-up for an uncompressed DIB).
    for (const TBitmap& b : {graphics::ReadPackedDib(dib), graphics::ReadBmp(AsFile(dib, hint))}) {
      ExpectPixels(b, p, [&](std::uint32_t x, std::uint32_t y) { return RgbPixel(p, x, y); });
    }
  }
  const graphics::TPictureSize size = graphics::ReadBmpSize(AsFile(PngDib(png, 7, 5)));
  EXPECT_EQ(size.width, 7);
  EXPECT_EQ(size.height, 5);
  // Bytes after the PNG's biSizeImage are not its concern.
  Bytes padded = PngDib(png, 7, 5);
  padded.insert(padded.end(), 3, 0);
  EXPECT_NO_THROW(graphics::ReadPackedDib(padded));
}

TEST(BmpWithPng, TheHeaderMustAgreeWithThePng) {
  const Bytes png = PalettePicture(4, 16, 5, 3).Build();
  ASSERT_NO_THROW(graphics::ReadPackedDib(PngDib(png, 5, 3)));
  auto error = [](const Bytes& dib) {
    try {
      graphics::ReadPackedDib(dib);
    } catch (const base::Error& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  EXPECT_EQ(error(PngDib(png, 6, 3)), kInvalid);
  EXPECT_EQ(error(PngDib(png, 5, 4)), kInvalid);
  EXPECT_EQ(error(PngDib(png, 5, -3)), kInvalid);     // compressed DIBs are never top-down
  EXPECT_EQ(error(PngDib(png, 5, 3, 24)), kInvalid);  // BI_PNG has no bit count of its own
  // biSizeImage past the input, or short of the PNG's end.
  EXPECT_EQ(error(PngDib(png, 5, 3, 0, 0, static_cast<std::uint32_t>(png.size() + 1))), kInvalid);
  EXPECT_EQ(error(PngDib(png, 5, 3, 0, 0, static_cast<std::uint32_t>(png.size() - 1))), kInvalid);
  EXPECT_EQ(error(PngDib(png, 5, 3, 0, 0, 0)), kInvalid);
  EXPECT_EQ(error(PngDib(png, 5, 3, 0, 0, 0xFFFFFFF0u)), kInvalid);
  Bytes damaged = png;
  damaged[damaged.size() / 2] ^= 0x40;
  EXPECT_EQ(error(PngDib(damaged, 5, 3)), kInvalid);
  const Bytes dib = PngDib(png, 5, 3);
  for (std::size_t n = 0; n < dib.size(); ++n) {
    EXPECT_EQ(error(Bytes(dib.begin(), dib.begin() + n)), kInvalid) << n;
  }
}

}  // namespace
