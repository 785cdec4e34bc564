#include "framework/controls/control.h"

#include <algorithm>

#include "framework/controls/form.h"
#include "framework/controls/menus.h"
#include "framework/controls/win_control.h"

namespace framework {

TShiftState ShiftFromMouseKeys(std::uintptr_t wparam) {
  // MK_LBUTTON 1, MK_RBUTTON 2, MK_SHIFT 4, MK_CONTROL 8, MK_MBUTTON 16.
  TShiftState s = 0;
  if (wparam & 0x01) s |= ssLeft;
  if (wparam & 0x02) s |= ssRight;
  if (wparam & 0x04) s |= ssShift;
  if (wparam & 0x08) s |= ssCtrl;
  if (wparam & 0x10) s |= ssMiddle;
  return s;
}

namespace {
int g_rtl_locale_override = -1;
}  // namespace

void SetRightToLeftLocaleOverride(int value) { g_rtl_locale_override = value; }

bool SystemUsesRightToLeftLocale() {
  return g_rtl_locale_override >= 0 ? g_rtl_locale_override != 0 : NativeRightToLeftLocale();
}

TControl::TControl(TComponent* owner) : TComponent(owner) {}

TControl::~TControl() {
  if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent == this) return;
  if (parent_) parent_->RemoveControl(this);
  if (parent) parent->InsertControl(this);
  if (parent_font_ && parent_) font_ = parent_->Font();
  if (parent_color_ && parent_) color_ = parent_->Color();
  if (parent_bidi_mode_ && parent_) bidi_mode_ = parent_->BiDiMode();
}

TCustomForm* TControl::ParentForm() const {
  const TControl* c = this;
  while (c->parent_) c = c->parent_;
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

void TControl::SetBounds(int left, int top, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  TRect old = BoundsRect();
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  BoundsChanged(old);
}

void TControl::BoundsChanged(const TRect& old_bounds) {
  if (!parent_ || !visible_) return;
  parent_->InvalidateRect(old_bounds);
  parent_->InvalidateRect(BoundsRect());
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->parent_)
    if (!c->visible_) return false;
  return true;
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  VisibleChanged();
}

void TControl::VisibleChanged() {
  if (parent_) parent_->InvalidateRect(BoundsRect());
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  EnabledChanged();
}

void TControl::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  TextChanged();
}

void TControl::SetFont(const graphics::TFont& font) {
  font_ = font;
  parent_font_ = false;
  FontChanged();
  if (auto* self = dynamic_cast<TWinControl*>(this))
    for (int i = 0; i < self->ControlCount(); ++i) self->Controls(i)->ParentFontChanged();
}

void TControl::SetParentFont(bool v) {
  parent_font_ = v;
  if (v && parent_) {
    font_ = parent_->Font();
    FontChanged();
  }
}

void TControl::ParentFontChanged() {
  if (!parent_font_ || !parent_) return;
  font_ = parent_->Font();
  FontChanged();
  if (auto* self = dynamic_cast<TWinControl*>(this))
    for (int i = 0; i < self->ControlCount(); ++i) self->Controls(i)->ParentFontChanged();
}

void TControl::SetColor(TColor color) {
  parent_color_ = false;
  if (color == color_) return;
  color_ = color;
  ColorChanged();
  if (auto* self = dynamic_cast<TWinControl*>(this))
    for (int i = 0; i < self->ControlCount(); ++i) self->Controls(i)->ParentColorChanged();
}

void TControl::SetParentColor(bool v) {
  parent_color_ = v;
  if (v && parent_) {
    color_ = parent_->Color();
    ColorChanged();
  }
}

void TControl::ParentColorChanged() {
  if (!parent_color_ || !parent_) return;
  color_ = parent_->Color();
  ColorChanged();
}

void TControl::SetBiDiMode(TBiDiMode mode) {
  parent_bidi_mode_ = false;
  if (mode == bidi_mode_) return;
  bidi_mode_ = mode;
  BiDiModeChanged();
  if (auto* self = dynamic_cast<TWinControl*>(this))
    for (int i = 0; i < self->ControlCount(); ++i) self->Controls(i)->ParentBiDiModeChanged();
}

void TControl::SetParentBiDiMode(bool v) {
  parent_bidi_mode_ = v;
  if (v && parent_ && parent_->BiDiMode() != bidi_mode_) {
    bidi_mode_ = parent_->BiDiMode();
    BiDiModeChanged();
  }
}

void TControl::ParentBiDiModeChanged() {
  if (!parent_bidi_mode_ || !parent_ || parent_->BiDiMode() == bidi_mode_) return;
  bidi_mode_ = parent_->BiDiMode();
  BiDiModeChanged();
  if (auto* self = dynamic_cast<TWinControl*>(this))
    for (int i = 0; i < self->ControlCount(); ++i) self->Controls(i)->ParentBiDiModeChanged();
}

bool TControl::UseRightToLeftLayout() const {
  return bidi_mode_ == TBiDiMode::bdRightToLeft && SystemUsesRightToLeftLocale();
}

void TControl::SetAlign(TAlign align) {
  if (align == align_) return;
  align_ = align;
  if (parent_) parent_->Realign();
}

std::intptr_t TControl::Perform(std::uint32_t msg, std::uintptr_t wparam, std::intptr_t lparam) {
  TMessage m{msg, wparam, lparam, 0};
  WndProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN_:
      MouseButtonMessage(m, TMouseButton::mbLeft, true);
      return;
    case WM_LBUTTONDBLCLK_:
      // Controls without csDoubleClicks see the second press of a double
      // click as one more press, which makes one more click.
      if (control_style_ & csDoubleClicks) {
        control_state_ = (control_state_ | csLButtonDown) & ~csClicked;
        DblClick();
        MouseDown(TMouseButton::mbLeft, ShiftFromMouseKeys(m.WParam) | ssDouble, MessageX(m),
                  MessageY(m));
        return;
      }
      MouseButtonMessage(m, TMouseButton::mbLeft, true);
      return;
    case WM_LBUTTONUP_:
      MouseButtonMessage(m, TMouseButton::mbLeft, false);
      return;
    case WM_RBUTTONDOWN_:
      MouseButtonMessage(m, TMouseButton::mbRight, true);
      return;
    case WM_RBUTTONUP_:
      MouseButtonMessage(m, TMouseButton::mbRight, false);
      return;
    case WM_MBUTTONDOWN_:
      MouseButtonMessage(m, TMouseButton::mbMiddle, true);
      return;
    case WM_MBUTTONUP_:
      MouseButtonMessage(m, TMouseButton::mbMiddle, false);
      return;
    case WM_MOUSEMOVE_:
      MouseMove(ShiftFromMouseKeys(m.WParam), MessageX(m), MessageY(m));
      return;
    case CM_MOUSEENTER:
      MouseEnter();
      return;
    case CM_MOUSELEAVE:
      MouseLeave();
      return;
    case CM_CANCELMODE:
      control_state_ &= ~(csLButtonDown | csClicked);
      return;
    default:
      DefaultHandler(m);
  }
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::MouseButtonMessage(TMessage& m, TMouseButton button, bool down) {
  const int x = MessageX(m);
  const int y = MessageY(m);
  const TShiftState shift = ShiftFromMouseKeys(m.WParam);
  if (down) {
    if (button == TMouseButton::mbLeft) {
      control_state_ |= csLButtonDown;
      if (control_style_ & csClickEvents) control_state_ |= csClicked;
    }
    MouseDown(button, shift, x, y);
    return;
  }
  if (button == TMouseButton::mbLeft) {
    // A click is a press and a release over the control; releasing outside
    // it cancels the click.
    const bool clicked = (control_state_ & csClicked) && ClientRect().Contains({x, y});
    control_state_ &= ~(csLButtonDown | csClicked);
    if (clicked) Click();
  }
  MouseUp(button, shift, x, y);
  if (button == TMouseButton::mbRight && popup_menu_.get() && ClientRect().Contains({x, y}))
    OpenPopupMenu(*popup_menu_.get(), x, y);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::Invalidate() {
  if (parent_ && Showing()) parent_->InvalidateRect(BoundsRect());
}

void TControl::Repaint() {
  Invalidate();
  if (parent_) parent_->Repaint();
}

void TControl::SetPopupMenu(TPopupMenu* menu) { popup_menu_.Set(menu); }

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  popup_menu_.Released(component, operation);
}

}  // namespace framework
