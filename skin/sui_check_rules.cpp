#include "skin/sui_check_rules.h"

#include <algorithm>
#include <cstdlib>

namespace skin {

TMarkFrame ChooseMarkFrame(int builtin_mark_entry, bool using_file_theme, bool checked,
                           bool enabled) {
  if (builtin_mark_entry == kCheckMarkEntry && using_file_theme) {
    // File check marks: checked 1 and 4, unchecked 3 and 6 (enabled,
    // disabled); frames 2 and 5 are the file's own and unused here.
    if (checked) return {enabled ? 1 : 4, 6};
    return {enabled ? 3 : 6, 6};
  }
  if (checked) return {enabled ? 1 : 3, 4};
  return {enabled ? 2 : 4, 4};
}

TSize CheckBoxAutoSize(TSize mark, int letter_height, int caption_width) {
  return {mark.cx + caption_width + 8, std::max(letter_height + 2, mark.cy) + 4};
}

TCheckBoxLayout LayoutCheckBox(TSize client, TSize mark, int letter_height, bool right_to_left) {
  const int w = client.cx, h = client.cy;
  const int ty = (h - letter_height) / 2;
  const int my = (h - mark.cy) / 2;
  TCheckBoxLayout out;
  if (right_to_left) {
    out.mark = {w - mark.cx - 1, my};
    out.caption = {0, ty, w - mark.cx - 4, h};
    out.focus = {0, ty, w - (mark.cx + 4) + 2, ty + letter_height + 2};
  } else {
    out.mark = {1, my};
    out.caption = {mark.cx + 4, ty, w, h};
    out.focus = {mark.cx + 3, ty, w, ty + letter_height + 2};
  }
  return out;
}

std::vector<TPoint> GroupBoxFramePath(const TRect& c, int font_height, int caption_width,
                                      bool has_caption, bool right_to_left) {
  const int y = c.Top + std::abs(font_height) / 2 + 1;
  const int L = c.Left, R = c.Right, B = c.Bottom;
  if (right_to_left) {
    return {{R - 3, y},     {R - 1, y}, {R - 1, B - 1}, {L + 1, B - 1}, {L + 1, y},
            {has_caption ? R - caption_width - 7 : R - 1, y}};
  }
  return {{L + 2, y},         {L, y},     {L, B - 1}, {R - 1, B - 1}, {R - 1, y},
          {has_caption ? L + caption_width + 6 : L, y}};
}

TPoint GroupBoxCaptionOrigin(int width, int caption_width, bool right_to_left) {
  return right_to_left ? TPoint{width - caption_width - 6, 0} : TPoint{5, 0};
}

TRect GroupBoxAlignArea(const TRect& c, int font_height) {
  return {c.Left + 3, c.Top + std::abs(font_height) + 5, c.Right - 3, c.Bottom - 3};
}

int EffectiveColumns(int columns) { return columns < 1 ? 1 : columns; }

std::vector<TPoint> ArrangeGroupItems(const TRect& client, int group_width, int font_height,
                                      int top_margin, int columns,
                                      const std::vector<int>& button_widths, bool right_to_left) {
  std::vector<TPoint> out;
  const int count = static_cast<int>(button_widths.size());
  if (count == 0) return out;
  const int cols = EffectiveColumns(columns);
  const int top = client.Top + std::abs(font_height) + top_margin;
  const int h = (client.Bottom - 2) - top;
  const int rows = (count + cols - 1) / cols;
  const int cw = (group_width - 10) / cols;
  const int rh = h / rows;
  const int y0 = top + (h % rows) / 2;
  out.reserve(button_widths.size());
  for (int i = 0; i < count; ++i) {
    const int column = i / rows, row = i % rows;
    const int left = right_to_left
                         ? group_width - column * cw - button_widths[static_cast<std::size_t>(i)] - 8
                         : column * cw + 8;
    out.push_back({left, row * rh + y0});
  }
  return out;
}

int FirstCheckedIndex(const std::vector<bool>& checked) {
  for (std::size_t i = 0; i < checked.size(); ++i)
    if (checked[i]) return static_cast<int>(i);
  return -1;
}

bool ItemIndexAccepted(int value, int item_count) { return value >= -1 && value <= item_count - 1; }

}  // namespace skin
