#include "framework/controls/edit.h"

#include <algorithm>

#include "base/text_codec.h"

#include "base/win_api.h"

namespace framework {

TEdit::TEdit(TComponent* owner) : TNativeControl(owner) {
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
  SetColor(graphics::clWindow);
}

const TClassInfo& TEdit::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TEdit::StaticClassInfo() {
  static const TClassInfo& info =
      TClassInfo::Define<TEdit, TNativeControl>("TEdit")
          .Factory()
          .Prop("Text", &TEdit::Text, &TEdit::SetText)
          .Prop("MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength)
          .Prop("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly)
          .Event("OnChange", &TEdit::OnChange)
          .Done();
  return info;
}

void TEdit::CreateParams(TCreateParams& params) {
  TNativeControl::CreateParams(params);
  params.window_class = L"EDIT";
  params.style |= ES_AUTOHSCROLL;
  if (read_only_) params.style |= ES_READONLY;
  params.ex_style |= WS_EX_CLIENTEDGE;
}

void TEdit::CreateWnd() {
  TNativeControl::CreateWnd();
  // UTF-16 units never outnumber GBK bytes: the window's own limit only
  // stops typing early, Change() holds the exact one.
  SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(max_length_), 0);
}

std::wstring TEdit::WideWindowText() const {
  HWND hwnd = const_cast<TEdit*>(this)->Handle();
  const auto length = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
  std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
  const auto copied =
      SendMessageW(hwnd, WM_GETTEXT, wide.size(), reinterpret_cast<LPARAM>(wide.data()));
  wide.resize(static_cast<std::size_t>(std::max<LRESULT>(copied, 0)));
  return wide;
}

std::string TEdit::Text() const {
  return HandleAllocated() ? base::WideToGbkLossy(WideWindowText()) : TControl::Text();
}

std::wstring TEdit::WideText() const {
  return HandleAllocated() ? WideWindowText() : base::GbkToWide(TControl::Text());
}

void TEdit::SetText(const std::string& text) {
  if (!HandleAllocated()) {
    TControl::SetText(text);
    return;
  }
  if (base::GbkToWide(text) == WideWindowText()) return;
  // The window answers with EN_CHANGE, and Change() takes the text over.
  setting_text_ = true;
  SetWindowTextW(Handle(), base::GbkToWide(text).c_str());
  setting_text_ = false;
}

void TEdit::SetMaxLength(int bytes) {
  max_length_ = std::max(bytes, 0);
  if (HandleAllocated()) SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(max_length_), 0);
}

void TEdit::SetReadOnly(bool v) {
  read_only_ = v;
  if (HandleAllocated()) SendMessageW(Handle(), EM_SETREADONLY, v ? TRUE : FALSE, 0);
}

void TEdit::SelectAll() {
  if (HandleAllocated()) SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

void TEdit::Change() {
  const std::wstring now_wide = WideWindowText();
  const std::string now = base::WideToGbkLossy(now_wide);
  const std::string before = TControl::Text();
  if (now == before) return;
  const auto limit = static_cast<std::size_t>(max_length_);
  if (!setting_text_ && limit > 0 && now.size() > limit && now.size() > before.size()) {
    // Put the text back and the caret where the refused input began.
    DWORD caret = 0;
    SendMessageW(Handle(), EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    const std::wstring restored = base::GbkToWide(before);
    // In UTF-16 units; negative when fewer but wider characters replaced a
    // selection.
    const auto grown = static_cast<long long>(now_wide.size()) -
                       static_cast<long long>(restored.size());
    const auto at = static_cast<WPARAM>(std::max(static_cast<long long>(caret) - grown, 0LL));
    SetWindowTextW(Handle(), restored.c_str());  // back here, with nothing changed
    SendMessageW(Handle(), EM_SETSEL, at, static_cast<LPARAM>(at));
    MessageBeep(MB_OK);
    return;
  }
  TControl::SetText(now);
  if (!IsLoading() && OnChange) OnChange(this);
}

void TEdit::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == EN_CHANGE) {
    Change();
    return;
  }
  TNativeControl::WndProc(m);
}

}  // namespace framework
