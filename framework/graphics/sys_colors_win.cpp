#include "base/win_api.h"

#include "framework/graphics/color.h"

namespace graphics {

// COLORREF and TColor share their layout.
TColor PlatformSysColor(int index) { return static_cast<TColor>(GetSysColor(index)); }

}  // namespace graphics
