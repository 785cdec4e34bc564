// The image list: cutting strips, masks, the disabled look and taking an
// image out as a bitmap.
#include "framework/graphics/image_list.h"

#include <gtest/gtest.h>

#include "graphics_test_support.h"

namespace {

using graphics::TBitmap;
using graphics::TCanvas;
using graphics::TColor;
using graphics::TImageList;
using testing_support::Coord;
using testing_support::CoordBitmap;
using testing_support::Filled;

constexpr TColor kPaper = 0x00EEEEEE;

TEST(ImageList, StripsAreCutIntoImagesAndLeftoverColumnsIgnored) {
  TImageList list(3, 2);
  EXPECT_EQ(list.AddMasked(CoordBitmap(10, 2), graphics::clFuchsia), 0);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Add(CoordBitmap(6, 2, 0x40)), 3);
  EXPECT_EQ(list.Count(), 5);
  EXPECT_EQ(list.AddMasked(CoordBitmap(2, 2), graphics::clFuchsia), -1);  // narrower than one
  EXPECT_EQ(list.Count(), 5);

  TBitmap b = Filled(3, 2, kPaper);
  TCanvas c(b);
  list.Draw(c, 0, 0, 2);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) EXPECT_EQ(b.Pixel(x, y), Coord(6 + x, y));
  }
  list.Draw(c, 0, 0, 4);
  EXPECT_EQ(b.Pixel(2, 1), Coord(5, 1, 0x40));

  TBitmap untouched = Filled(3, 2, kPaper);
  TCanvas uc(untouched);
  list.Draw(uc, 0, 0, 5);
  list.Draw(uc, 0, 0, -1);
  EXPECT_EQ(untouched.Pixel(0, 0), kPaper);

  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(TImageList(0, 5).Add(CoordBitmap(4, 4)), -1);
}

TEST(ImageList, MaskedPixelsAreLeftOut) {
  TBitmap strip = CoordBitmap(4, 2);
  strip.SetPixel(1, 0, graphics::clFuchsia);
  strip.SetPixel(2, 1, graphics::clFuchsia);
  TImageList masked(2, 2);
  masked.AddMasked(strip, graphics::clFuchsia);
  TImageList plain(2, 2);
  plain.Add(strip);

  TBitmap b = Filled(5, 3, kPaper);
  TCanvas c(b);
  masked.Draw(c, 1, 1, 0);
  EXPECT_EQ(b.Pixel(1, 1), Coord(0, 0));
  EXPECT_EQ(b.Pixel(2, 1), kPaper);
  EXPECT_EQ(b.Pixel(2, 2), Coord(1, 1));
  masked.Draw(c, -1, 0, 1);  // clipped at the left
  EXPECT_EQ(b.Pixel(0, 0), Coord(3, 0));
  EXPECT_EQ(b.Pixel(0, 1), Coord(3, 1));

  plain.Draw(c, 1, 1, 0);
  EXPECT_EQ(b.Pixel(2, 1), graphics::clFuchsia);
}

TEST(ImageList, MaskColourMayBeASystemColour) {
  testing_support::ScopedFakeSysColors fake;
  const TColor face = graphics::ColorToRGB(graphics::clBtnFace);
  TBitmap strip = CoordBitmap(2, 1);
  strip.SetPixel(0, 0, face);
  TImageList list(2, 1);
  list.AddMasked(strip, graphics::clBtnFace);
  TBitmap b = Filled(2, 1, kPaper);
  TCanvas c(b);
  list.Draw(c, 0, 0, 0);
  EXPECT_EQ(b.Pixel(0, 0), kPaper);
  EXPECT_EQ(b.Pixel(1, 0), Coord(1, 0));
}

TEST(ImageList, StripsLowerThanTheListAreMaskedOrBlackBelow) {
  TImageList masked(2, 3);
  masked.AddMasked(CoordBitmap(2, 1), graphics::clFuchsia);
  TImageList plain(2, 3);
  plain.Add(CoordBitmap(2, 1));
  TBitmap b = Filled(4, 3, kPaper);
  TCanvas c(b);
  masked.Draw(c, 0, 0, 0);
  plain.Draw(c, 2, 0, 0);
  EXPECT_EQ(b.Pixel(1, 0), Coord(1, 0));
  EXPECT_EQ(b.Pixel(1, 2), kPaper);
  EXPECT_EQ(b.Pixel(3, 0), Coord(1, 0));
  EXPECT_EQ(b.Pixel(3, 2), graphics::clBlack);
}

TEST(ImageList, DisabledImagesAreEmbossedInTheButtonColours) {
  testing_support::ScopedFakeSysColors fake;
  const TColor shadow = graphics::ColorToRGB(graphics::clBtnShadow);
  const TColor light = graphics::ColorToRGB(graphics::clBtnHighlight);
  // Ink: (0,0) dark and (1,1) dark; (1,0) white is no ink; (0,1) masked.
  TBitmap strip(2, 2);
  strip.SetPixel(0, 0, 0x102030);
  strip.SetPixel(1, 0, graphics::clWhite);
  strip.SetPixel(0, 1, graphics::clFuchsia);
  strip.SetPixel(1, 1, 0x00A0A0A0);
  TImageList list(2, 2);
  list.AddMasked(strip, graphics::clFuchsia);

  TBitmap b = Filled(4, 4, kPaper);
  TCanvas c(b);
  list.Draw(c, 1, 1, 0, false);
  // Highlight first, one pixel down and right; shadow over it at the place.
  EXPECT_EQ(b.Pixel(1, 1), shadow);
  EXPECT_EQ(b.Pixel(2, 2), shadow);  // (1,1)'s shadow covers (0,0)'s highlight
  EXPECT_EQ(b.Pixel(3, 3), light);   // (1,1)'s highlight
  EXPECT_EQ(b.Pixel(2, 1), kPaper);  // white is no ink
  EXPECT_EQ(b.Pixel(1, 2), kPaper);  // masked
  EXPECT_EQ(b.Pixel(0, 0), kPaper);
  EXPECT_EQ(b.Pixel(3, 2), kPaper);
  EXPECT_EQ(b.Pixel(2, 3), kPaper);
}

TEST(ImageList, GetBitmapDrawsAsTheListDraws) {
  TBitmap strip = CoordBitmap(4, 2);
  strip.SetPixel(3, 1, graphics::clFuchsia);
  TImageList list(2, 2);
  list.AddMasked(strip, graphics::clFuchsia);

  TBitmap image;
  list.GetBitmap(1, image);
  ASSERT_EQ(image.Width(), 2);
  ASSERT_EQ(image.Height(), 2);
  EXPECT_TRUE(image.Transparent());
  EXPECT_EQ(image.TransparentColor(), graphics::clFuchsia);
  EXPECT_EQ(image.Pixel(0, 0), Coord(2, 0));
  EXPECT_EQ(image.Pixel(1, 1), graphics::clFuchsia);

  TBitmap via_list = Filled(2, 2, kPaper), via_bitmap = Filled(2, 2, kPaper);
  TCanvas lc(via_list), bc(via_bitmap);
  list.Draw(lc, 0, 0, 1);
  bc.Draw(0, 0, image);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 2; ++x) EXPECT_EQ(via_list.Pixel(x, y), via_bitmap.Pixel(x, y));
  }

  TImageList plain(2, 2);
  plain.Add(strip);
  plain.GetBitmap(1, image);
  EXPECT_FALSE(image.Transparent());
  EXPECT_EQ(image.Pixel(1, 1), graphics::clFuchsia);
  plain.GetBitmap(7, image);
  EXPECT_TRUE(image.Empty());
}

}  // namespace
