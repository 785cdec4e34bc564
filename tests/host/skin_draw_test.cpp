// The skin drawing helpers, pixel by pixel. Sources are pictures whose
// pixels name their own coordinates (red = x, green = y), so every test can
// say which source pixel must land on which destination pixel.
#include "skin/skin_draw.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "gbk_literal.h"
#include "graphics_test_support.h"

namespace {

using graphics::TBitmap;
using graphics::TCanvas;
using graphics::TColor;
using graphics::TRect;
using testing_support::Coord;
using testing_support::CoordBitmap;
using testing_support::Filled;
using testing_support::Gbk;

// Never a colour of a coordinate picture (their blue is 0x80).
constexpr TColor kPaper = 0x00123456;

void ExpectFrame(const TBitmap& frame, int first_column, int width, int height) {
  ASSERT_EQ(frame.Width(), width);
  ASSERT_EQ(frame.Height(), height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      ASSERT_EQ(frame.Pixel(x, y), Coord(first_column + x, y)) << x << "," << y;
    }
  }
}

TEST(ExtractFrame, EvenStripOfThree) {
  TBitmap strip = CoordBitmap(54, 21);
  TBitmap frame(99, 99);
  skin::ExtractFrame(strip, frame, 3, 1);
  ExpectFrame(frame, 0, 18, 21);
  skin::ExtractFrame(strip, frame, 3, 2);
  ExpectFrame(frame, 18, 18, 21);
  skin::ExtractFrame(strip, frame, 3, 3);
  ExpectFrame(frame, 36, 18, 21);
}

TEST(ExtractFrame, UnevenStripsLastFrameIsFlushRight) {
  TBitmap strip = CoordBitmap(55, 21);
  TBitmap frame;
  skin::ExtractFrame(strip, frame, 3, 2);
  ExpectFrame(frame, 18, 18, 21);
  skin::ExtractFrame(strip, frame, 3, 3);
  ExpectFrame(frame, 37, 18, 21);  // column 36 belongs to no frame
  skin::ExtractFrame(strip, frame, 1, 1);
  ExpectFrame(frame, 0, 55, 21);
}

// Which source pixel (or kPaper) the face must show at (x, y) of an 80x27
// destination drawn from an 18x21 source: hw = 9, hh = 10, qw = 40, qh = 13.
TColor ExpectedFace80x27(int x, int y) {
  // The bottom edge is drawn last, over columns 8..71 of rows 17..26: the
  // one-pixel overlap with the bottom-left corner and the left edge.
  if (y >= 17 && x >= 8 && x < 72) return Coord(9, 11 + (y - 17));
  if (y < 10) {
    if (x < 9) return Coord(x, y);                 // top-left 9x10
    if (x >= 72) return Coord(10 + (x - 72), y);   // top-right 8x10
    return Coord(9, y);                            // top edge: column 9 stretched
  }
  if (y >= 18) {
    if (x < 9) return Coord(x, 12 + (y - 18));             // bottom-left 9x9
    return Coord(10 + (x - 72), 12 + (y - 18));            // bottom-right 8x9
  }
  // Rows 10..17.
  if (x < 9) return Coord(x, 10);               // left edge: source row 10
  if (x >= 72) return Coord(10 + (x - 72), 11); // right edge: source row 11
  return Coord(9, 10);                          // centre, rows 10..16
}

TEST(StretchSkinPicture, NineSliceOfEighteenByTwentyOneIntoEightyByTwentySeven) {
  TBitmap face = Filled(80, 27, kPaper);
  TCanvas canvas(face);
  skin::StretchSkinPicture(CoordBitmap(18, 21), canvas, {0, 0, 80, 27}, false);
  for (int y = 0; y < 27; ++y) {
    for (int x = 0; x < 80; ++x) {
      ASSERT_NE(face.Pixel(x, y), kPaper) << "not covered: " << x << "," << y;
      ASSERT_EQ(face.Pixel(x, y), ExpectedFace80x27(x, y)) << x << "," << y;
    }
  }
}

TEST(StretchSkinPicture, PiecesLandWhereTheirRectanglesSay) {
  // Drawn over a bigger canvas, nothing of the face leaves its rectangle.
  TBitmap canvas_bitmap = Filled(90, 30, kPaper);
  TCanvas canvas(canvas_bitmap);
  skin::StretchSkinPicture(CoordBitmap(18, 21), canvas, {0, 0, 80, 27}, false);
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 90; ++x) {
      if (x >= 80 || y >= 27) {
        ASSERT_EQ(canvas_bitmap.Pixel(x, y), kPaper) << x << "," << y;
      }
    }
  }
  // Corner corners: the picture's four outer pixels.
  EXPECT_EQ(canvas_bitmap.Pixel(0, 0), Coord(0, 0));
  EXPECT_EQ(canvas_bitmap.Pixel(79, 0), Coord(17, 0));
  EXPECT_EQ(canvas_bitmap.Pixel(0, 26), Coord(0, 20));
  EXPECT_EQ(canvas_bitmap.Pixel(79, 26), Coord(17, 20));
}

TEST(StretchSkinPicture, SmallerThanTheSourceKeepsTheOuterCorners) {
  // 74x21 into 10x10: hw = 37, hh = 10, qw = qh = 5.
  TBitmap face = Filled(10, 10, kPaper);
  TCanvas canvas(face);
  skin::StretchSkinPicture(CoordBitmap(74, 21), canvas, {0, 0, 10, 10}, false);
  auto expected = [](int x, int y) -> TColor {
    if (y >= 5 && (x == 4 || x == 5)) return Coord(37, 16 + (y - 5));  // bottom edge, last
    if (y < 5) {
      if (x < 5) return Coord(x, y);              // top-left 5x5
      if (x == 5) return Coord(37, y);            // top edge
      return Coord(70 + (x - 6), y);              // top-right 4x5, right side kept
    }
    if (y == 5) {
      if (x < 4) return Coord(x, 10);             // left edge, cut to 5 columns
      return Coord(70 + (x - 6), 11);             // right edge, cut keeping the right
    }
    if (x < 4) return Coord(x, 17 + (y - 6));     // bottom-left 5x4, bottom kept
    return Coord(70 + (x - 6), 17 + (y - 6));     // bottom-right 4x4
  };
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) EXPECT_EQ(face.Pixel(x, y), expected(x, y)) << x << "," << y;
  }
  EXPECT_EQ(face.Pixel(0, 0), Coord(0, 0));
  EXPECT_EQ(face.Pixel(9, 0), Coord(73, 0));
  EXPECT_EQ(face.Pixel(0, 9), Coord(0, 20));
  EXPECT_EQ(face.Pixel(9, 9), Coord(73, 20));
}

TEST(StretchSkinPicture, MaskCornersFlagAppliesToCornersOnly) {
  // Magenta in the top-left corner piece (0,0) and in the top edge column.
  TBitmap source = CoordBitmap(18, 21);
  source.SetPixel(0, 0, skin::kMaskColour);
  source.SetPixel(9, 3, skin::kMaskColour);
  for (bool mask : {false, true}) {
    TBitmap face = Filled(40, 27, kPaper);
    TCanvas canvas(face);
    skin::StretchSkinPicture(source, canvas, {0, 0, 40, 27}, mask);
    EXPECT_EQ(face.Pixel(0, 0), mask ? kPaper : skin::kMaskColour);
    EXPECT_EQ(face.Pixel(1, 0), Coord(1, 0));
    // The edge is see-through where the picture is magenta, flag or not.
    for (int x = 9; x < 32; ++x) EXPECT_EQ(face.Pixel(x, 3), kPaper) << x;
    EXPECT_EQ(face.Pixel(9, 4), Coord(9, 4));
  }
}

TEST(StretchSkinPicture, TinyDestinationsStayInside) {
  for (int w : {0, 1, 2, 3}) {
    for (int h : {0, 1, 2, 3}) {
      TBitmap face = Filled(6, 6, kPaper);
      TCanvas canvas(face);
      skin::StretchSkinPicture(CoordBitmap(18, 21), canvas, {0, 0, w, h}, false);
      for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
          if (x < w && y < h) continue;
          EXPECT_EQ(face.Pixel(x, y), kPaper) << w << "x" << h << " " << x << "," << y;
        }
      }
    }
  }
}

// A three-frame strip: frame n is filled with colour n, with one magenta
// pixel at its top-left.
TBitmap ThreeFrames(int w, int h) {
  const TColor colours[3] = {0x0000A0, 0x00A000, 0xA00000};
  TBitmap strip(3 * w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < 3 * w; ++x) strip.SetPixel(x, y, colours[x / w]);
  }
  for (int f = 0; f < 3; ++f) strip.SetPixel(f * w, 0, skin::kMaskColour);
  return strip;
}

TEST(DrawThreeSlice, WideRectangleCapsAndStretchedMiddle) {
  TBitmap b = Filled(24, 6, kPaper);
  TCanvas c(b);
  skin::DrawThreeSlice(ThreeFrames(4, 3), c, {2, 1, 22, 5}, skin::kMaskColour, true);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 24; ++x) {
      TColor expected = kPaper;
      if (y >= 1 && y < 4 && x >= 2 && x < 22) {
        expected = x < 6 ? 0x0000A0 : x >= 18 ? 0xA00000 : 0x00A000;
        // Magenta is see-through: at each cap's top-left, and in the
        // middle where the stretch samples the frame's first column
        // (floor((2i + 1) * 4 / 24) = 0 for i = 0..2).
        if (y == 1 && (x == 2 || x == 18 || (x >= 6 && x < 9))) expected = kPaper;
      }
      EXPECT_EQ(b.Pixel(x, y), expected) << x << "," << y;
    }
  }
}

TEST(DrawThreeSlice, UnmaskedDrawsMagenta) {
  TBitmap b = Filled(12, 3, kPaper);
  TCanvas c(b);
  skin::DrawThreeSlice(ThreeFrames(4, 3), c, {0, 0, 12, 3}, skin::kMaskColour, false);
  EXPECT_EQ(b.Pixel(0, 0), skin::kMaskColour);
  EXPECT_EQ(b.Pixel(4, 0), skin::kMaskColour);
  EXPECT_EQ(b.Pixel(8, 0), skin::kMaskColour);
  EXPECT_EQ(b.Pixel(5, 2), 0x00A000u);
}

TEST(DrawThreeSlice, NarrowRectangleShowsTheLeftCapCut) {
  TBitmap b = Filled(10, 4, kPaper);
  TCanvas c(b);
  skin::DrawThreeSlice(ThreeFrames(4, 3), c, {1, 1, 4, 2}, skin::kMaskColour, true);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 10; ++x) {
      // Three columns of frame 1, all rows of the picture (the rectangle's
      // height does not cut), its magenta left out.
      bool drawn = x >= 1 && x < 4 && y >= 1 && y < 4 && !(x == 1 && y == 1);
      EXPECT_EQ(b.Pixel(x, y), drawn ? 0x0000A0u : kPaper) << x << "," << y;
    }
  }
  TBitmap none = Filled(4, 4, kPaper);
  TCanvas nc(none);
  skin::DrawThreeSlice(ThreeFrames(4, 3), nc, {1, 1, 1, 3}, skin::kMaskColour, true);
  skin::DrawThreeSlice(CoordBitmap(2, 3), nc, {0, 0, 4, 4}, skin::kMaskColour, true);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(none.Pixel(x, y), kPaper);
  }
}

TEST(TilePicture, TilesStartAtTheCanvasOrigin) {
  TBitmap b = Filled(12, 10, kPaper);
  TCanvas c(b);
  // pw = 3, ph = 2, rect 5x5: x = 0, 3, 6 (< 8), y = 0, 2, 4, 6 (< 7).
  skin::TilePicture(c, CoordBitmap(3, 2), {4, 3, 9, 8});
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 12; ++x) {
      TColor expected = (x < 9 && y < 8) ? Coord(x % 3, y % 2) : kPaper;
      EXPECT_EQ(b.Pixel(x, y), expected) << x << "," << y;
    }
  }
  skin::TilePicture(c, TBitmap(), {0, 0, 5, 5});  // returns at once
}

TEST(TilePicture, TransparentPicturesStaySeeThrough) {
  TBitmap tile = CoordBitmap(2, 2);
  tile.SetPixel(1, 1, skin::kMaskColour);
  tile.SetTransparent(true);
  tile.SetTransparentColor(skin::kMaskColour);
  TBitmap b = Filled(4, 4, kPaper);
  TCanvas c(b);
  skin::TilePicture(c, tile, {0, 0, 2, 2});
  EXPECT_EQ(b.Pixel(1, 1), kPaper);
  EXPECT_EQ(b.Pixel(3, 3), kPaper);
  EXPECT_EQ(b.Pixel(2, 3), Coord(0, 1));
}

// The colour of every row (vertical) or column (horizontal) of a gradient,
// checking that each line is uniform and stays within the rectangle.
std::vector<TColor> Lines(const TBitmap& b, const TRect& r, bool vertical) {
  std::vector<TColor> out;
  for (int i = vertical ? r.Top : r.Left; i < (vertical ? r.Bottom : r.Right); ++i) {
    TColor first = vertical ? b.Pixel(r.Left, i) : b.Pixel(i, r.Top);
    for (int j = vertical ? r.Left : r.Top; j < (vertical ? r.Right : r.Bottom); ++j) {
      EXPECT_EQ(vertical ? b.Pixel(j, i) : b.Pixel(i, j), first);
    }
    out.push_back(first);
  }
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) {
      if (!r.Contains({x, y})) {
        EXPECT_EQ(b.Pixel(x, y), kPaper) << x << "," << y;
      }
    }
  }
  return out;
}

TEST(Gradient, VerticalStepsByRowMinusOne) {
  TBitmap b = Filled(6, 8, kPaper);
  TCanvas c(b);
  const TRect r{1, 1, 5, 6};  // span 5
  skin::FillGradientVertical(c, r, skin::MakeRGB(10, 200, 0), skin::MakeRGB(110, 0, 50));
  std::vector<TColor> rows = Lines(b, r, true);
  ASSERT_EQ(rows.size(), 5u);
  // Rows 1..3 use factors 0, 1, 2 of delta / 5.
  EXPECT_EQ(rows[0], skin::MakeRGB(10, 200, 0));
  EXPECT_EQ(rows[1], skin::MakeRGB(10, 200, 0));
  EXPECT_EQ(rows[2], skin::MakeRGB(30, 160, 10));
  EXPECT_EQ(rows[3], skin::MakeRGB(50, 120, 20));
  EXPECT_EQ(rows[4], skin::MakeRGB(110, 0, 50));
  EXPECT_EQ(c.Pen.Color, skin::MakeRGB(110, 0, 50));
}

TEST(Gradient, HorizontalStepsByColumnAndTruncatesTowardZero) {
  TBitmap b = Filled(5, 3, kPaper);
  TCanvas c(b);
  const TRect r{0, 1, 5, 3};  // span 5
  skin::FillGradientHorizontal(c, r, skin::MakeRGB(10, 200, 100), skin::MakeRGB(110, 0, 0));
  std::vector<TColor> columns = Lines(b, r, false);
  ASSERT_EQ(columns.size(), 5u);
  // Columns 1..3 use factors 1, 2, 3; blue falls by 20 a step.
  EXPECT_EQ(columns[0], skin::MakeRGB(10, 200, 100));
  EXPECT_EQ(columns[1], skin::MakeRGB(30, 160, 80));
  EXPECT_EQ(columns[2], skin::MakeRGB(50, 120, 60));
  EXPECT_EQ(columns[3], skin::MakeRGB(70, 80, 40));
  EXPECT_EQ(columns[4], skin::MakeRGB(110, 0, 0));

  // Falling by 100 over 3: -33.3 truncates to -33 (not -34).
  TBitmap t = Filled(3, 1, kPaper);
  TCanvas tc(t);
  skin::FillGradientHorizontal(tc, {0, 0, 3, 1}, skin::MakeRGB(100, 0, 0), skin::MakeRGB(0, 0, 0));
  EXPECT_EQ(t.Pixel(1, 0), skin::MakeRGB(67, 0, 0));
  // And in the vertical one, factor 1 of -100 / 6 is -16.7: 84.
  TBitmap v = Filled(1, 6, kPaper);
  TCanvas vc(v);
  skin::FillGradientVertical(vc, {0, 0, 1, 6}, skin::MakeRGB(0, 100, 0), skin::MakeRGB(0, 0, 0));
  EXPECT_EQ(v.Pixel(0, 1), skin::MakeRGB(0, 100, 0));
  EXPECT_EQ(v.Pixel(0, 2), skin::MakeRGB(0, 84, 0));
}

TEST(Gradient, TwoPixelsHoldJustTheEndsAndNoHeightDrawsNothing) {
  TBitmap b = Filled(3, 4, kPaper);
  TCanvas c(b);
  skin::FillGradientVertical(c, {0, 1, 3, 3}, graphics::clRed, graphics::clBlue);
  std::vector<TColor> rows = Lines(b, {0, 1, 3, 3}, true);
  EXPECT_EQ(rows, (std::vector<TColor>{graphics::clRed, graphics::clBlue}));

  TBitmap e = Filled(3, 3, kPaper);
  TCanvas ec(e);
  skin::FillGradientVertical(ec, {0, 1, 3, 1}, graphics::clRed, graphics::clBlue);
  skin::FillGradientHorizontal(ec, {1, 0, 1, 3}, graphics::clRed, graphics::clBlue);
  Lines(e, {0, 0, 0, 0}, true);  // all paper
}

TEST(Gradient, SystemColoursAreResolvedFirst) {
  testing_support::ScopedFakeSysColors fake;  // button face: (15, 30, 45)
  TBitmap b = Filled(1, 4, kPaper);
  TCanvas c(b);
  skin::FillGradientVertical(c, {0, 0, 1, 4}, graphics::clBtnFace, skin::MakeRGB(55, 70, 85));
  EXPECT_EQ(b.Pixel(0, 0), skin::MakeRGB(15, 30, 45));
  EXPECT_EQ(b.Pixel(0, 2), skin::MakeRGB(25, 40, 55));  // + 40 / 4 * 1
  EXPECT_EQ(b.Pixel(0, 3), skin::MakeRGB(55, 70, 85));
}

TEST(ColourHelpers, MakeRGBAndSplitColour) {
  static_assert(skin::MakeRGB(1, 2, 3) == 1 + 2 * 256 + 3 * 65536);
  std::uint8_t r, g, b;
  skin::SplitColour(0x00C0B0A0, r, g, b);
  EXPECT_EQ(r, 0xA0);
  EXPECT_EQ(g, 0xB0);
  EXPECT_EQ(b, 0xC0);
  testing_support::ScopedFakeSysColors fake;
  skin::SplitColour(graphics::clBtnShadow, r, g, b);
  EXPECT_EQ(r, 16);
  EXPECT_EQ(g, 32);
  EXPECT_EQ(b, 48);
}

TEST(ColourHelpers, PtInRectInclusiveCountsTheFarEdges) {
  const TRect r{2, 3, 5, 7};
  EXPECT_TRUE(skin::PtInRectInclusive({2, 3}, r));
  EXPECT_TRUE(skin::PtInRectInclusive({5, 7}, r));
  EXPECT_TRUE(skin::PtInRectInclusive({5, 3}, r));
  EXPECT_FALSE(skin::PtInRectInclusive({6, 7}, r));
  EXPECT_FALSE(skin::PtInRectInclusive({5, 8}, r));
  EXPECT_FALSE(skin::PtInRectInclusive({1, 5}, r));
  EXPECT_FALSE(skin::PtInRectInclusive({3, 2}, r));
}

class Ellipsis : public ::testing::Test {
protected:
  // Seven pixels a byte.
  std::string Shorten(const std::string& text, int limit) {
    return skin::ShortenWithEllipsis(canvas_, text, limit);
  }
  testing_support::ScopedFixedCellText cells_;
  TBitmap bitmap_;
  TCanvas canvas_{bitmap_};
};

TEST_F(Ellipsis, TextThatFitsIsUnchanged) {
  EXPECT_EQ(Shorten("abcdef", 42), "abcdef");
  EXPECT_EQ(Shorten("abcdef", 100), "abcdef");
  EXPECT_EQ(Shorten("", 0), "");
}

TEST_F(Ellipsis, ShortestPrefixWhoseWidthReachesTheLimit) {
  EXPECT_EQ(Shorten("abcdef", 41), "abc...");  // "a..." is 28, "ab..." 35, "abc..." 42
  EXPECT_EQ(Shorten("abcdef", 30), "ab...");
  EXPECT_EQ(Shorten("abcdef", 28), "a...");   // exactly the limit counts
  EXPECT_EQ(Shorten("abcdef", 5), "a...");    // wider than the limit: still the shortest
}

TEST_F(Ellipsis, ASingleCharacterWiderThanTheLimitStays) {
  EXPECT_EQ(Shorten("W", 3), "W");
  const std::string zhong = Gbk(u8"中");
  EXPECT_EQ(Shorten(zhong, 5), zhong);  // two bytes, one character: no half of it
}

TEST_F(Ellipsis, DoubleByteCharactersAreNeverSplit) {
  const std::string text = Gbk(u8"中文字");  // 42 pixels
  // "中..." is 35 (< 40); the next prefix is "中文..." at 49.
  EXPECT_EQ(Shorten(text, 40), Gbk(u8"中文..."));
  EXPECT_EQ(Shorten(text, 35), Gbk(u8"中..."));
  EXPECT_EQ(Shorten(Gbk(u8"a中"), 10), "a...");
}

}  // namespace
