#include <algorithm>

#include "framework/controls/keyboard.h"
#include "framework/graphics/text_renderer.h"
#include "skin/skin_window.h"
#include "skin/sui_check_box.h"
#include "skin/sui_check_rules.h"
#include "skin/sui_file_theme.h"
#include "skin/sui_radio_group.h"
#include "skin/sui_skin_items.h"
#include "skin/sui_style_rules.h"

#include "base/win_api.h"

namespace skin {

namespace dt = graphics::dt;
using framework::TComponent;
using framework::TMessage;

// ---------------------------------------------------------------------------
// TsuiCheckBox

TsuiCheckBox::TsuiCheckBox(TComponent* owner) : framework::TCustomControl(owner) {
  SetBounds(0, 0, 93, 17);
  SetTabStop(true);
  SetControlStyle(ControlStyle() & ~(framework::csAcceptsControls | framework::csDoubleClicks));
  ui_style_ = GetOwnerUIStyle(owner);
}

void TsuiCheckBox::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  Invalidate();
  Changed();
}

void TsuiCheckBox::SetUIStyle(TsuiUIStyle style) {
  ui_style_ = style;
  Invalidate();
}

void TsuiCheckBox::SetFileTheme(TComponent* theme) {
  file_theme_.Set(theme);
  SetUIStyle(ui_style_);
}

void TsuiCheckBox::Notification(TComponent* component, framework::TOperation operation) {
  framework::TCustomControl::Notification(component, operation);
  if (file_theme_.Released(component, operation)) SetUIStyle(DeepBlue);
}

void TsuiCheckBox::SetTransparent(bool v) {
  transparent_ = v;
  Invalidate();
}

void TsuiCheckBox::SetAutoSize(bool v) {
  auto_size_ = v;
  if (v) {
    graphics::TBitmap mark;
    try {
      GetMark(mark);
    } catch (const std::exception&) {
      mark = graphics::TBitmap();  // sized for the caption alone
    }
    ApplyAutoSize(mark);
  }
  Invalidate();
}

void TsuiCheckBox::SetEnabled(bool enabled) {
  framework::TCustomControl::SetEnabled(enabled);
  Invalidate();
}

void TsuiCheckBox::FontChanged() {
  if (auto_size_) SetAutoSize(true);
  Invalidate();
}

void TsuiCheckBox::TextChanged() {
  if (auto_size_) SetAutoSize(true);
  Invalidate();
}

bool TsuiCheckBox::IsFocusShown() const { return TabStop() && Focused(); }
int TsuiCheckBox::GetBuiltInMarkEntry() const { return kCheckMarkEntry; }
int TsuiCheckBox::GetFileMarkItem() const { return skin_item::kCheckBox; }

void TsuiCheckBox::FireClick() {
  if (!IsLoading() && OnClick) OnClick(this);
}

void TsuiCheckBox::Changed() { FireClick(); }

void TsuiCheckBox::Toggle() {
  BeforeToggle();
  SetChecked(!checked_);
}

void TsuiCheckBox::Click() { Toggle(); }

void TsuiCheckBox::GetMark(graphics::TBitmap& mark) const {
  TsuiUIStyle theme;
  const TsuiFileTheme* file_theme = AsFileTheme(file_theme_.get());
  const bool from_file = UsingFileTheme(file_theme, ui_style_, theme);
  const TMarkFrame f = ChooseMarkFrame(GetBuiltInMarkEntry(), from_file, checked_, Enabled());
  if (from_file) file_theme->CopyPicture(GetFileMarkItem(), mark, f.count, f.frame);
  else GetBuiltInBitmap(theme, GetBuiltInMarkEntry(), &mark, f.frame, 4);
  // Radio marks are round: their corners show the mark's bottom-left colour.
  mark.SetTransparent(GetMarkTransparent());
  mark.ResetTransparentColor();
}

void TsuiCheckBox::ApplyAutoSize(const graphics::TBitmap& mark) {
  graphics::TBitmap scratch(1, 1);
  framework::TCanvas measure(scratch);
  measure.Font = Font();
  const graphics::TSize size = CheckBoxAutoSize({mark.Width(), mark.Height()},
                                                measure.TextHeight("W"),
                                                measure.TextWidth(Caption()));
  if (size.cx != Width() || size.cy != Height()) SetBounds(Left(), Top(), size.cx, size.cy);
}

void TsuiCheckBox::Paint() {
  framework::TCanvas& buffer = Canvas();
  graphics::TBitmap mark;
  try {
    GetMark(mark);
  } catch (const std::exception&) {
    mark = graphics::TBitmap();  // a missing picture leaves the box without a mark
  }
  buffer.Font = Font();
  if (auto_size_) ApplyAutoSize(mark);

  const graphics::TRect client = ClientRect();
  if (!transparent_) {
    buffer.Brush.Style = graphics::TBrushStyle::Solid;
    buffer.Brush.Color = Color();
    buffer.FillRect(client);
  } else {
    PaintParentBackground(buffer, BackgroundSource(this));
  }
  buffer.Brush.Style = graphics::TBrushStyle::Clear;
  const int letter = buffer.TextHeight("W");
  const bool rtl = UseRightToLeftLayout();
  const TCheckBoxLayout layout = LayoutCheckBox({client.Width(), client.Height()},
                                                {mark.Width(), mark.Height()}, letter, rtl);
  if (!mark.Empty()) buffer.Draw(layout.mark.X, layout.mark.Y, mark);
  graphics::TRect caption = layout.caption;
  buffer.DrawText(Caption(), caption, dt::SingleLine | (rtl ? dt::Right : dt::Left));
  if (IsFocusShown()) {
    buffer.Brush.Style = graphics::TBrushStyle::Solid;
    buffer.DrawFocusRect(layout.focus);
  }
}

void TsuiCheckBox::TakeFocusQuietly() {
  if (!CanFocus()) return;
  try {
    SetFocus();
  } catch (const std::exception&) {
    // A box that cannot take the focus still takes the click.
  }
}

void TsuiCheckBox::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      framework::TCustomControl::WndProc(m);
      if (Enabled() && Visible()) TakeFocusQuietly();
      return;
    case WM_KEYUP:
      framework::TCustomControl::WndProc(m);
      if (ClickOnKeyUp() && (m.WParam == VK_SPACE || m.WParam == VK_RETURN) && Focused() &&
          Enabled()) {
        Repaint();
        Click();
      }
      return;
    case framework::CM_DIALOGCHAR:
      framework::TCustomControl::WndProc(m);
      if (framework::IsAccelerator(m.WParam, Caption()) && Enabled() && Visible() && Parent() &&
          Parent()->Enabled()) {
        TakeFocusQuietly();
        Click();
        m.Result = 1;
      } else {
        m.Result = 0;
      }
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      framework::TCustomControl::WndProc(m);
      Invalidate();
      return;
    case framework::CM_FOCUSCHANGED:
      Invalidate();
      return;  // every control hears of it: never mark it handled
    default:
      framework::TCustomControl::WndProc(m);
  }
}

// ---------------------------------------------------------------------------
// TsuiRadioButton

TsuiRadioButton::TsuiRadioButton(TComponent* owner) : TsuiCheckBox(owner) {
  // A quick second press on a radio button is a double click, not a click.
  SetControlStyle(ControlStyle() | framework::csDoubleClicks);
}

int TsuiRadioButton::GetBuiltInMarkEntry() const { return kRadioMarkEntry; }
int TsuiRadioButton::GetFileMarkItem() const { return skin_item::kRadioButton; }

void TsuiRadioButton::UncheckSiblings() {
  framework::TWinControl* parent = Parent();
  if (!parent) return;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    auto* other = dynamic_cast<TsuiRadioButton*>(parent->Controls(i));
    if (other && other != this && other->GroupIndex() == group_index_) other->SetChecked(false);
  }
}

void TsuiRadioButton::Changed() {
  if (!Checked()) return;
  UncheckSiblings();
  FireClick();
}

void TsuiRadioButton::Toggle() {
  if (!Checked()) SetChecked(true);
}

void TsuiRadioButton::WndProc(TMessage& m) {
  TsuiCheckBox::WndProc(m);
  if (m.Msg != WM_SETFOCUS) return;
  // Focus moving from one item of a radio group to another selects the new
  // one; focus coming from anywhere else does not.
  framework::TWinControl* from = framework::TWinControl::FromHandle(reinterpret_cast<HWND>(m.WParam));
  if (from && from != this && from->ClassInfo().ClassName() == "TsuiRadioGroupButton") Click();
}

// ---------------------------------------------------------------------------
// Item buttons

TsuiCheckGroupButton::TsuiCheckGroupButton(TComponent* owner, TsuiCheckGroup* group)
    : TsuiCheckBox(owner), group_(group) {}

TsuiRadioGroupButton::TsuiRadioGroupButton(TComponent* owner, TsuiCheckGroup* group)
    : TsuiRadioButton(owner), group_(group) {}

bool TsuiRadioGroupButton::IsFocusShown() const {
  return Checked() && (Focused() || (group_ && group_->Focused()));
}

void TsuiRadioGroupButton::Toggle() {
  auto* radio_group = dynamic_cast<TsuiRadioGroup*>(Parent());
  if (!radio_group || radio_group->CanModify()) TsuiRadioButton::Toggle();
}

}  // namespace skin
