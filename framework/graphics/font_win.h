#pragma once
// A GDI font for a toolkit font: character height as a negative lfHeight,
// the style bits, the character set, the face name converted from GBK.
// The caller owns the handle (DeleteObject). Throws base::Error when GDI
// cannot make one.
#include "base/win_api.h"
#include "framework/graphics/font.h"

namespace graphics {

HFONT CreateFontHandle(const TFont& font);

}  // namespace graphics
