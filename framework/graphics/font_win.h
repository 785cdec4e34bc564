#pragma once
// GDI fonts for toolkit fonts: character height as a negative lfHeight,
// the style bits, the character set, the face name converted from GBK.
// Both throw base::Error when GDI cannot make a font.
#include "base/win_api.h"
#include "framework/graphics/font.h"
#include "framework/graphics/gdi_handles_win.h"

namespace graphics {

// A new font, owned by the caller.
OwnedFont MakeFont(const TFont& font);

// The font for that value, made on first demand and kept for the life of
// the program: a window keeps using the font it was given, and text is
// drawn many times a paint, so a handle handed out here is never deleted.
// A program has a handful of distinct fonts, so the cache stays small. The
// colour is not part of a GDI font.
HFONT CachedFont(const TFont& font);

}  // namespace graphics
