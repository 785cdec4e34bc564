#pragma once
// TCheckBox: a check box with its caption, the system's BUTTON window
// (BS_AUTOCHECKBOX). OnClick fires whenever Checked changes: clicked,
// toggled with Space, or set in code (not while loading). It takes its
// parent's colour unless given one.
#include "framework/controls/native_control.h"

namespace framework {

class TCheckBox : public TNativeControl {
public:
  explicit TCheckBox(TComponent* owner);

  const TClassInfo& ClassInfo() const override;
  static const TClassInfo& StaticClassInfo();

  bool Checked() const;
  void SetChecked(bool v);

  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

private:
  bool checked_ = false;  // the window's state when it has none; kept in step
};

}  // namespace framework
