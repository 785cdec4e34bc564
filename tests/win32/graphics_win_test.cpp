// The Windows side of the graphics layer under Wine: GDI text lands in the
// bitmap's own pixels (the DIB section), drawing through the DC is visible
// to pixel access, and built-in pictures load from BITMAP resources of the
// running executable.
#include "base/win_api.h"

#include <gtest/gtest.h>

#include <string>

#include "base/error.h"
#include "framework/graphics/bitmap_win.h"
#include "framework/graphics/canvas.h"
#include "framework/graphics/fixed_cell_text_renderer.h"
#include "skin/sui_themes.h"

namespace {

using graphics::TBitmap;
using graphics::TCanvas;
using graphics::TColor;
using graphics::TRect;

constexpr TColor kPaper = 0x00FFFFFF;

TBitmap Paper(int w, int h) {
  TBitmap b(w, h);
  TCanvas c(b);
  c.Brush.Color = kPaper;
  c.FillRect({0, 0, w, h});
  return b;
}

// Counts pixels inside and outside r that are no longer paper, and inside
// r those that are exactly the ink.
struct Ink {
  int inside = 0;
  int outside = 0;
  int exact = 0;
};

Ink Count(const TBitmap& b, const TRect& r, TColor ink) {
  Ink n;
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) {
      TColor p = b.Pixel(x, y);
      if (p == kPaper) continue;
      if (r.Contains({x, y})) {
        ++n.inside;
        if (p == ink) ++n.exact;
      } else {
        ++n.outside;
      }
    }
  }
  return n;
}

TEST(GdiText, DrawTextPaintsInsideItsRectangleOnly) {
  // The platform's renderer, not the fixed cells of portable tests.
  ASSERT_EQ(dynamic_cast<graphics::FixedCellTextRenderer*>(&graphics::DefaultTextRenderer()),
            nullptr);
  TBitmap b = Paper(220, 80);
  TCanvas c(b);
  c.Font.Name = "Tahoma";
  c.Font.Height = 32;
  c.Font.Style = graphics::fsBold;
  c.Font.Color = graphics::clRed;
  const TRect r{20, 15, 200, 65};
  TRect text = r;
  c.DrawText("HWMH", text, graphics::dt::SingleLine | graphics::dt::Center |
                               graphics::dt::VCenter);
  Ink n = Count(b, r, graphics::clRed);
  EXPECT_GT(n.inside, 100);
  EXPECT_GT(n.exact, 20);  // the stems of a bold face are solid ink
  EXPECT_EQ(n.outside, 0);
}

TEST(GdiText, MeasuringAndCalcRectUseTheFont) {
  TBitmap empty;
  TCanvas c(empty);
  c.Font.Name = "Tahoma";
  c.Font.Height = 20;
  graphics::TSize one = c.TextExtent("M");
  graphics::TSize four = c.TextExtent("MMMM");
  EXPECT_GT(one.cx, 5);
  EXPECT_GE(one.cy, 20);
  EXPECT_GE(four.cx, 4 * one.cx - 4);
  c.Font.Height = 40;
  EXPECT_GT(c.TextExtent("M").cx, one.cx);

  TRect r{10, 10, 500, 10};
  int h = c.DrawText("MMMM", r, graphics::dt::SingleLine | graphics::dt::CalcRect);
  EXPECT_EQ(r.Left, 10);
  EXPECT_EQ(r.Width(), c.TextExtent("MMMM").cx);
  EXPECT_EQ(h, r.Height());
}

TEST(GdiText, ChineseTextIsDrawnFromGbk) {
  TBitmap b = Paper(120, 40);
  TCanvas c(b);
  c.Font.Height = 24;  // SimSun, which the rig maps to WenQuanYi Micro Hei
  c.Font.Color = graphics::clBlue;
  c.TextOut(5, 5, "\xD6\xD0\xCE\xC4");  // 中文
  graphics::TSize size = c.TextExtent("\xD6\xD0\xCE\xC4");
  EXPECT_EQ(c.PenPos(), (graphics::TPoint{5 + size.cx, 5}));
  Ink n = Count(b, {5, 5, 5 + size.cx, 5 + size.cy}, graphics::clBlue);
  EXPECT_GT(n.inside, 30);
  EXPECT_EQ(n.outside, 0);
  // One character is about half the width of two: never half a character.
  int single = c.TextWidth("\xD6\xD0");
  EXPECT_GT(single, 8);
  EXPECT_NEAR(2 * single, size.cx, 2);
}

TEST(GdiBitmap, DrawingThroughTheDcReachesThePixels) {
  TBitmap b = Paper(8, 8);
  HDC dc = graphics::NativeDC(b);
  ASSERT_NE(dc, nullptr);
  HBRUSH brush = CreateSolidBrush(graphics::RGB(0, 128, 255));  // COLORREF's layout
  RECT r{2, 3, 5, 7};
  FillRect(dc, &r, brush);
  DeleteObject(brush);
  EXPECT_EQ(b.Pixel(2, 3), graphics::RGB(0, 128, 255));
  EXPECT_EQ(b.Pixel(4, 6), graphics::RGB(0, 128, 255));
  EXPECT_EQ(b.Pixel(5, 6), kPaper);
  // And the other way round: what the canvas wrote, GDI reads.
  b.SetPixel(0, 0, graphics::RGB(1, 2, 3));
  EXPECT_EQ(GetPixel(graphics::NativeDC(b), 0, 0), graphics::RGB(1, 2, 3));

  TBitmap empty;
  EXPECT_EQ(graphics::NativeDC(empty), nullptr);
  TBitmap copy(b);  // a copy has a DIB section of its own
  EXPECT_NE(graphics::NativeDC(copy), graphics::NativeDC(b));
  EXPECT_EQ(copy.Pixel(2, 3), graphics::RGB(0, 128, 255));
}

TEST(ModulePictures, BitmapResourcesLoadThroughThePlatformLoader) {
  TBitmap button = skin::LoadModulePicture("WINXP_BUTTON");
  ASSERT_EQ(button.Width(), 54);
  ASSERT_EQ(button.Height(), 21);
  for (int y = 0; y < 21; y += 5) {
    for (int x = 0; x < 54; x += 7) EXPECT_EQ(button.Pixel(x, y), graphics::RGB(x, y, 0x80));
  }

  TBitmap palette = skin::LoadModulePicture("palette_picture");  // names ignore case
  ASSERT_EQ(palette.Width(), 4);
  EXPECT_EQ(palette.Pixel(1, 0), graphics::RGB(60, 0, 0));
  EXPECT_EQ(palette.Pixel(0, 1), graphics::RGB(180, 0, 0));
}

TEST(ModulePictures, BuiltInFramesComeFromTheResources) {
  TBitmap frame;
  skin::GetBuiltInBitmap(skin::WinXP, 1, &frame, 2, 3);
  ASSERT_EQ(frame.Width(), 18);
  ASSERT_EQ(frame.Height(), 21);
  for (int y = 0; y < 21; ++y) {
    for (int x = 0; x < 18; ++x) ASSERT_EQ(frame.Pixel(x, y), graphics::RGB(18 + x, y, 0x80));
  }
}

TEST(ModulePictures, MissingResourcesAreNamed) {
  try {
    skin::LoadModulePicture("DEEPBLUE_BUTTON");
    FAIL() << "no error";
  } catch (const base::Error& e) {
    EXPECT_STREQ(e.what(), "Resource DEEPBLUE_BUTTON not found");
  }
  TBitmap b;
  EXPECT_THROW(skin::LoadBuiltInPicture(skin::DeepBlue, 3, &b), base::Error);
}

}  // namespace
