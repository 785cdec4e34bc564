#pragma once
// Where a tool bar's buttons go. Kept apart from the windows so that the
// rule can be checked without any: the bar hands in the widths of its
// visible buttons, in child order, and gets their rectangles back.
#include <vector>

#include "framework/graphics/geometry.h"

namespace framework {

// The space an auto-sized button leaves on each side of its caption.
inline constexpr int kToolButtonPadding = 7;

constexpr int ToolButtonWidthForText(int text_width) {
  return text_width + 2 * kToolButtonPadding;
}

struct TToolBarLayout {
  std::vector<graphics::TRect> buttons;
  int rows = 0;  // 0 without buttons
};

// Buttons stand left to right at their own widths, all button_height high.
// With wrap, a button that would cross client_width starts the next row;
// a row always takes its first button, however wide. Right to left mirrors
// each row within client_width. Negative widths count as 0.
TToolBarLayout ArrangeToolButtons(const std::vector<int>& widths, int client_width,
                                  int button_height, bool wrap, bool right_to_left);

}  // namespace framework
