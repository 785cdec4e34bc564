#include "framework/core/tool_bar_rules.h"

#include <algorithm>

namespace framework {

TToolBarLayout ArrangeToolButtons(const std::vector<int>& widths, int client_width,
                                  int button_height, bool wrap, bool right_to_left) {
  TToolBarLayout layout;
  if (widths.empty()) return layout;
  layout.rows = 1;
  int x = 0;
  int y = 0;
  for (int w : widths) {
    w = std::max(w, 0);
    if (wrap && x > 0 && x + w > client_width) {
      x = 0;
      y += button_height;
      ++layout.rows;
    }
    layout.buttons.push_back({x, y, x + w, y + button_height});
    x += w;
  }
  if (right_to_left) {
    for (graphics::TRect& r : layout.buttons) {
      const int width = r.Width();
      r.Left = client_width - r.Right;
      r.Right = r.Left + width;
    }
  }
  return layout;
}

}  // namespace framework
