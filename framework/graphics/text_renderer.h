#pragma once
// The seam through which a canvas measures and draws text. On Windows the
// platform renderer is GDI (text_renderer_win.cpp: UTF-16 through the wide
// API, drawn into the bitmap's DIB section). Elsewhere it is the
// fixed-cell renderer (fixed_cell_text_renderer.h), which is deterministic
// and serves tests on every platform.
//
// Texts are GBK. No renderer paints a background: text lands on whatever
// the bitmap holds (fill the rectangle first where a background is wanted).
#include <string_view>

#include "framework/graphics/bitmap.h"
#include "framework/graphics/font.h"
#include "framework/graphics/geometry.h"

namespace graphics {

// DrawText flags; the values are the platform's DT_ constants, so the GDI
// renderer passes them on unchanged.
namespace dt {
inline constexpr unsigned Left = 0x0;
inline constexpr unsigned Center = 0x1;
inline constexpr unsigned Right = 0x2;
inline constexpr unsigned Top = 0x0;
inline constexpr unsigned VCenter = 0x4;  // single-line only
inline constexpr unsigned Bottom = 0x8;   // single-line only
inline constexpr unsigned WordBreak = 0x10;
inline constexpr unsigned SingleLine = 0x20;
inline constexpr unsigned ExpandTabs = 0x40;
inline constexpr unsigned NoClip = 0x100;
inline constexpr unsigned CalcRect = 0x400;
inline constexpr unsigned NoPrefix = 0x800;
}  // namespace dt

class TextRenderer {
public:
  virtual ~TextRenderer() = default;

  // Size of the text as one line: tabs and '&' are ordinary characters.
  virtual TSize TextExtent(TBitmap& target, const TFont& font, std::string_view text) = 0;

  // Draws the text as one line, its top-left at (x, y), clipped to the
  // bitmap.
  virtual void TextOut(TBitmap& target, const TFont& font, int x, int y, std::string_view text) = 0;

  // Lays the text out in rect by the dt:: flags and draws it, clipped to
  // rect unless dt::NoClip. Without dt::NoPrefix, "&x" underlines x and
  // "&&" is one '&'. With dt::CalcRect nothing is drawn and rect's right
  // and bottom are moved to the text's extent. Returns the text's height
  // (with dt::VCenter or dt::Bottom: from rect's top to the text's bottom).
  virtual int DrawText(TBitmap& target, const TFont& font, std::string_view text, TRect& rect,
                       unsigned flags) = 0;
};

// The platform's renderer (a process-wide object).
TextRenderer& PlatformTextRenderer();

// The renderer of canvases that were given none. Setting nullptr restores
// the platform's; returns the one in force before.
TextRenderer* SetDefaultTextRenderer(TextRenderer* renderer);
TextRenderer& DefaultTextRenderer();

}  // namespace graphics
