#pragma once
// The geometry and the choices behind check boxes, radio buttons and their
// groups, apart from the windows: which frame of a mark strip shows, how
// big an auto-sized box is, where mark, caption and focus go, the group
// box's frame, where a group puts its item buttons, and the ItemIndex
// rules. The controls (sui_check_box.h, sui_group_box.h, sui_radio_group.h)
// ask these and draw.
#include <vector>

#include "framework/graphics/geometry.h"

namespace skin {

using graphics::TPoint;
using graphics::TRect;
using graphics::TSize;

// Built-in theme entries and file theme items of the two kinds of mark.
inline constexpr int kCheckMarkEntry = 3;
inline constexpr int kRadioMarkEntry = 4;

struct TMarkFrame {
  int frame = 1;  // 1-based
  int count = 4;
};

// A check mark of a file theme comes from a 6-frame strip; every other
// mark (built-in themes, and radio marks of file themes too) from a
// 4-frame one.
TMarkFrame ChooseMarkFrame(int builtin_mark_entry, bool using_file_theme, bool checked,
                           bool enabled);

// The size of an auto-sized box: room for the mark, the caption and the
// focus frame around the caption's line.
TSize CheckBoxAutoSize(TSize mark, int letter_height, int caption_width);

struct TCheckBoxLayout {
  TPoint mark;
  TRect caption;        // single line; right-aligned in right-to-left layout
  TRect focus;
};

// letter_height is the text height of "W" in the control's font.
TCheckBoxLayout LayoutCheckBox(TSize client, TSize mark, int letter_height, bool right_to_left);

// The group box's frame as a pen path: MoveTo the first point, LineTo each
// of the others. With a caption the top line stops short of it, leaving a
// gap for the text. font_height may be negative (a character height).
std::vector<TPoint> GroupBoxFramePath(const TRect& client, int font_height, int caption_width,
                                      bool has_caption, bool right_to_left);
TPoint GroupBoxCaptionOrigin(int width, int caption_width, bool right_to_left);
// The area that aligned children of a group box share.
TRect GroupBoxAlignArea(const TRect& client, int font_height);

// Columns as a group arranges them: 0 counts as one column (the Columns
// setter refuses only negative values).
int EffectiveColumns(int columns);

// The top-left corner of every item button. button_widths has one entry
// per button, in item order; items run down the first column, then the
// next. Empty when there are no buttons.
std::vector<TPoint> ArrangeGroupItems(const TRect& client, int group_width, int font_height,
                                      int top_margin, int columns,
                                      const std::vector<int>& button_widths, bool right_to_left);

// ItemIndex: the first checked item, or -1.
int FirstCheckedIndex(const std::vector<bool>& checked);
// Whether ItemIndex := value is carried out at all (-1 clears).
bool ItemIndexAccepted(int value, int item_count);

}  // namespace skin
