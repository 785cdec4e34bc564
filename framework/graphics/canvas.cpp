#include "framework/graphics/canvas.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace graphics {
namespace {

// Source index for destination index i of a copy of s source pixels into d
// destination pixels (see canvas.h).
int Sample(int i, int s, int d) {
  return static_cast<int>((2 * static_cast<std::int64_t>(i) + 1) * s / (2 * std::int64_t{d}));
}

}  // namespace

void TCanvas::Fill(const TRect& r, Pixel32 pixel) {
  TRect c = Intersect(r, {0, 0, bitmap_.Width(), bitmap_.Height()});
  for (int y = c.Top; y < c.Bottom; ++y) {
    Pixel32* row = bitmap_.Row(y);
    std::fill(row + c.Left, row + c.Right, pixel);
  }
}

void TCanvas::FillRect(const TRect& r) {
  if (Brush.Style == TBrushStyle::Clear || r.IsEmpty()) return;
  Fill(r, ColorToPixel(ColorToRGB(Brush.Color)));
}

void TCanvas::FrameRect(const TRect& r) {
  if (Brush.Style == TBrushStyle::Clear || r.IsEmpty()) return;
  const Pixel32 p = ColorToPixel(ColorToRGB(Brush.Color));
  Fill({r.Left, r.Top, r.Right, r.Top + 1}, p);
  Fill({r.Left, r.Bottom - 1, r.Right, r.Bottom}, p);
  Fill({r.Left, r.Top, r.Left + 1, r.Bottom}, p);
  Fill({r.Right - 1, r.Top, r.Right, r.Bottom}, p);
}

void TCanvas::Rectangle(const TRect& r) {
  if (r.IsEmpty()) return;
  const int w = std::max(1, Pen.Width);
  const TRect inner{r.Left + w, r.Top + w, r.Right - w, r.Bottom - w};
  if (Brush.Style != TBrushStyle::Clear && !inner.IsEmpty()) {
    Fill(inner, ColorToPixel(ColorToRGB(Brush.Color)));
  }
  const Pixel32 p = ColorToPixel(ColorToRGB(Pen.Color));
  Fill({r.Left, r.Top, r.Right, std::min(r.Top + w, r.Bottom)}, p);
  Fill({r.Left, std::max(r.Bottom - w, r.Top), r.Right, r.Bottom}, p);
  Fill({r.Left, r.Top, std::min(r.Left + w, r.Right), r.Bottom}, p);
  Fill({std::max(r.Right - w, r.Left), r.Top, r.Right, r.Bottom}, p);
}

void TCanvas::Plot(int x, int y, Pixel32 pixel, int width) {
  if (width <= 1) {
    if (x >= 0 && y >= 0 && x < bitmap_.Width() && y < bitmap_.Height()) bitmap_.Row(y)[x] = pixel;
    return;
  }
  const int x0 = x - width / 2;
  const int y0 = y - width / 2;
  Fill({x0, y0, x0 + width, y0 + width}, pixel);
}

void TCanvas::LineTo(int x1, int y1) {
  const Pixel32 p = ColorToPixel(ColorToRGB(Pen.Color));
  int x = pen_pos_.X;
  int y = pen_pos_.Y;
  const int dx = std::abs(x1 - x);
  const int dy = -std::abs(y1 - y);
  const int sx = x < x1 ? 1 : -1;
  const int sy = y < y1 ? 1 : -1;
  int err = dx + dy;
  while (x != x1 || y != y1) {
    Plot(x, y, p, Pen.Width);
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
  pen_pos_ = {x1, y1};
}

void TCanvas::Stretch(const TRect& dest, const TBitmap& source, const TRect& source_rect,
                      bool transparent) {
  if (dest.IsEmpty() || source_rect.IsEmpty() || source.Empty()) return;
  if (&source == &bitmap_) {
    // Reading and writing the same pixels: copy the source first.
    TBitmap copy(source);
    Stretch(dest, copy, source_rect, transparent);
    return;
  }
  const int dw = dest.Width(), dh = dest.Height();
  const int sw = source_rect.Width(), sh = source_rect.Height();
  const TRect clip = Intersect(dest, {0, 0, bitmap_.Width(), bitmap_.Height()});
  const Pixel32 key = ColorToPixel(source.TransparentColor());
  const bool keyed = transparent && source.Transparent();
  for (int y = clip.Top; y < clip.Bottom; ++y) {
    const int sy = source_rect.Top + Sample(y - dest.Top, sh, dh);
    if (sy < 0 || sy >= source.Height()) continue;
    const Pixel32* src = source.Row(sy);
    Pixel32* dst = bitmap_.Row(y);
    for (int x = clip.Left; x < clip.Right; ++x) {
      const int sx = source_rect.Left + Sample(x - dest.Left, sw, dw);
      if (sx < 0 || sx >= source.Width()) continue;
      const Pixel32 pixel = src[sx] & 0xFFFFFF;
      if (keyed && pixel == key) continue;
      dst[x] = pixel;
    }
  }
}

void TCanvas::Draw(int x, int y, const TBitmap& source) {
  Stretch(Bounds(x, y, source.Width(), source.Height()), source,
          {0, 0, source.Width(), source.Height()}, true);
}

void TCanvas::StretchDraw(const TRect& dest, const TBitmap& source) {
  Stretch(dest, source, {0, 0, source.Width(), source.Height()}, true);
}

void TCanvas::CopyRect(const TRect& dest, const TBitmap& source, const TRect& source_rect) {
  Stretch(dest, source, source_rect, false);
}

void TCanvas::DrawFocusRect(const TRect& r) {
  if (r.IsEmpty()) return;
  auto invert = [&](int x, int y) {
    if (((x + y) & 1) != 0) return;
    if (x < 0 || y < 0 || x >= bitmap_.Width() || y >= bitmap_.Height()) return;
    bitmap_.Row(y)[x] ^= 0xFFFFFF;
  };
  for (int x = r.Left; x < r.Right; ++x) {
    invert(x, r.Top);
    if (r.Bottom - 1 > r.Top) invert(x, r.Bottom - 1);
  }
  for (int y = r.Top + 1; y < r.Bottom - 1; ++y) {
    invert(r.Left, y);
    if (r.Right - 1 > r.Left) invert(r.Right - 1, y);
  }
}

TSize TCanvas::TextExtent(std::string_view text) {
  return Renderer().TextExtent(bitmap_, Font, text);
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
  TextRenderer& renderer = Renderer();
  renderer.TextOut(bitmap_, Font, x, y, text);
  pen_pos_ = {x + renderer.TextExtent(bitmap_, Font, text).cx, y};
}

int TCanvas::DrawText(std::string_view text, TRect& rect, unsigned flags) {
  return Renderer().DrawText(bitmap_, Font, text, rect, flags);
}

}  // namespace graphics
