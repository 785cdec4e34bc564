// The canvas: fills, frames, lines, bitmap copies with their sampling rule
// and transparency, the focus rectangle, and text through the fixed-cell
// renderer (the same results natively and under Wine).
#include "framework/graphics/canvas.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "framework/graphics/fixed_cell_text_renderer.h"
#include "graphics_test_support.h"
#include "gbk_literal.h"

namespace {

using graphics::TBitmap;
using graphics::TCanvas;
using graphics::TColor;
using graphics::TRect;
using testing_support::Coord;
using testing_support::CoordBitmap;
using testing_support::Filled;
using testing_support::Gbk;
using Cells = graphics::FixedCellTextRenderer;

constexpr TColor kPaper = 0x00EEEEEE;
constexpr TColor kInk = 0x00102030;

// The set of pixels that differ from paper.
std::set<std::pair<int, int>> Marked(const TBitmap& b, TColor paper = kPaper) {
  std::set<std::pair<int, int>> out;
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) {
      if (b.Pixel(x, y) != paper) out.insert({x, y});
    }
  }
  return out;
}

std::set<std::pair<int, int>> RectPixels(const TRect& r) {
  std::set<std::pair<int, int>> out;
  for (int y = r.Top; y < r.Bottom; ++y) {
    for (int x = r.Left; x < r.Right; ++x) out.insert({x, y});
  }
  return out;
}

TEST(CanvasFill, FillRectClipsAndHonoursTheBrush) {
  TBitmap b = Filled(6, 5, kPaper);
  TCanvas c(b);
  c.Brush.Color = kInk;
  c.FillRect({-3, 2, 3, 99});
  EXPECT_EQ(Marked(b), RectPixels({0, 2, 3, 5}));
  for (auto [x, y] : Marked(b)) EXPECT_EQ(b.Pixel(x, y), kInk);

  TBitmap clear = Filled(6, 5, kPaper);
  TCanvas cc(clear);
  cc.Brush.Style = graphics::TBrushStyle::Clear;
  cc.FillRect({0, 0, 6, 5});
  cc.Brush.Style = graphics::TBrushStyle::Solid;
  cc.FillRect({4, 4, 2, 5});  // inverted: nothing
  EXPECT_TRUE(Marked(clear).empty());

  testing_support::ScopedFakeSysColors fake;
  cc.Brush.Color = graphics::clBtnFace;
  cc.FillRect({0, 0, 1, 1});
  EXPECT_EQ(clear.Pixel(0, 0), graphics::RGB(15, 30, 45));
}

TEST(CanvasFill, FrameRectAndRectangle) {
  TBitmap b = Filled(8, 8, kPaper);
  TCanvas c(b);
  c.Brush.Color = kInk;
  c.FrameRect({1, 1, 5, 4});
  std::set<std::pair<int, int>> frame = RectPixels({1, 1, 5, 4});
  for (auto p : RectPixels({2, 2, 4, 3})) frame.erase(p);
  EXPECT_EQ(Marked(b), frame);

  TBitmap r = Filled(8, 8, kPaper);
  TCanvas rc(r);
  rc.Pen.Color = graphics::clRed;
  rc.Pen.Width = 2;
  rc.Brush.Color = graphics::clBlue;
  rc.Rectangle(1, 1, 7, 7);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      TColor expected = kPaper;
      if (x >= 1 && x < 7 && y >= 1 && y < 7) {
        expected = (x >= 3 && x < 5 && y >= 3 && y < 5) ? graphics::clBlue : graphics::clRed;
      }
      EXPECT_EQ(r.Pixel(x, y), expected) << x << "," << y;
    }
  }
  TBitmap r2 = Filled(4, 4, kPaper);
  TCanvas rc2(r2);
  rc2.Brush.Style = graphics::TBrushStyle::Clear;
  rc2.Rectangle(0, 0, 4, 4);
  EXPECT_EQ(r2.Pixel(1, 1), kPaper);
  EXPECT_EQ(r2.Pixel(3, 3), graphics::clBlack);
}

TEST(CanvasLine, BresenhamWithoutTheEndPoint) {
  TBitmap b = Filled(8, 8, kPaper);
  TCanvas c(b);
  c.Pen.Color = kInk;
  c.MoveTo(0, 0);
  c.LineTo(5, 2);
  EXPECT_EQ(c.PenPos(), (graphics::TPoint{5, 2}));
  std::set<std::pair<int, int>> expected = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}};
  EXPECT_EQ(Marked(b), expected);

  TBitmap h = Filled(8, 3, kPaper);
  TCanvas hc(h);
  hc.Pen.Color = kInk;
  hc.MoveTo(6, 1);
  hc.LineTo(1, 1);  // leftwards: 6..2
  EXPECT_EQ(Marked(h), RectPixels({2, 1, 7, 2}));
  hc.LineTo(1, 1);  // to itself: nothing
  EXPECT_EQ(Marked(h), RectPixels({2, 1, 7, 2}));
}

TEST(CanvasLine, LinesClipAndWidePensStampSquares) {
  TBitmap b = Filled(4, 4, kPaper);
  TCanvas c(b);
  c.Pen.Color = kInk;
  c.MoveTo(-10, 1);
  c.LineTo(20, 1);
  EXPECT_EQ(Marked(b), RectPixels({0, 1, 4, 2}));

  TBitmap w = Filled(6, 6, kPaper);
  TCanvas wc(w);
  wc.Pen.Color = kInk;
  wc.Pen.Width = 3;
  wc.MoveTo(2, 2);
  wc.LineTo(3, 2);  // one point, a 3x3 square around it
  EXPECT_EQ(Marked(w), RectPixels({1, 1, 4, 4}));
}

TEST(CanvasCopy, DrawIsExactAndClipped) {
  TBitmap b = Filled(5, 4, kPaper);
  TCanvas c(b);
  c.Draw(-1, 2, CoordBitmap(3, 3));
  EXPECT_EQ(Marked(b), RectPixels({0, 2, 2, 4}));
  EXPECT_EQ(b.Pixel(0, 2), Coord(1, 0));
  EXPECT_EQ(b.Pixel(1, 3), Coord(2, 1));
}

TEST(CanvasCopy, TransparentBitmapsLeaveOutTheirExactColour) {
  TBitmap sprite = CoordBitmap(3, 2);
  sprite.SetPixel(1, 0, graphics::clFuchsia);
  sprite.SetPixel(2, 0, 0xFE00FF);  // near magenta is drawn
  sprite.SetTransparent(true);
  sprite.SetTransparentColor(graphics::clFuchsia);
  TBitmap b = Filled(3, 2, kPaper);
  TCanvas c(b);
  c.Draw(0, 0, sprite);
  EXPECT_EQ(b.Pixel(1, 0), kPaper);
  EXPECT_EQ(b.Pixel(2, 0), 0xFE00FFu);
  EXPECT_EQ(b.Pixel(0, 1), Coord(0, 1));

  // Without a colour set, the bottom-left pixel's colour is left out.
  TBitmap automatic = CoordBitmap(2, 2);
  automatic.SetPixel(1, 0, Coord(0, 1));
  automatic.SetTransparent(true);
  TBitmap a = Filled(2, 2, kPaper);
  TCanvas ac(a);
  ac.Draw(0, 0, automatic);
  EXPECT_EQ(Marked(a), (std::set<std::pair<int, int>>{{0, 0}, {1, 1}}));

  // CopyRect is always opaque; StretchDraw honours transparency.
  TBitmap o = Filled(3, 2, kPaper);
  TCanvas oc(o);
  oc.CopyRect({0, 0, 3, 2}, sprite, {0, 0, 3, 2});
  EXPECT_EQ(o.Pixel(1, 0), graphics::clFuchsia);
  oc.Brush.Color = kPaper;
  oc.FillRect({0, 0, 3, 2});
  oc.StretchDraw({0, 0, 3, 2}, sprite);
  EXPECT_EQ(o.Pixel(1, 0), kPaper);
}

TEST(CanvasCopy, StretchingSamplesThePixelUnderEachCentre) {
  // floor((2i + 1) * s / (2d)) for s = 2, d = 5: 0 0 1 1 1.
  TBitmap b = Filled(5, 1, kPaper);
  TCanvas c(b);
  TBitmap src = CoordBitmap(4, 2);
  c.CopyRect({0, 0, 5, 1}, src, {1, 1, 3, 2});
  const int up[5] = {1, 1, 2, 2, 2};
  for (int x = 0; x < 5; ++x) EXPECT_EQ(b.Pixel(x, 0), Coord(up[x], 1)) << x;

  // Shrinking 4 -> 2 takes columns 1 and 3.
  TBitmap s = Filled(2, 1, kPaper);
  TCanvas sc(s);
  sc.CopyRect({0, 0, 2, 1}, src, {0, 0, 4, 1});
  EXPECT_EQ(s.Pixel(0, 0), Coord(1, 0));
  EXPECT_EQ(s.Pixel(1, 0), Coord(3, 0));

  // A whole factor repeats every pixel exactly that often, in both axes.
  TBitmap big = Filled(12, 6, kPaper);
  TCanvas bc(big);
  bc.StretchDraw({0, 0, 12, 6}, src);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 12; ++x) EXPECT_EQ(big.Pixel(x, y), Coord(x / 3, y / 3));
  }
}

TEST(CanvasCopy, SamplesOutsideTheSourceLeaveTheDestination) {
  TBitmap b = Filled(4, 1, kPaper);
  TCanvas c(b);
  c.CopyRect({0, 0, 4, 1}, CoordBitmap(2, 1), {0, 0, 4, 1});
  EXPECT_EQ(b.Pixel(1, 0), Coord(1, 0));
  EXPECT_EQ(b.Pixel(2, 0), kPaper);
  EXPECT_EQ(b.Pixel(3, 0), kPaper);
  c.CopyRect({0, 0, 4, 1}, CoordBitmap(2, 1), {0, 0, 0, 1});  // empty source
  c.CopyRect({0, 0, 4, 1}, TBitmap(), {0, 0, 1, 1});
  EXPECT_EQ(b.Pixel(2, 0), kPaper);
}

TEST(CanvasCopy, DrawingABitmapOntoItself) {
  TBitmap b = CoordBitmap(4, 1);
  TCanvas c(b);
  c.Draw(1, 0, b);
  EXPECT_EQ(b.Pixel(0, 0), Coord(0, 0));
  for (int x = 1; x < 4; ++x) EXPECT_EQ(b.Pixel(x, 0), Coord(x - 1, 0));
}

TEST(CanvasFocus, EveryOtherFramePixelIsInvertedOnce) {
  TBitmap b = Filled(7, 6, kPaper);
  TCanvas c(b);
  const TRect r{1, 1, 6, 5};
  c.DrawFocusRect(r);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 7; ++x) {
      bool on_frame = r.Contains({x, y}) && (x == 1 || x == 5 || y == 1 || y == 4);
      TColor expected = on_frame && (x + y) % 2 == 0 ? (kPaper ^ 0xFFFFFF) : kPaper;
      EXPECT_EQ(b.Pixel(x, y), expected) << x << "," << y;
    }
  }
  c.DrawFocusRect(r);
  EXPECT_TRUE(Marked(b).empty());
  // One pixel high or wide: each pixel still once.
  c.DrawFocusRect({0, 0, 7, 1});
  c.DrawFocusRect({0, 2, 1, 6});
  EXPECT_EQ(Marked(b), (std::set<std::pair<int, int>>{{0, 0}, {2, 0}, {4, 0}, {6, 0}, {0, 2},
                                                         {0, 4}}));
}

class CanvasText : public ::testing::Test {
protected:
  testing_support::ScopedFixedCellText cells_;
};

TEST_F(CanvasText, ExtentCountsCellsPerByte) {
  TBitmap b;
  TCanvas c(b);
  EXPECT_EQ(c.TextExtent("abc"), (graphics::TSize{21, 13}));
  EXPECT_EQ(c.TextWidth(Gbk(u8"中文")), 28);
  EXPECT_EQ(c.TextHeight(""), 13);
}

TEST_F(CanvasText, TextOutDrawsBlocksInTheFontColourAndMovesThePen) {
  TBitmap b = Filled(40, 16, kPaper);
  TCanvas c(b);
  c.Font.Color = kInk;
  c.TextOut(2, 1, "a b");
  EXPECT_EQ(c.PenPos(), (graphics::TPoint{23, 1}));
  std::set<std::pair<int, int>> glyphs = RectPixels({2, 1, 8, 13});
  for (auto p : RectPixels({16, 1, 22, 13})) glyphs.insert(p);
  EXPECT_EQ(Marked(b), glyphs);
  for (auto [x, y] : glyphs) EXPECT_EQ(b.Pixel(x, y), kInk);

  TBitmap w = Filled(20, 14, kPaper);
  TCanvas wc(w);
  wc.Font.Style = graphics::fsUnderline;
  wc.TextOut(0, 0, Gbk(u8"中"));  // one glyph over two cells
  std::set<std::pair<int, int>> wide = RectPixels({0, 0, 13, 12});
  for (auto p : RectPixels({0, 12, 14, 13})) wide.insert(p);
  EXPECT_EQ(Marked(w), wide);
}

TEST_F(CanvasText, SingleLineAlignment) {
  TBitmap b;
  TCanvas c(b);
  TRect r{10, 20, 110, 60};
  TRect calc = r;
  EXPECT_EQ(c.DrawText("abcd", calc, graphics::dt::SingleLine | graphics::dt::CalcRect), 13);
  EXPECT_EQ(calc, (TRect{10, 20, 38, 33}));

  TBitmap canvas = Filled(120, 70, kPaper);
  TCanvas cc(canvas);
  int h = cc.DrawText("ab", r,
                      graphics::dt::SingleLine | graphics::dt::Center | graphics::dt::VCenter);
  // Centred: x = 10 + (100 - 14) / 2 = 53, y = 20 + (40 - 13) / 2 = 33.
  EXPECT_EQ(h, 33 - 20 + 13);
  std::set<std::pair<int, int>> expected = RectPixels({53, 33, 59, 45});
  for (auto p : RectPixels({60, 33, 66, 45})) expected.insert(p);
  EXPECT_EQ(Marked(canvas), expected);

  TBitmap right = Filled(120, 70, kPaper);
  TCanvas rc(right);
  rc.DrawText("a", r, graphics::dt::SingleLine | graphics::dt::Right | graphics::dt::Bottom);
  EXPECT_EQ(Marked(right), RectPixels({103, 47, 109, 59}));
}

TEST_F(CanvasText, LinesBreakAtLineEndsAndWordsWrap) {
  TBitmap b;
  TCanvas c(b);
  TRect r{0, 0, 40, 0};  // 40 pixels: five cells
  EXPECT_EQ(c.DrawText("ab\r\ncd\nefg", r, graphics::dt::CalcRect), 39);
  EXPECT_EQ(r, (TRect{0, 0, 21, 39}));

  // "aa bb cc" wraps as "aa bb" / "cc": the space at the break is dropped.
  r = {0, 0, 40, 0};
  EXPECT_EQ(c.DrawText("aa bb cc", r, graphics::dt::WordBreak | graphics::dt::CalcRect), 26);
  EXPECT_EQ(r.Right, 35);
  // A word wider than the line stays whole.
  r = {0, 0, 40, 0};
  EXPECT_EQ(c.DrawText("abcdefgh ij", r, graphics::dt::WordBreak | graphics::dt::CalcRect), 26);
  EXPECT_EQ(r.Right, 56);
  // Chinese text breaks between characters, never inside one: 2 a line.
  r = {0, 0, 30, 0};
  const unsigned wrap = graphics::dt::WordBreak | graphics::dt::CalcRect;
  EXPECT_EQ(c.DrawText(Gbk(u8"中文字符串"), r, wrap), 39);
  EXPECT_EQ(r.Right, 28);
}

TEST_F(CanvasText, WrappedLinesAreDrawnWhereTheyBelong) {
  TBitmap b = Filled(40, 30, kPaper);
  TCanvas c(b);
  TRect r{0, 0, 40, 30};
  c.DrawText("ab cd", r, graphics::dt::WordBreak);  // 35 pixels: fits on one line
  std::set<std::pair<int, int>> one_line;
  for (int cell : {0, 1, 3, 4}) {
    for (auto p : RectPixels({7 * cell, 0, 7 * cell + 6, 12})) one_line.insert(p);
  }
  EXPECT_EQ(Marked(b), one_line);

  TBitmap w = Filled(30, 30, kPaper);
  TCanvas wc(w);
  TRect narrow{0, 0, 30, 30};
  wc.DrawText("ab cd", narrow, graphics::dt::WordBreak);
  std::set<std::pair<int, int>> two_lines;
  for (int cell : {0, 1}) {
    for (int line : {0, 1}) {
      for (auto p : RectPixels({7 * cell, 13 * line, 7 * cell + 6, 13 * line + 12})) {
        two_lines.insert(p);
      }
    }
  }
  EXPECT_EQ(Marked(w), two_lines);
}

TEST_F(CanvasText, TabsExpandToStopsOfEightCells) {
  TBitmap b;
  TCanvas c(b);
  TRect r{0, 0, 500, 0};
  c.DrawText("a\tb", r, graphics::dt::SingleLine | graphics::dt::ExpandTabs |
                            graphics::dt::CalcRect);
  EXPECT_EQ(r.Right, 56 + 7);
  r = {0, 0, 500, 0};
  c.DrawText("a\tb", r, graphics::dt::SingleLine | graphics::dt::CalcRect);
  EXPECT_EQ(r.Right, 21);  // without expansion a tab is a cell

  TBitmap d = Filled(70, 13, kPaper);
  TCanvas dc(d);
  TRect full{0, 0, 70, 13};
  dc.DrawText("\tb", full, graphics::dt::SingleLine | graphics::dt::ExpandTabs);
  EXPECT_EQ(Marked(d), RectPixels({56, 0, 62, 12}));
}

TEST_F(CanvasText, PrefixesUnderlineAndVanish) {
  TBitmap b = Filled(40, 13, kPaper);
  TCanvas c(b);
  TRect r{0, 0, 40, 13};
  TRect calc = r;
  c.DrawText("&ab&&", calc, graphics::dt::SingleLine | graphics::dt::CalcRect);
  EXPECT_EQ(calc.Right, 21);  // "ab&"
  calc = r;
  c.DrawText("&ab&&", calc,
             graphics::dt::SingleLine | graphics::dt::CalcRect | graphics::dt::NoPrefix);
  EXPECT_EQ(calc.Right, 35);

  c.DrawText("a&b", r, graphics::dt::SingleLine);
  std::set<std::pair<int, int>> expected = RectPixels({0, 0, 6, 12});
  for (auto p : RectPixels({7, 0, 13, 12})) expected.insert(p);
  for (auto p : RectPixels({7, 12, 14, 13})) expected.insert(p);  // b underlined
  EXPECT_EQ(Marked(b), expected);
}

TEST_F(CanvasText, DrawTextClipsToItsRectangleUnlessTold) {
  TBitmap b = Filled(40, 13, kPaper);
  TCanvas c(b);
  c.Font.Color = kInk;
  TRect r{0, 0, 10, 13};
  c.DrawText("abc", r, graphics::dt::SingleLine);
  std::set<std::pair<int, int>> clipped = RectPixels({0, 0, 6, 12});
  for (auto p : RectPixels({7, 0, 10, 12})) clipped.insert(p);
  EXPECT_EQ(Marked(b), clipped);
  c.DrawText("abc", r, graphics::dt::SingleLine | graphics::dt::NoClip);
  EXPECT_EQ(b.Pixel(15, 5), kInk);
  EXPECT_EQ(b.Pixel(20, 5), kPaper);
}

TEST_F(CanvasText, ACanvasMayHaveItsOwnRenderer) {
  class Wide final : public graphics::TextRenderer {
  public:
    graphics::TSize TextExtent(TBitmap&, const graphics::TFont&, std::string_view t) override {
      return {static_cast<int>(t.size()) * 100, 1};
    }
    void TextOut(TBitmap&, const graphics::TFont&, int, int, std::string_view) override {}
    int DrawText(TBitmap&, const graphics::TFont&, std::string_view, TRect&, unsigned) override {
      return 0;
    }
  } wide;
  TBitmap b;
  TCanvas c(b);
  c.SetTextRenderer(&wide);
  EXPECT_EQ(c.TextWidth("ab"), 200);
  c.SetTextRenderer(nullptr);
  EXPECT_EQ(c.TextWidth("ab"), 14);
}

}  // namespace
