#pragma once
// TWinControl: a control with a window of its own. It owns the window
// (created on demand, destroyed with the control), holds the child
// controls placed on it, paints its non-windowed children, routes mouse
// input to them, and takes part in focus and keyboard navigation.
//
// Window procedures never let an exception through to the system: an
// error escaping a handler is reported by the application (see
// application.h) and the program goes on.
#include <functional>
#include <vector>

#include "framework/controls/control.h"

struct HWND__;
struct HDC__;

namespace framework {

// How a window is made: the class and styles CreateParams fills in.
struct TCreateParams {
  const wchar_t* window_class = nullptr;  // nullptr: the toolkit's own class
  std::uint32_t style = 0;
  std::uint32_t ex_style = 0;
  HWND__* parent_window = nullptr;
};

class TWinControl : public TControl {
public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  const TClassInfo& ClassInfo() const override;
  static const TClassInfo& StaticClassInfo();

  bool IsWindowed() const override { return true; }

  // The window, created (with those of the parents) when first asked for.
  HWND__* Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  // The control whose window that is, or null.
  static TWinControl* FromHandle(HWND__* window);

  // Children in z-order, bottom first.
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const { return controls_[static_cast<std::size_t>(index)]; }
  // The visible, enabled non-windowed child under a client point, or null.
  TControl* ControlAtPos(TPoint point) const;
  // Puts the control above its siblings.
  void BringToFront();
  // Sends message to every child, in order, until one sets a non-zero Result.
  void Broadcast(TMessage& message);

  bool TabStop() const { return tab_stop_; }
  void SetTabStop(bool v) { tab_stop_ = v; }
  int TabOrder() const;
  void SetTabOrder(int order);
  // Windowed children that take part in Tab navigation, in tab order.
  std::vector<TWinControl*> TabList() const;

  bool Focused() const;
  virtual bool CanFocus() const;
  // Gives the control the keyboard focus (and its form the active control).
  virtual void SetFocus();

  // Places the aligned children (see TAlign) in the alignment area. Runs by
  // itself when the control is resized and when a child comes, goes or
  // changes its alignment.
  void Realign();

  // Invalidates part of the client area; non-windowed children invalidate
  // their rectangle of their parent this way.
  void InvalidateRect(const TRect& rect);
  void Invalidate() override;
  void Repaint() override;
  void DefaultHandler(TMessage& message) override;
  void WndProc(TMessage& message) override;
  void SetText(const std::string& text) override;

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

protected:
  virtual void CreateParams(TCreateParams& params);
  // The area aligned children share; the client rectangle by default.
  virtual void AdjustClientRect(TRect& rect) const { (void)rect; }
  virtual void CreateWnd();
  virtual void DestroyWnd();
  // Paints the window into dc (a window DC, a buffer, or a DC that another
  // control passed along): PaintBuffer draws into an off-screen buffer of
  // the client size that holds the control's colour, which is then copied
  // to dc in one step.
  virtual void PaintWindow(HDC__* dc);
  // The default paints the non-windowed children.
  virtual void PaintBuffer(TCanvas& canvas) { PaintControls(canvas); }
  // Draws the non-windowed children into a canvas whose origin is this
  // control's client origin.
  void PaintControls(TCanvas& canvas);

  virtual void KeyDown(std::uint16_t& key, TShiftState shift);
  virtual void KeyUp(std::uint16_t& key, TShiftState shift);
  virtual void KeyPress(char& key);
  virtual void DoEnter();
  virtual void DoExit();

  void BoundsChanged(const TRect& old_bounds) override;
  void VisibleChanged() override;
  void EnabledChanged() override;

private:
  friend class TControl;
  friend struct WindowProcAccess;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  void UpdateMouseControl(int x, int y);
  void RouteMouseMessage(TMessage& message);
  // Sends the leave notifications when the pointer is no longer over the
  // window; re-arms leave tracking when it is.
  void MouseLeftCheck();

  HWND__* handle_ = nullptr;
  void* default_proc_ = nullptr;   // the native class's procedure, when subclassed
  std::vector<TControl*> controls_;  // not owned: the owner frees them
  bool tab_stop_ = false;
  bool aligning_ = false;
  bool tracking_leave_ = false;
  bool mouse_inside_ = false;
  TControl* mouse_control_ = nullptr;    // non-windowed child under the mouse, not owned
  TControl* capture_control_ = nullptr;  // non-windowed child that has the press, not owned
};

}  // namespace framework
