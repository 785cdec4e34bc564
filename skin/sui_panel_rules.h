#pragma once
// The size a picture-sized skinned panel takes, apart from the windows.
#include "framework/core/align_rules.h"
#include "framework/graphics/geometry.h"

namespace skin {

// Both sides when the panel is not aligned (or custom aligned), the width
// along a left or right edge, the height along the top or bottom, nothing
// when it fills its parent: the alignment owns the other sides.
graphics::TSize PictureAutoSizeFor(framework::TAlign align, graphics::TSize current,
                                   graphics::TSize picture);

}  // namespace skin
