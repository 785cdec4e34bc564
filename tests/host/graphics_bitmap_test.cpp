// The toolkit bitmap: pixel layout, sizes, copies and transparency, and the
// colour and rectangle helpers under it.
#include "framework/graphics/bitmap.h"

#include <gtest/gtest.h>

#include <utility>

#include "base/error.h"
#include "framework/graphics/color.h"
#include "framework/graphics/geometry.h"
#include "graphics_test_support.h"

namespace {

using graphics::TBitmap;
using graphics::TColor;
using testing_support::Coord;
using testing_support::CoordBitmap;
using testing_support::ScopedFakeSysColors;

std::string ErrorOf(int w, int h) {
  try {
    TBitmap b(w, h);
  } catch (const base::Error& e) {
    return e.what();
  }
  return "no error";
}

TEST(Colour, PixelsKeepRedHighWhereColoursKeepItLow) {
  EXPECT_EQ(graphics::ColorToPixel(graphics::clRed), 0xFF0000u);
  EXPECT_EQ(graphics::ColorToPixel(graphics::clBlue), 0x0000FFu);
  EXPECT_EQ(graphics::ColorToPixel(0x123456), 0x563412u);
  EXPECT_EQ(graphics::PixelToColor(0x563412), 0x123456u);
  // The fourth byte of a pixel is no colour.
  EXPECT_EQ(graphics::PixelToColor(0xAB563412), 0x123456u);
  EXPECT_EQ(graphics::RGB(1, 2, 3), 0x030201u);
}

TEST(Colour, SystemColoursGoThroughTheResolver) {
  ScopedFakeSysColors fake;
  EXPECT_EQ(graphics::ColorToRGB(graphics::clBtnFace), graphics::RGB(15, 30, 45));
  EXPECT_EQ(graphics::ColorToRGB(0xFF000002), graphics::RGB(2, 4, 6));
  // Only a high byte of 0xFF names a system colour; others are dropped.
  EXPECT_EQ(graphics::ColorToRGB(0x00ABCDEF), 0xABCDEFu);
  EXPECT_EQ(graphics::ColorToRGB(0x02ABCDEF), 0xABCDEFu);
}

TEST(Colour, ResolverIsReplacedAndRestored) {
  auto mine = [](int) -> TColor { return 0x010203; };
  graphics::SysColorResolver before = graphics::SetSysColorResolver(mine);
  EXPECT_EQ(graphics::ColorToRGB(graphics::clWindow), 0x010203u);
  EXPECT_EQ(graphics::SetSysColorResolver(nullptr), +mine);
  EXPECT_EQ(graphics::ColorToRGB(graphics::clWindow), graphics::PlatformSysColor(5) & 0xFFFFFF);
  graphics::SetSysColorResolver(before);
}

TEST(Colour, ClassicSchemeStandsInForTheDesktop) {
  EXPECT_EQ(graphics::ClassicSysColor(15), graphics::RGB(212, 208, 200));  // button face
  EXPECT_EQ(graphics::ClassicSysColor(16), graphics::RGB(128, 128, 128));  // button shadow
  EXPECT_EQ(graphics::ClassicSysColor(20), graphics::RGB(255, 255, 255));  // button highlight
  EXPECT_EQ(graphics::ClassicSysColor(5), graphics::RGB(255, 255, 255));   // window
  EXPECT_EQ(graphics::ClassicSysColor(-1), graphics::clBlack);
  EXPECT_EQ(graphics::ClassicSysColor(31), graphics::clBlack);
}

TEST(Geometry, RectanglesHaveExclusiveEdges) {
  graphics::TRect r{2, 3, 12, 8};
  EXPECT_EQ(r.Width(), 10);
  EXPECT_EQ(r.Height(), 5);
  EXPECT_TRUE(r.Contains({2, 3}));
  EXPECT_TRUE(r.Contains({11, 7}));
  EXPECT_FALSE(r.Contains({12, 7}));
  EXPECT_FALSE(r.Contains({11, 8}));
  r.Offset(-2, 4);
  EXPECT_EQ(r, (graphics::TRect{0, 7, 10, 12}));
  EXPECT_TRUE((graphics::TRect{5, 5, 5, 9}).IsEmpty());
  EXPECT_TRUE((graphics::TRect{5, 5, 4, 9}).IsEmpty());
  EXPECT_EQ(graphics::Intersect({0, 0, 10, 10}, {5, -5, 20, 3}), (graphics::TRect{5, 0, 10, 3}));
  EXPECT_TRUE(graphics::Intersect({0, 0, 2, 2}, {3, 3, 5, 5}).IsEmpty());
  EXPECT_EQ(graphics::Bounds(1, 2, 3, 4), (graphics::TRect{1, 2, 4, 6}));
}

TEST(Bitmap, NewPixelsAreBlackAndResizingKeepsNothing) {
  TBitmap b(4, 3);
  EXPECT_EQ(b.Width(), 4);
  EXPECT_EQ(b.Height(), 3);
  EXPECT_FALSE(b.Empty());
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(b.Row(y)[x], 0u);
  }
  b.SetPixel(1, 1, graphics::clWhite);
  b.SetSize(4, 3);
  EXPECT_EQ(b.Pixel(1, 1), graphics::clBlack);
  b.SetSize(0, 7);
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(b.Height(), 7);
  EXPECT_EQ(b.Pixel(0, 0), graphics::kNoPixel);
}

TEST(Bitmap, PixelsAreTColorsOutsideAndDibPixelsInside) {
  TBitmap b(3, 2);
  b.SetPixel(2, 1, graphics::clRed);
  EXPECT_EQ(b.Pixel(2, 1), graphics::clRed);
  EXPECT_EQ(b.Row(1)[2], 0xFF0000u);
  b.Row(0)[0] = 0x00112233;  // red 0x11, green 0x22, blue 0x33
  EXPECT_EQ(b.Pixel(0, 0), graphics::RGB(0x11, 0x22, 0x33));
  // Rows are top-down and contiguous.
  EXPECT_EQ(b.Row(1), b.Row(0) + 3);
}

TEST(Bitmap, OutsideReadsAreNoPixelAndWritesAreIgnored) {
  TBitmap b(2, 2);
  EXPECT_EQ(b.Pixel(-1, 0), graphics::kNoPixel);
  EXPECT_EQ(b.Pixel(2, 0), graphics::kNoPixel);
  EXPECT_EQ(b.Pixel(0, 2), graphics::kNoPixel);
  b.SetPixel(2, 0, graphics::clWhite);
  b.SetPixel(0, -1, graphics::clWhite);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 2; ++x) EXPECT_EQ(b.Pixel(x, y), graphics::clBlack);
  }
  EXPECT_FALSE(graphics::IsSystemColor(graphics::kNoPixel));
}

TEST(Bitmap, SystemColoursAreResolvedWhenStored) {
  ScopedFakeSysColors fake;
  TBitmap b(1, 1);
  b.SetPixel(0, 0, graphics::clBtnShadow);
  EXPECT_EQ(b.Pixel(0, 0), graphics::RGB(16, 32, 48));
}

TEST(Bitmap, InvalidSizesAreRefused) {
  EXPECT_EQ(ErrorOf(-1, 5), "Invalid bitmap size");
  EXPECT_EQ(ErrorOf(5, -1), "Invalid bitmap size");
  EXPECT_EQ(ErrorOf(graphics::kMaxBitmapSide + 1, 1), "Invalid bitmap size");
  EXPECT_EQ(ErrorOf(1, graphics::kMaxBitmapSide + 1), "Invalid bitmap size");
  EXPECT_EQ(ErrorOf(graphics::kMaxBitmapSide, 1), "no error");
}

TEST(Bitmap, CopiesAreDeepAndMovesHandOver) {
  TBitmap a = CoordBitmap(5, 4);
  a.SetTransparent(true);
  a.SetTransparentColor(0x123456);
  TBitmap b(a);
  b.SetPixel(0, 0, graphics::clWhite);
  EXPECT_EQ(a.Pixel(0, 0), Coord(0, 0));
  EXPECT_EQ(b.Pixel(4, 3), Coord(4, 3));
  EXPECT_TRUE(b.Transparent());
  EXPECT_EQ(b.TransparentColor(), 0x123456u);

  TBitmap c(std::move(b));
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(c.Pixel(0, 0), graphics::clWhite);
  EXPECT_EQ(c.TransparentColor(), 0x123456u);

  TBitmap d(1, 1);
  d = std::move(c);
  EXPECT_EQ(d.Width(), 5);
  EXPECT_EQ(d.Pixel(4, 3), Coord(4, 3));
  d = d;  // self-assignment keeps the pixels
  EXPECT_EQ(d.Pixel(4, 3), Coord(4, 3));
  TBitmap& self = d;
  d = std::move(self);
  EXPECT_EQ(d.Pixel(4, 3), Coord(4, 3));

  TBitmap e;
  e.Assign(TBitmap());
  EXPECT_TRUE(e.Empty());
}

TEST(Bitmap, TransparentColourIsTheBottomLeftPixelUntilSet) {
  TBitmap b = CoordBitmap(3, 4);
  EXPECT_FALSE(b.Transparent());
  EXPECT_EQ(b.TransparentColor(), Coord(0, 3));
  b.SetPixel(0, 3, graphics::clFuchsia);
  EXPECT_EQ(b.TransparentColor(), graphics::clFuchsia);
  b.SetTransparentColor(graphics::clLime);
  b.SetPixel(0, 3, graphics::clWhite);
  EXPECT_EQ(b.TransparentColor(), graphics::clLime);
  b.ResetTransparentColor();
  EXPECT_EQ(b.TransparentColor(), graphics::clWhite);
  EXPECT_EQ(TBitmap().TransparentColor(), graphics::kNoPixel);

  ScopedFakeSysColors fake;
  b.SetTransparentColor(graphics::clBtnFace);
  EXPECT_EQ(b.TransparentColor(), graphics::RGB(15, 30, 45));
}

TEST(Bitmap, TakeImageKeepsTheTargetsTransparency) {
  TBitmap target(1, 1);
  target.SetTransparent(true);
  target.SetTransparentColor(graphics::clFuchsia);
  TBitmap loaded = CoordBitmap(6, 2);
  target.TakeImage(std::move(loaded));
  EXPECT_TRUE(loaded.Empty());
  EXPECT_EQ(target.Width(), 6);
  EXPECT_EQ(target.Pixel(5, 1), Coord(5, 1));
  EXPECT_TRUE(target.Transparent());
  EXPECT_EQ(target.TransparentColor(), graphics::clFuchsia);
}

}  // namespace
