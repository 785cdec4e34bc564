#pragma once
// Drawing on a TBitmap. Every operation clips to the bitmap; rectangles
// have exclusive right and bottom edges and an empty (or inverted)
// rectangle draws nothing. System colours are resolved when drawn.
//
// Bitmap copies stretch by nearest-neighbour sampling (what StretchBlt does
// in COLORONCOLOR mode): destination column i of a copy from sw source
// columns into dw destination columns takes source column
//     src.Left + floor((2 * i + 1) * sw / (2 * dw)),
// the source pixel under the destination pixel's centre; rows likewise.
// Enlarging by a whole factor repeats every source pixel exactly that often;
// a 1:1 copy is exact. A sample that falls outside the source bitmap leaves
// its destination pixel as it was.
#include <string_view>

#include "framework/graphics/bitmap.h"
#include "framework/graphics/font.h"
#include "framework/graphics/geometry.h"
#include "framework/graphics/text_renderer.h"

namespace graphics {

class TCanvas {
public:
  explicit TCanvas(TBitmap& bitmap) : bitmap_(bitmap) {}
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TBitmap& Bitmap() { return bitmap_; }

  TPen Pen;
  TBrush Brush;
  TFont Font;

  // The brush over the rectangle (nothing with a clear brush).
  void FillRect(const TRect& r);
  // A one-pixel frame just inside the rectangle, in the brush colour.
  void FrameRect(const TRect& r);
  // Outline in the pen colour, Pen.Width pixels wide inside the rectangle;
  // the rest filled with the brush unless it is clear.
  void Rectangle(const TRect& r);
  void Rectangle(int left, int top, int right, int bottom) {
    Rectangle({left, top, right, bottom});
  }

  // Lines from the pen position by Bresenham's algorithm; the end point is
  // not drawn (so that joined lines do not draw their joints twice) and
  // becomes the pen position. A pen wider than 1 stamps a Width x Width
  // square whose top-left is Width/2 up and left of each point.
  void MoveTo(int x, int y) { pen_pos_ = {x, y}; }
  void LineTo(int x, int y);
  TPoint PenPos() const { return pen_pos_; }

  TColor Pixel(int x, int y) const { return bitmap_.Pixel(x, y); }
  void SetPixel(int x, int y, TColor color) { bitmap_.SetPixel(x, y, color); }

  // The whole bitmap with its top-left at (x, y). A Transparent() bitmap
  // leaves out the pixels of exactly its TransparentColor().
  void Draw(int x, int y, const TBitmap& source);
  // The whole bitmap stretched into dest; transparency as for Draw.
  void StretchDraw(const TRect& dest, const TBitmap& source);
  // source_rect of source stretched into dest, opaque.
  void CopyRect(const TRect& dest, const TBitmap& source, const TRect& source_rect);

  // Inverts every other pixel of a one-pixel frame just inside r: those
  // whose x + y is even. Inverting twice restores the pixels; every frame
  // pixel is visited once, corners included.
  void DrawFocusRect(const TRect& r);

  // Text through the renderer (see text_renderer.h). TextOut leaves the pen
  // position at the end of the text, as the toolkit's canvas does.
  TSize TextExtent(std::string_view text);
  int TextWidth(std::string_view text) { return TextExtent(text).cx; }
  int TextHeight(std::string_view text) { return TextExtent(text).cy; }
  void TextOut(int x, int y, std::string_view text);
  int DrawText(std::string_view text, TRect& rect, unsigned flags);

  // nullptr: the default renderer (DefaultTextRenderer()).
  void SetTextRenderer(TextRenderer* renderer) { renderer_ = renderer; }
  TextRenderer& Renderer() const { return renderer_ ? *renderer_ : DefaultTextRenderer(); }

private:
  void Stretch(const TRect& dest, const TBitmap& source, const TRect& source_rect,
               bool transparent);
  void Fill(const TRect& r, Pixel32 pixel);
  void Plot(int x, int y, Pixel32 pixel, int width);

  TBitmap& bitmap_;
  TPoint pen_pos_;
  TextRenderer* renderer_ = nullptr;
};

}  // namespace graphics
