// The tool bar and its buttons: layout, hot tracking, drawing with the
// owner's hooks, and a bound menu item's menu opened below its button.
#include "framework/controls/tool_bar.h"

#include <algorithm>

#include "framework/controls/keyboard.h"
#include "framework/controls/menu_native.h"
#include "framework/core/tool_bar_rules.h"
#include "framework/graphics/text_renderer.h"

#include "base/win_api.h"

namespace framework {

// ---------------------------------------------------------------------------
// TToolButton

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 23, 22);
}

TToolBar* TToolButton::ToolBar() const { return dynamic_cast<TToolBar*>(Parent()); }

void TToolButton::SetParent(TWinControl* parent) {
  TToolBar* old_bar = ToolBar();
  TGraphicControl::SetParent(parent);
  if (old_bar) old_bar->ArrangeButtons();
  if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
}

void TToolButton::SetAutoSize(bool v) {
  auto_size_ = v;
  Changed();
}

void TToolButton::SetMenuItem(TMenuItem* item) {
  menu_item_.Set(item);
  UpdateFromMenuItem();
}

void TToolButton::UpdateFromMenuItem() {
  const TMenuItem* item = menu_item_.get();
  if (!item) return;
  SetEnabled(item->Enabled());
  SetVisible(item->Visible());
  SetCaption(item->Caption());
}

unsigned TToolButton::DrawFlags() const {
  unsigned flags = 0;
  if (!Enabled()) return tdDisabled;
  if (hot_) flags |= tdHot;
  if (pressed_) flags |= tdPressed;
  return flags;
}

void TToolButton::Click() {
  TMenuItem* item = menu_item_.get();
  TToolBar* bar = ToolBar();
  if (!item || !bar || !Enabled()) {
    TGraphicControl::Click();
    return;
  }
  bool has_menu = false;
  for (int i = 0; i < item->Count(); ++i) has_menu = has_menu || item->Items(i)->Visible();
  if (!has_menu) {
    item->Click();
    return;
  }
  POINT below{Left(), Top() + Height()};
  ClientToScreen(bar->Handle(), &below);
  if (bar->UseRightToLeftLayout()) {
    POINT right{Left() + Width(), 0};
    ClientToScreen(bar->Handle(), &right);
    below.x = right.x;
  }
  pressed_ = true;
  Invalidate();
  struct Release {
    TToolButton& button;
    ~Release() {
      button.pressed_ = false;
      button.hot_ = false;
      button.Invalidate();
    }
  } release{*this};
  PopupMenuItem(*item, below.x, below.y);
}

void TToolButton::Paint() {
  if (TToolBar* bar = ToolBar()) bar->DrawButton(*this, Canvas());
}

void TToolButton::MouseEnter() {
  hot_ = true;
  Invalidate();
}

void TToolButton::MouseLeave() {
  hot_ = false;
  Invalidate();
}

void TToolButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != TMouseButton::mbLeft || !Enabled()) return;
  // A menu opens on the press, as a menu bar's does.
  if (menu_item_.get() && menu_item_.get()->Count() > 0) {
    Click();
    return;
  }
  pressed_ = true;
  Invalidate();
}

void TToolButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (pressed_) {
    pressed_ = false;
    Invalidate();
  }
}

void TToolButton::TextChanged() { Changed(); }

void TToolButton::VisibleChanged() {
  TGraphicControl::VisibleChanged();
  Changed();
}

void TToolButton::EnabledChanged() {
  if (!Enabled()) hot_ = pressed_ = false;
  Invalidate();
}

void TToolButton::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  menu_item_.Released(component, operation);
}

void TToolButton::Changed() {
  if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
  Invalidate();
}

// ---------------------------------------------------------------------------
// TToolBar

TToolBar::TToolBar(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 150, 29);
  SetAlign(TAlign::alTop);
}

void TToolBar::SetFlat(bool v) {
  flat_ = v;
  Invalidate();
}

void TToolBar::SetShowCaptions(bool v) {
  show_captions_ = v;
  ArrangeButtons();
}

void TToolBar::SetWrapable(bool v) {
  wrapable_ = v;
  ArrangeButtons();
}

void TToolBar::SetAutoSize(bool v) {
  auto_size_ = v;
  ArrangeButtons();
}

void TToolBar::SetButtonHeight(int v) {
  button_height_ = std::max(v, 1);
  ArrangeButtons();
}

int TToolBar::ButtonCount() const {
  int count = 0;
  for (int i = 0; i < ControlCount(); ++i)
    if (dynamic_cast<TToolButton*>(Controls(i))) ++count;
  return count;
}

TToolButton* TToolBar::Buttons(int index) const {
  for (int i = 0; i < ControlCount(); ++i) {
    auto* button = dynamic_cast<TToolButton*>(Controls(i));
    if (button && index-- == 0) return button;
  }
  return nullptr;
}

int TToolBar::AutoWidth(const TToolButton& button) {
  graphics::TBitmap scratch(1, 1);
  graphics::TCanvas canvas(scratch);
  canvas.Font = button.Font();
  graphics::TRect r{0, 0, 0, 0};
  canvas.DrawText(show_captions_ ? button.Caption() : std::string(), r,
                  graphics::dt::CalcRect | graphics::dt::SingleLine);
  return ToolButtonWidthForText(r.Width());
}

void TToolBar::ArrangeButtons() {
  if (arranging_) return;
  arranging_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{arranging_};
  std::vector<TToolButton*> shown;
  std::vector<int> widths;
  for (int i = 0; i < ButtonCount(); ++i) {
    TToolButton* button = Buttons(i);
    if (!button->Visible()) continue;
    shown.push_back(button);
    widths.push_back(button->AutoSize() ? AutoWidth(*button) : button->Width());
  }
  const TToolBarLayout layout =
      ArrangeToolButtons(widths, ClientRect().Width(), button_height_, wrapable_,
                         UseRightToLeftLayout());
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const graphics::TRect& r = layout.buttons[i];
    shown[i]->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  }
  if (auto_size_) {
    const int height = std::max(layout.rows, 1) * button_height_;
    if (height != Height()) SetBounds(Left(), Top(), Width(), height);
  }
  Invalidate();
}

void TToolBar::UpdateMenuButtons() {
  for (int i = 0; i < ButtonCount(); ++i) Buttons(i)->UpdateFromMenuItem();
}

void TToolBar::Paint() {
  graphics::TCanvas& canvas = Canvas();
  const graphics::TRect client = ClientRect();
  if (OnCustomDraw) {
    OnCustomDraw(*this, canvas, client);
    return;
  }
  canvas.Brush.Style = graphics::TBrushStyle::Solid;
  canvas.Brush.Color = Color();
  canvas.FillRect(client);
}

void TToolBar::DrawButton(TToolButton& button, graphics::TCanvas& canvas) {
  const graphics::TRect rect{0, 0, button.Width(), button.Height()};
  const unsigned flags = button.DrawFlags();
  bool default_draw = true;
  if (OnCustomDrawButton) OnCustomDrawButton(*this, button, canvas, rect, flags, default_draw);
  if (!default_draw) return;
  if ((flags & (tdHot | tdPressed)) || !flat_) {
    // The system's look of a flat tool button: a thin raised frame when hot,
    // sunken when pressed.
    canvas.Brush.Style = graphics::TBrushStyle::Solid;
    canvas.Brush.Color = (flags & tdPressed) ? graphics::clBtnShadow : graphics::clBtnHighlight;
    canvas.FrameRect(rect);
  }
  if (!show_captions_) return;
  canvas.Font = button.Font();
  if (flags & tdDisabled) canvas.Font.Color = graphics::clGrayText;
  canvas.Brush.Style = graphics::TBrushStyle::Clear;
  graphics::TRect text = rect;
  canvas.DrawText(button.Caption(), text,
                  graphics::dt::Center | graphics::dt::VCenter | graphics::dt::SingleLine);
}

bool TToolBar::HandleDialogChar(TMessage& m) {
  const bool alt = GetKeyState(VK_MENU) < 0 || (m.LParam & (1 << 29));
  if (!WantsAccelerator(alt) || !Visible() || !Enabled()) return false;
  for (int i = 0; i < ButtonCount(); ++i) {
    TToolButton* button = Buttons(i);
    if (!button->Visible() || !button->Enabled()) continue;
    if (!IsAccelerator(m.WParam, button->Caption())) continue;
    button->Click();
    return true;
  }
  return false;
}

void TToolBar::WndProc(TMessage& m) {
  if (m.Msg == CM_DIALOGCHAR) {
    m.Result = HandleDialogChar(m) ? 1 : 0;
    return;
  }
  TCustomControl::WndProc(m);
}

void TToolBar::BoundsChanged(const graphics::TRect& old_bounds) {
  TCustomControl::BoundsChanged(old_bounds);
  if (old_bounds.Width() != Width()) ArrangeButtons();
}

void TToolBar::FontChanged() {
  TCustomControl::FontChanged();
  ArrangeButtons();
}

}  // namespace framework
