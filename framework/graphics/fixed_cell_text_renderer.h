#pragma once
// A text renderer without fonts: every byte of GBK text is a cell of
// kCellWidth x kCellHeight pixels whatever the font (a double-byte
// character is one glyph two cells wide). A glyph is a solid block in the
// font colour that leaves the cell's rightmost column and bottom row free,
// so that neighbouring glyphs stay apart; a space draws nothing. The bottom
// row carries underlines (fsUnderline, or a prefix "&x"). Tab stops are
// every kTabCells cells.
//
// Results are exact and the same on every platform, which makes it the
// renderer of tests (and the platform renderer where there is no GDI).
#include "framework/graphics/text_renderer.h"

namespace graphics {

class FixedCellTextRenderer final : public TextRenderer {
public:
  static constexpr int kCellWidth = 7;
  static constexpr int kCellHeight = 13;
  static constexpr int kTabCells = 8;

  TSize TextExtent(TBitmap& target, const TFont& font, std::string_view text) override;
  void TextOut(TBitmap& target, const TFont& font, int x, int y, std::string_view text) override;
  int DrawText(TBitmap& target, const TFont& font, std::string_view text, TRect& rect,
               unsigned flags) override;
};

}  // namespace graphics
