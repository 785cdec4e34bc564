#pragma once
// TNativeControl: the base of controls that are a window class of the
// system (EDIT, BUTTON, msctls_progress32) subclassed by the toolkit. It
// hands the window the control's font, answers the window's colour
// questions with the control's Color and Font.Color, and leaves mouse
// capture and clicks to the window itself: a native control reports its
// own clicks through WM_COMMAND, which its parent reflects back to it as
// CN_COMMAND.
#include "framework/controls/win_control.h"

namespace framework {

class TNativeControl : public TWinControl {
public:
  explicit TNativeControl(TComponent* owner);

  const TClassInfo& ClassInfo() const override;
  static const TClassInfo& StaticClassInfo();

  void WndProc(TMessage& message) override;

protected:
  void CreateWnd() override;
  void FontChanged() override;
  void ColorChanged() override;
  // The window shows its own text; nothing to repaint here.
  void TextChanged() override {}
};

}  // namespace framework
