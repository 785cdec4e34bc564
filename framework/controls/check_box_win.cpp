#include "framework/controls/check_box.h"

#include "base/win_api.h"

namespace framework {

TCheckBox::TCheckBox(TComponent* owner) : TNativeControl(owner) {
  SetBounds(0, 0, 97, 17);
  SetTabStop(true);
  SetParentColor(true);
}

const TClassInfo& TCheckBox::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TCheckBox::StaticClassInfo() {
  static const TClassInfo& info = TClassInfo::Define<TCheckBox, TNativeControl>("TCheckBox")
                                      .Factory()
                                      .Prop("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked)
                                      .Done();
  return info;
}

void TCheckBox::CreateParams(TCreateParams& params) {
  TNativeControl::CreateParams(params);
  params.window_class = L"BUTTON";
  params.style |= BS_AUTOCHECKBOX;
}

void TCheckBox::CreateWnd() {
  TNativeControl::CreateWnd();
  SendMessageW(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TCheckBox::Checked() const {
  if (!HandleAllocated()) return checked_;
  return SendMessageW(const_cast<TCheckBox*>(this)->Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCheckBox::SetChecked(bool v) {
  if (v == Checked()) return;
  checked_ = v;
  if (HandleAllocated()) SendMessageW(Handle(), BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!IsLoading()) Click();
}

void TCheckBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
    // The window has toggled itself already.
    checked_ = Checked();
    Click();
    return;
  }
  TNativeControl::WndProc(m);
}

}  // namespace framework
