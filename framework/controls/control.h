#pragma once
// TControl: anything that sits on a form and has bounds, visibility, a font
// and mouse input. Non-windowed controls (labels, images, link labels) are
// TControls painted and fed input by their parent window; windowed ones
// derive from TWinControl.
//
// Event conventions, for the whole toolkit: events are std::function
// members named On<Event>, called with the control as sender after the
// control's own handling (a control's virtual handler, such as MouseDown,
// fires the event at its end). Setting an event replaces it. A control
// never calls an event while it is being loaded from a layout.
#include <cstdint>
#include <string>

#include "framework/controls/control_font.h"
#include "framework/controls/messages.h"
#include "framework/core/align_rules.h"
#include "framework/core/component.h"
#include "framework/core/component_ref.h"
#include "framework/core/events.h"
#include "framework/graphics/canvas.h"
#include "framework/graphics/font.h"
#include "framework/graphics/geometry.h"

namespace framework {

using graphics::TCanvas;
using graphics::TColor;
using graphics::TPoint;
using graphics::TRect;

class TWinControl;
class TCustomForm;
class TPopupMenu;

// What a control class is (ControlStyle) and what an instance is doing now
// (ControlState).
enum TControlStyleFlag : std::uint32_t {
  csAcceptsControls = 1u << 0,  // other controls may be placed on it
  csCaptureMouse = 1u << 1,     // a press captures the mouse until release
  csClickEvents = 1u << 2,      // a press and release over it is a click
  csDoubleClicks = 1u << 3,     // double clicks arrive as such, not as two clicks
  csOpaque = 1u << 4,           // paints every pixel: the parent need not paint under it
  csSetCaption = 1u << 5,       // its caption starts as its name
};
enum TControlStateFlag : std::uint32_t {
  csLButtonDown = 1u << 0,  // a left press started over the control and has not ended
  csClicked = 1u << 1,      // that press may still become a click
  csFocusing = 1u << 2,
};

// Reading order and alignment. Only bdRightToLeft mirrors a control's
// layout, and only on a system that supports right-to-left locales
// (UseRightToLeftLayout); the other right-to-left modes concern the reading
// order of the text alone.
enum class TBiDiMode : std::uint8_t {
  bdLeftToRight,
  bdRightToLeft,
  bdRightToLeftNoAlign,
  bdRightToLeftReadingOnly
};

// True when the system lays out right-to-left locales (Windows: Middle East
// support enabled). Tests may pretend either way.
bool SystemUsesRightToLeftLocale();
void SetRightToLeftLocaleOverride(int value);  // -1: ask the system; 0 or 1: pretend
bool NativeRightToLeftLocale();                // what the system says (locale_win.cpp)

// Cursor identifiers as the toolkit names them (crHandPoint is -21).
using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crHandPoint = -21;

class TControl : public TComponent {
public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  const TClassInfo& ClassInfo() const override;
  static const TClassInfo& StaticClassInfo();

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  // The form the control is on (its top-most parent when that is a form).
  TCustomForm* ParentForm() const;

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const { return graphics::Bounds(left_, top_, width_, height_); }
  virtual TRect ClientRect() const { return {0, 0, width_, height_}; }
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  // Visible here and in every parent up to the form.
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);

  // The control's text; Caption is the same text under the name labels and
  // buttons use.
  const std::string& Text() const { return text_; }
  virtual void SetText(const std::string& text);
  const std::string& Caption() const { return text_; }
  void SetCaption(const std::string& text) { SetText(text); }

  // The font; ParentFont makes it follow the parent's until it is set.
  const graphics::TFont& Font() const { return font_; }
  void SetFont(const graphics::TFont& font);
  // The font as a published sub-object (for "Font.Name" and the like).
  TControlFont* FontObject() const { return &font_object_; }
  bool ParentFont() const { return parent_font_; }
  void SetParentFont(bool v);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  bool ParentColor() const { return parent_color_; }
  void SetParentColor(bool v);

  // BiDiMode; ParentBiDiMode makes it follow the parent's until it is set.
  TBiDiMode BiDiMode() const { return bidi_mode_; }
  void SetBiDiMode(TBiDiMode mode);
  bool ParentBiDiMode() const { return parent_bidi_mode_; }
  void SetParentBiDiMode(bool v);
  // BiDiMode is bdRightToLeft and the system lays right-to-left locales out.
  bool UseRightToLeftLayout() const;

  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);

  // Opened at the pointer when the right button is released over the
  // control (not owned; cleared when it goes).
  TPopupMenu* PopupMenu() const { return popup_menu_.get(); }
  void SetPopupMenu(TPopupMenu* menu);

  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor) { cursor_ = cursor; }
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint) { hint_ = hint; }
  bool ShowHint() const { return show_hint_; }
  void SetShowHint(bool v) { show_hint_ = v; }

  std::uint32_t ControlStyle() const { return control_style_; }
  void SetControlStyle(std::uint32_t style) { control_style_ = style; }
  std::uint32_t ControlState() const { return control_state_; }

  // Sends a message to the control's WndProc, now, and returns its result.
  std::intptr_t Perform(std::uint32_t msg, std::uintptr_t wparam = 0, std::intptr_t lparam = 0);
  // The control's message handling. Overrides handle what they need and
  // pass the rest on to the inherited WndProc.
  virtual void WndProc(TMessage& message);
  // What happens to a message nobody handled: nothing for a non-windowed
  // control, the window's default procedure for a windowed one.
  virtual void DefaultHandler(TMessage& message);

  // Marks the control for repainting; Repaint paints it now.
  virtual void Invalidate();
  virtual void Repaint();

  // Simulates a click: fires OnClick.
  virtual void Click();
  // A second press soon after a click, on a control with csDoubleClicks:
  // fires OnDblClick (the press is no click).
  virtual void DblClick();

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;

  // Non-windowed controls: the parent paints them by calling this with a
  // canvas whose origin is the control's top-left corner and whose pixels
  // already show the parent under the control.
  virtual void PaintTo(TCanvas& canvas) { (void)canvas; }
  // False for windowed controls, which paint themselves.
  virtual bool IsWindowed() const { return false; }

protected:
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  // Called with CM_MOUSEENTER / CM_MOUSELEAVE by default.
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}
  // Calls after a property change, for subclasses; they repaint by default.
  virtual void FontChanged() { Invalidate(); }
  virtual void ColorChanged() { Invalidate(); }
  virtual void TextChanged() { Invalidate(); }
  virtual void EnabledChanged() { Invalidate(); }
  virtual void VisibleChanged();
  virtual void BiDiModeChanged() { Invalidate(); }
  // The bounds were set; windowed controls move their window.
  virtual void BoundsChanged(const TRect& old_bounds);

  void Notification(TComponent* component, TOperation operation) override;

  std::uint32_t control_state_ = 0;

private:
  friend class TWinControl;
  void MouseButtonMessage(TMessage& m, TMouseButton button, bool down);
  // Pops menu up at the control's client point (win_control_win.cpp).
  void OpenPopupMenu(TPopupMenu& menu, int x, int y);
  // Parent font or colour changed: follow it when ParentFont/ParentColor.
  void ParentFontChanged();
  void ParentColorChanged();
  void ParentBiDiModeChanged();

  TWinControl* parent_ = nullptr;  // not owned: the parent lists this control
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  std::string text_;
  graphics::TFont font_;
  mutable TControlFont font_object_{*this};
  bool parent_font_ = true;
  TColor color_ = graphics::clBtnFace;
  bool parent_color_ = true;
  TBiDiMode bidi_mode_ = TBiDiMode::bdLeftToRight;
  bool parent_bidi_mode_ = true;
  TAlign align_ = TAlign::alNone;
  TComponentRef<TPopupMenu> popup_menu_{*this};
  TCursor cursor_ = crDefault;
  std::string hint_;
  bool show_hint_ = false;
  std::uint32_t control_style_ = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
};

// Message parameter helpers for mouse messages (client coordinates packed as
// two signed 16-bit values, as Windows packs them).
inline int MessageX(const TMessage& m) { return static_cast<std::int16_t>(m.LParam & 0xFFFF); }
inline int MessageY(const TMessage& m) {
  return static_cast<std::int16_t>((m.LParam >> 16) & 0xFFFF);
}
inline std::intptr_t PackPoint(int x, int y) {
  return static_cast<std::intptr_t>((static_cast<std::uint32_t>(static_cast<std::uint16_t>(y)) << 16) |
                                    static_cast<std::uint16_t>(x));
}
TShiftState ShiftFromMouseKeys(std::uintptr_t wparam);

}  // namespace framework
