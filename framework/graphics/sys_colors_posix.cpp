#include "framework/graphics/color.h"

namespace graphics {

// Without a desktop to ask, the classic scheme stands in.
TColor PlatformSysColor(int index) { return ClassicSysColor(index); }

}  // namespace graphics
