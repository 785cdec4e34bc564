#pragma once
// The Windows side of TBitmap: its pixels are a DIB section selected into a
// memory DC, and GDI may draw into them through that DC. A DC obtained here
// serves one drawing step: the bitmap's next pixel access flushes GDI's
// batch (GdiFlush) first, and later drawing asks for the DC again.
#include "base/win_api.h"

#include "framework/graphics/bitmap.h"

namespace graphics {

// nullptr for an empty bitmap.
inline HDC NativeDC(TBitmap& bitmap) { return static_cast<HDC>(bitmap.NativeContext()); }

}  // namespace graphics
