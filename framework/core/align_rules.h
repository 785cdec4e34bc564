#pragma once
// Where aligned child controls go. Kept apart from the windows so that the
// rule can be checked without any: a parent hands in its alignment area and
// its children's alignments and bounds, in child order, and gets their new
// bounds back.
#include <cstdint>
#include <vector>

#include "framework/graphics/geometry.h"

namespace framework {

enum class TAlign : std::uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };

struct TAlignedChild {
  TAlign align = TAlign::alNone;
  graphics::TRect bounds;
};

// Children along the top come first, then the bottom, left, right and
// client ones, each group in child order; each takes its strip off what is
// left of the area (keeping its own height or width) and alClient fills the
// rest. alNone and alCustom children keep their bounds. Sizes never go
// negative.
std::vector<graphics::TRect> ArrangeAligned(graphics::TRect area,
                                            const std::vector<TAlignedChild>& children);

}  // namespace framework
