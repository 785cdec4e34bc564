#pragma once
// TButton: a push button, the system's BUTTON window. A click (mouse,
// Space, its accelerator, Enter when it is the default, Esc when it is the
// cancel button) copies ModalResult to the form and fires OnClick.
//
// Enter belongs to the focused button when a TButton has the focus, else
// to the Default button; the button that Enter would press is drawn as the
// default one.
#include "framework/controls/native_control.h"

namespace framework {

class TButton : public TNativeControl {
public:
  explicit TButton(TComponent* owner);

  const TClassInfo& ClassInfo() const override;
  static const TClassInfo& StaticClassInfo();

  bool Default() const { return default_; }
  void SetDefault(bool v);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v) { cancel_ = v; }
  // Given to the parent form at every click (mrNone included).
  int ModalResult() const { return modal_result_; }
  void SetModalResult(int v) { modal_result_ = v; }
  // Whether Enter presses this button now.
  bool ActiveDefault() const { return active_default_; }

  void Click() override;
  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;

private:
  // focused: the control that has the focus now (or null).
  void UpdateActiveDefault(TWinControl* focused);

  bool default_ = false;
  bool cancel_ = false;
  bool active_default_ = false;
  int modal_result_ = 0;
};

}  // namespace framework
