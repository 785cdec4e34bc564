#pragma once
// GDI fonts and brushes for native controls, made once per distinct value
// and kept for the life of the program: a window keeps using the font it
// was given, so a handle handed out here is never deleted under it. A
// program has a handful of fonts and colours, so the caches stay small.
// The fonts are the graphics layer's cache (font_win.h), the one the text
// renderer draws with.
#include "framework/graphics/font.h"

struct HFONT__;
struct HBRUSH__;

namespace framework {

// The font with the character height font.Height (a negative lfHeight),
// its style, charset and face (GBK, converted). The colour is not part of
// a GDI font. Throws base::Error when the system has no resources left.
HFONT__* CachedFont(const graphics::TFont& font);

// A solid brush of the colour (system colours resolved when first made).
HBRUSH__* CachedBrush(graphics::TColor color);

}  // namespace framework
