#pragma once
// Line layout for DrawText, for renderers that have no platform layout of
// their own: prefix characters, line breaks, word wrapping, tab stops,
// alignment and the calc-rect answer. Lengths are measured through a
// callback, so the rules hold for any fixed or proportional font.
//
// Word wrapping breaks after a run of spaces and on either side of a
// double-byte GBK character (Chinese text has no spaces); a double-byte
// character is never split. A word wider than the rectangle stays whole on
// its own line. Spaces at a break are dropped.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/graphics/geometry.h"

namespace graphics {

struct TextMetrics {
  // Width of a piece of one line that holds no tab.
  std::function<int(std::string_view)> width;
  int line_height = 0;
  int tab_width = 0;  // distance between tab stops (dt::ExpandTabs)
};

struct PlacedRun {
  int x = 0;
  int y = 0;
  std::string text;  // no tabs when dt::ExpandTabs was given
};

struct TextLayout {
  std::vector<PlacedRun> runs;
  std::vector<TRect> underlines;  // prefix underlines: one pixel row each
  int width = 0;                  // of the widest line
  int height = 0;                 // lines * line height
  int result = 0;                 // what DrawText returns
};

// Positions the text's runs for rect and flags (dt::). Does not touch rect;
// the caller applies dt::CalcRect from width and height.
TextLayout LayoutText(std::string_view text, const TRect& rect, unsigned flags,
                      const TextMetrics& metrics);

}  // namespace graphics
