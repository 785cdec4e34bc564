#pragma once
// The two kinds of self-drawn control. A TCustomControl has a window and
// paints itself through Paint() on a canvas over an off-screen buffer the
// size of its client area, which the toolkit then copies to the screen in
// one step (so it never flickers). A TGraphicControl has no window: its
// parent paints it, over the parent's own pixels.
#include "framework/controls/win_control.h"

namespace framework {

class TCustomControl : public TWinControl {
public:
  explicit TCustomControl(TComponent* owner);

  const TClassInfo& ClassInfo() const override;
  static const TClassInfo& StaticClassInfo();

protected:
  // Paints the control; the canvas is valid only during the call. Before it
  // is called the buffer holds the control's colour.
  virtual void Paint() {}
  TCanvas& Canvas();

  void PaintBuffer(TCanvas& canvas) override;

private:
  TCanvas* canvas_ = nullptr;  // not owned: the buffer's canvas during a paint
};

class TGraphicControl : public TControl {
public:
  explicit TGraphicControl(TComponent* owner);

  const TClassInfo& ClassInfo() const override;
  static const TClassInfo& StaticClassInfo();

  void PaintTo(TCanvas& canvas) override;

protected:
  virtual void Paint() {}
  TCanvas& Canvas();

private:
  TCanvas* canvas_ = nullptr;  // not owned: valid during PaintTo
};

}  // namespace framework
