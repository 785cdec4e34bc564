#include "framework/graphics/fixed_cell_text_renderer.h"

#include "base/gbk_text.h"
#include "framework/graphics/text_layout.h"

namespace graphics {
namespace {

using R = FixedCellTextRenderer;

int CellsWidth(std::string_view text) { return static_cast<int>(text.size()) * R::kCellWidth; }

void Fill(TBitmap& target, const TRect& r, const TRect& clip, Pixel32 pixel) {
  TRect c = Intersect(Intersect(r, clip), {0, 0, target.Width(), target.Height()});
  for (int y = c.Top; y < c.Bottom; ++y) {
    Pixel32* row = target.Row(y);
    for (int x = c.Left; x < c.Right; ++x) row[x] = pixel;
  }
}

void DrawRun(TBitmap& target, const TFont& font, int x, int y, std::string_view text,
             const TRect& clip) {
  const Pixel32 ink = ColorToPixel(ColorToRGB(font.Color));
  int cx = x;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t n = base::GbkCharLength(text, i);
    int w = static_cast<int>(n) * R::kCellWidth;
    if (text[i] != ' ') Fill(target, {cx, y, cx + w - 1, y + R::kCellHeight - 1}, clip, ink);
    cx += w;
    i += n;
  }
  if (font.Style & fsUnderline) {
    Fill(target, {x, y + R::kCellHeight - 1, cx, y + R::kCellHeight}, clip, ink);
  }
}

}  // namespace

TSize FixedCellTextRenderer::TextExtent(TBitmap&, const TFont&, std::string_view text) {
  return {CellsWidth(text), kCellHeight};
}

void FixedCellTextRenderer::TextOut(TBitmap& target, const TFont& font, int x, int y,
                                    std::string_view text) {
  DrawRun(target, font, x, y, text, {0, 0, target.Width(), target.Height()});
}

int FixedCellTextRenderer::DrawText(TBitmap& target, const TFont& font, std::string_view text,
                                    TRect& rect, unsigned flags) {
  TextMetrics metrics{CellsWidth, kCellHeight, kTabCells * kCellWidth};
  TextLayout layout = LayoutText(text, rect, flags, metrics);
  if (flags & dt::CalcRect) {
    rect.Right = rect.Left + layout.width;
    rect.Bottom = rect.Top + layout.height;
    return layout.result;
  }
  const TRect clip = (flags & dt::NoClip) ? TRect{0, 0, target.Width(), target.Height()} : rect;
  for (const PlacedRun& run : layout.runs) DrawRun(target, font, run.x, run.y, run.text, clip);
  const Pixel32 ink = ColorToPixel(ColorToRGB(font.Color));
  for (const TRect& u : layout.underlines) Fill(target, u, clip, ink);
  return layout.result;
}

}  // namespace graphics
