#include <cstdlib>

#include "skin/skin_window.h"
#include "skin/sui_check_rules.h"
#include "skin/sui_file_theme.h"
#include "skin/sui_group_box.h"
#include "skin/sui_skin_items.h"
#include "skin/sui_style_rules.h"

namespace skin {

using framework::TComponent;

TsuiCustomGroupBox::TsuiCustomGroupBox(TComponent* owner) : TsuiCustomPanel(owner) {
  SetBounds(0, 0, 185, 105);
  SetParentColor(true);
  ui_style_ = GetOwnerUIStyle(owner);
  // Not virtual yet from here: the group classes apply their part when
  // they are complete.
  TsuiCustomGroupBox::ApplyUIStyle();
}

void TsuiCustomGroupBox::SetBorderColor(graphics::TColor v) {
  border_color_ = v;
  Invalidate();
}

void TsuiCustomGroupBox::SetGroupCaption(const std::string& v) {
  caption_ = v;
  Invalidate();
}

void TsuiCustomGroupBox::SetFileTheme(TComponent* theme) {
  file_theme_.Set(theme);
  SetUIStyle(ui_style_);
}

void TsuiCustomGroupBox::SetUIStyle(TsuiUIStyle style) {
  ui_style_ = style;
  ApplyUIStyle();
  Invalidate();
}

void TsuiCustomGroupBox::ApplyUIStyle() {
  PropagateUIStyle(this, ui_style_, file_theme_.get());
  TsuiUIStyle theme;
  const TsuiFileTheme* file_theme = AsFileTheme(file_theme_.get());
  graphics::TFont font = Font();
  if (UsingFileTheme(file_theme, ui_style_, theme)) {
    border_color_ = file_theme->GetColor(skin_item::kControlBorderColor);
    font.Color = file_theme->GetColor(skin_item::kControlFontColor);
  } else {
    border_color_ = GetBuiltInColor(theme, 25);
    font.Color = GetBuiltInColor(theme, 27);
  }
  // Like any font change, this ends ParentFont.
  if (font.Color != Font().Color) SetFont(font);
}

void TsuiCustomGroupBox::Notification(TComponent* component, framework::TOperation operation) {
  TsuiCustomPanel::Notification(component, operation);
  if (file_theme_.Released(component, operation)) {
    PropagateUIStyle(this, DeepBlue, nullptr);
    SetUIStyle(DeepBlue);
  }
}

void TsuiCustomGroupBox::FontChanged() {
  Realign();
  Invalidate();
}

void TsuiCustomGroupBox::AdjustClientRect(graphics::TRect& rect) const {
  rect = GroupBoxAlignArea(rect, Font().Height);
}

void TsuiCustomGroupBox::Paint() {
  framework::TCanvas& canvas = Canvas();
  const graphics::TRect client = ClientRect();
  if (Transparent()) {
    PaintParentBackground(canvas, BackgroundSource(this));
  } else {
    canvas.Brush.Style = graphics::TBrushStyle::Solid;
    canvas.Brush.Color = Color();
    canvas.FillRect(client);
  }
  canvas.Font = Font();
  const int caption_width = caption_.empty() ? 0 : canvas.TextWidth(caption_);
  const bool rtl = UseRightToLeftLayout();
  const std::vector<graphics::TPoint> path =
      GroupBoxFramePath(client, Font().Height, caption_width, !caption_.empty(), rtl);
  canvas.Pen.Color = border_color_;
  canvas.MoveTo(path[0].X, path[0].Y);
  for (std::size_t i = 1; i < path.size(); ++i) canvas.LineTo(path[i].X, path[i].Y);
  if (caption_.empty()) return;
  canvas.Brush.Style = graphics::TBrushStyle::Clear;
  if (!Enabled()) canvas.Font.Color = graphics::clGray;
  const graphics::TPoint at = GroupBoxCaptionOrigin(Width(), caption_width, rtl);
  canvas.TextOut(at.X, at.Y, caption_);
}

}  // namespace skin
