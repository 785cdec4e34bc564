#include "framework/controls/button.h"
#include "framework/controls/keyboard.h"

#include "framework/controls/form.h"

#include "base/win_api.h"

namespace framework {

TButton::TButton(TComponent* owner) : TNativeControl(owner) {
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
}

const TClassInfo& TButton::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TButton::StaticClassInfo() {
  static const TClassInfo& info = TClassInfo::Define<TButton, TNativeControl>("TButton")
                                      .Factory()
                                      .Prop("Default", &TButton::Default, &TButton::SetDefault)
                                      .Prop("Cancel", &TButton::Cancel, &TButton::SetCancel)
                                      .Prop("ModalResult", &TButton::ModalResult,
                                            &TButton::SetModalResult)
                                      .Done();
  return info;
}

void TButton::CreateParams(TCreateParams& params) {
  TNativeControl::CreateParams(params);
  params.window_class = L"BUTTON";
  TCustomForm* form = ParentForm();
  UpdateActiveDefault(form ? form->ActiveControl() : nullptr);
  params.style |= active_default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool v) {
  default_ = v;
  TCustomForm* form = ParentForm();
  UpdateActiveDefault(form ? form->ActiveControl() : nullptr);
}

void TButton::UpdateActiveDefault(TWinControl* focused) {
  active_default_ = dynamic_cast<TButton*>(focused) ? focused == this : default_;
  if (HandleAllocated()) {
    SendMessageW(Handle(), BM_SETSTYLE, active_default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON,
                 TRUE);
  }
}

void TButton::Click() {
  if (TCustomForm* form = ParentForm()) form->SetModalResult(modal_result_);
  TNativeControl::Click();
}

void TButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == BN_CLICKED) {
        Click();
        return;
      }
      break;
    case CM_FOCUSCHANGED:
      UpdateActiveDefault(reinterpret_cast<TWinControl*>(m.LParam));
      return;  // every control hears of it: never marked handled
    case CM_DIALOGKEY:
      if (((m.WParam == VK_RETURN && active_default_) || (m.WParam == VK_ESCAPE && cancel_)) &&
          !ModifierHeld() && CanFocus()) {
        Click();
        m.Result = 1;
        return;
      }
      break;
    case CM_DIALOGCHAR:
      if (IsAccelerator(m.WParam, Caption()) && CanFocus()) {
        Click();
        m.Result = 1;
        return;
      }
      break;
    default:
      break;
  }
  TNativeControl::WndProc(m);
}

}  // namespace framework
