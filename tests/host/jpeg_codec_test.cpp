// JPEG decoding through libjpeg. The pictures are made here with libjpeg's
// own compressor, so every colour space and both scan orders can be tried
// without fixture files.
#include "framework/graphics/jpeg_codec.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "base/error.h"
#include "framework/graphics/jpeg_messages.h"

namespace {

using base::Bytes;
using graphics::TBitmap;
using graphics::TColor;

struct Options {
  int width = 16;
  int height = 16;
  J_COLOR_SPACE space = JCS_RGB;
  int components = 3;
  bool progressive = false;
  bool subsample = false;
};

// Compresses at quality 100. sample(x, y, out) fills one pixel's
// components.
Bytes Encode(const Options& o, const std::function<void(int, int, JSAMPLE*)>& sample) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr err{};
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &out, &size);
  cinfo.image_width = static_cast<JDIMENSION>(o.width);
  cinfo.image_height = static_cast<JDIMENSION>(o.height);
  cinfo.input_components = o.components;
  cinfo.in_color_space = o.space;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 100, TRUE);
  if (!o.subsample) {
    for (int i = 0; i < cinfo.num_components; ++i) {
      cinfo.comp_info[i].h_samp_factor = 1;
      cinfo.comp_info[i].v_samp_factor = 1;
    }
  }
  if (o.progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(o.width * o.components));
  while (cinfo.next_scanline < cinfo.image_height) {
    const int y = static_cast<int>(cinfo.next_scanline);
    for (int x = 0; x < o.width; ++x) {
      sample(x, y, &row[static_cast<std::size_t>(x * o.components)]);
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  Bytes result(out, out + size);
  std::free(out);
  return result;
}

// Four 8x8 blocks: red, green / blue, white (block edges match the
// transform's, so quality 100 keeps them nearly exact).
TColor Quadrant(int x, int y) {
  static const TColor colours[4] = {graphics::clRed, graphics::clLime, graphics::clBlue,
                                    graphics::clWhite};
  return colours[(y / 8) * 2 + (x / 8) % 2];
}

void ExpectNear(TColor actual, TColor expected, int tolerance, int x, int y) {
  for (int shift : {0, 8, 16}) {
    int a = static_cast<int>((actual >> shift) & 0xFF);
    int e = static_cast<int>((expected >> shift) & 0xFF);
    ASSERT_LE(std::abs(a - e), tolerance) << "channel " << shift / 8 << " at " << x << "," << y;
  }
}

std::string ErrorOf(const Bytes& data) {
  try {
    graphics::ReadJpeg(data);
  } catch (const base::Error& e) {
    return e.what();
  }
  return "no error";
}

Bytes QuadrantJpeg(bool progressive = false) {
  Options o;
  o.progressive = progressive;
  return Encode(o, [](int x, int y, JSAMPLE* p) {
    TColor c = Quadrant(x, y);
    p[0] = graphics::GetRValue(c);
    p[1] = graphics::GetGValue(c);
    p[2] = graphics::GetBValue(c);
  });
}

TEST(Jpeg, ColourPictureDecodesToItsPixels) {
  for (bool progressive : {false, true}) {
    TBitmap b = graphics::ReadJpeg(QuadrantJpeg(progressive));
    ASSERT_EQ(b.Width(), 16);
    ASSERT_EQ(b.Height(), 16);
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) ExpectNear(b.Pixel(x, y), Quadrant(x, y), 4, x, y);
    }
    // The pixels' fourth byte stays 0, as in the toolkit's other bitmaps.
    EXPECT_EQ(b.Row(0)[0] >> 24, 0u);
  }
}

TEST(Jpeg, OddSizesAndSubsampledChroma) {
  Options o;
  o.width = 13;
  o.height = 7;
  o.subsample = true;
  TBitmap b = graphics::ReadJpeg(Encode(o, [](int, int, JSAMPLE* p) {
    p[0] = 40;
    p[1] = 120;
    p[2] = 200;
  }));
  ASSERT_EQ(b.Width(), 13);
  ASSERT_EQ(b.Height(), 7);
  for (int y = 0; y < 7; ++y) {
    for (int x = 0; x < 13; ++x) ExpectNear(b.Pixel(x, y), graphics::RGB(40, 120, 200), 4, x, y);
  }
}

TEST(Jpeg, GreyscaleBecomesGreyColour) {
  Options o;
  o.width = 8;
  o.height = 8;
  o.space = JCS_GRAYSCALE;
  o.components = 1;
  TBitmap b = graphics::ReadJpeg(Encode(o, [](int x, int, JSAMPLE* p) {
    p[0] = static_cast<JSAMPLE>(x < 4 ? 30 : 220);
  }));
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      TColor c = b.Pixel(x, y);
      EXPECT_EQ(graphics::GetRValue(c), graphics::GetGValue(c));
      EXPECT_EQ(graphics::GetRValue(c), graphics::GetBValue(c));
      ExpectNear(c, x < 4 ? graphics::RGB(30, 30, 30) : graphics::RGB(220, 220, 220), 6, x, y);
    }
  }
}

TEST(Jpeg, AdobeCmykIsReadInverted) {
  // libjpeg marks CMYK output with an Adobe marker; such files hold
  // inverted ink (Photoshop's convention): 255 is no ink.
  Options o;
  o.width = 16;
  o.height = 8;
  o.space = JCS_CMYK;
  o.components = 4;
  TBitmap b = graphics::ReadJpeg(Encode(o, [](int x, int, JSAMPLE* p) {
    if (x < 8) {  // red: no cyan, full magenta and yellow, no black
      p[0] = 255;
      p[1] = 0;
      p[2] = 0;
      p[3] = 255;
    } else {  // half black only: grey
      p[0] = 255;
      p[1] = 255;
      p[2] = 255;
      p[3] = 128;
    }
  }));
  ExpectNear(b.Pixel(3, 3), graphics::clRed, 4, 3, 3);
  ExpectNear(b.Pixel(12, 3), graphics::RGB(128, 128, 128), 4, 12, 3);
}

TEST(Jpeg, BrokenInputIsAnError) {
  const std::string prefix = "JPEG error: ";
  EXPECT_EQ(ErrorOf({}).rfind(prefix, 0), 0u);
  EXPECT_EQ(ErrorOf({'B', 'M', 0, 0, 0, 0}).rfind(prefix, 0), 0u);
  EXPECT_EQ(ErrorOf({0x89, 'P', 'N', 'G', 13, 10, 26, 10}).rfind(prefix, 0), 0u);
  Bytes jpeg = QuadrantJpeg();
  // Cut inside the headers: libjpeg cannot even size the picture.
  for (std::size_t n : {2, 20, 100}) {
    EXPECT_EQ(ErrorOf(Bytes(jpeg.begin(), jpeg.begin() + n)).rfind(prefix, 0), 0u) << n;
  }
}

// The codec formats libjpeg's messages itself: the texts must come out as
// libjpeg's own formatter writes them.
TEST(Jpeg, ErrorsCarryLibjpegsMessage) {
  EXPECT_EQ(ErrorOf({'B', 'M', 0, 0, 0, 0}), "JPEG error: Not a JPEG file: starts with 0x42 0x4d");
  EXPECT_EQ(ErrorOf({}), "JPEG error: Empty input file");
}

TEST(Jpeg, MessageFormatting) {
  using graphics::FormatJpegMessage;
  const int n[8] = {5, 0xAB, -12, 65, 7, 0, 0, 0};
  EXPECT_EQ(FormatJpegMessage("[%3d][%02x][%d][%c][%4u]", n, {}), "[  5][ab][-12][A][   7]");
  EXPECT_EQ(FormatJpegMessage("%02X%04x %ld %lu", n, {}), "05" "00ab -12 65");
  EXPECT_EQ(FormatJpegMessage("%d%% done", n, {}), "5% done");
  // A message with a %s takes the text and none of the numbers.
  EXPECT_EQ(FormatJpegMessage("%s: %d", n, "marker"), "marker: 0");
  // Fewer numbers than conversions: the rest are zero, nothing is read past.
  EXPECT_EQ(FormatJpegMessage("%d %d %d", std::span<const int>(n, 1), {}), "5 0 0");
  // A stray conversion is copied, a trailing % kept.
  EXPECT_EQ(FormatJpegMessage("%q and %", n, {}), "%q and %");
  EXPECT_STREQ(graphics::JpegMessageText(0), "Bogus message code %d");
  EXPECT_EQ(graphics::JpegMessageText(-1), nullptr);
  EXPECT_EQ(graphics::JpegMessageText(100000), nullptr);
}

TEST(Jpeg, DataCutInsideTheScanDecodesAsFarAsItGoes) {
  // 64 solid blocks, each its own colour, so the scan is long enough to
  // lose its second half and keep its first rows.
  Options o;
  o.width = 64;
  o.height = 64;
  auto block = [](int x, int y) {
    int n = (y / 8) * 8 + x / 8;
    return graphics::RGB(static_cast<std::uint8_t>(n * 4), static_cast<std::uint8_t>(255 - n * 3),
                         static_cast<std::uint8_t>((n * 37) % 256));
  };
  Bytes jpeg = Encode(o, [&](int x, int y, JSAMPLE* p) {
    TColor c = block(x, y);
    p[0] = graphics::GetRValue(c);
    p[1] = graphics::GetGValue(c);
    p[2] = graphics::GetBValue(c);
  });
  std::size_t scan = 0;  // the start-of-scan marker
  for (std::size_t i = 0; i + 1 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA) scan = i;
  }
  ASSERT_NE(scan, 0u);
  const std::size_t half = scan + (jpeg.size() - scan) / 2;
  Bytes cut(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(half));
  TBitmap b = graphics::ReadJpeg(cut);
  EXPECT_EQ(b.Width(), 64);
  EXPECT_EQ(b.Height(), 64);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 64; ++x) ExpectNear(b.Pixel(x, y), block(x, y), 4, x, y);
  }
}

TEST(Jpeg, HugeSizesAreRefusedBeforeAllocating) {
  Bytes jpeg = QuadrantJpeg();
  // The baseline frame header: FF C0, length, precision, height, width.
  std::size_t sof = 0;
  for (std::size_t i = 0; i + 1 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
      sof = i;
      break;
    }
  }
  ASSERT_NE(sof, 0u);
  auto with_size = [&](int w, int h) {
    Bytes changed = jpeg;
    changed[sof + 5] = static_cast<std::uint8_t>(h >> 8);
    changed[sof + 6] = static_cast<std::uint8_t>(h);
    changed[sof + 7] = static_cast<std::uint8_t>(w >> 8);
    changed[sof + 8] = static_cast<std::uint8_t>(w);
    return ErrorOf(changed);
  };
  EXPECT_EQ(with_size(20000, 16), "JPEG error: picture too large");
  EXPECT_EQ(with_size(16384, 16384), "JPEG error: picture too large");
  EXPECT_EQ(with_size(16, 16), "no error");
}

}  // namespace
